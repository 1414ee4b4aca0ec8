#include "engine/pagefinder.h"

#include <webkit2/webkit2.h>

PageFinder::PageFinder(std::function<WebKitWebView *()> view) : m_view(std::move(view)) {}

void PageFinder::find(const std::string &text, bool backward)
{
    WebKitFindController *find = webkit_web_view_get_find_controller(m_view());
    if (text.empty()) {
        webkit_find_controller_search_finish(find);
        m_text.clear();
        return;
    }
    if (text == m_text) {
        if (backward)
            webkit_find_controller_search_previous(find);
        else
            webkit_find_controller_search_next(find);
        return;
    }
    m_text = text;
    const guint options = WEBKIT_FIND_OPTIONS_CASE_INSENSITIVE | WEBKIT_FIND_OPTIONS_WRAP_AROUND
                          | (backward ? WEBKIT_FIND_OPTIONS_BACKWARDS : 0);
    webkit_find_controller_search(find, text.c_str(), options, G_MAXUINT);
}
