#include "engine/pagefinder.h"

#include "engine/scriptworld.h"
#include "util/tracked.h"

#include <algorithm>
#include <memory>
#include <webkit2/webkit2.h>

PageFinder::PageFinder(std::function<WebKitWebView *()> view, std::function<void(int, int)> result)
    : m_view(std::move(view)), m_result(std::move(result))
{
}

PageFinder::~PageFinder()
{
    if (m_controller) {
        g_signal_handlers_disconnect_by_data(m_controller, this);
        g_object_unref(m_controller);
    }
}

WebKitFindController *PageFinder::controller()
{
    // A new view (after browsing data is deleted) has a controller of its own.
    WebKitFindController *current = webkit_web_view_get_find_controller(m_view());
    if (current == m_controller)
        return current;
    if (m_controller) {
        g_signal_handlers_disconnect_by_data(m_controller, this);
        g_object_unref(m_controller);
    }
    m_controller = WEBKIT_FIND_CONTROLLER(g_object_ref(current));
    g_signal_connect(m_controller, "found-text",
                     G_CALLBACK(+[](WebKitFindController *, guint count, PageFinder *self) { self->found(count); }), this);
    g_signal_connect(m_controller, "counted-matches",
                     G_CALLBACK(+[](WebKitFindController *, guint count, PageFinder *self) { self->counted(count); }),
                     this);
    g_signal_connect(m_controller, "failed-to-find-text",
                     G_CALLBACK(+[](WebKitFindController *, PageFinder *self) { self->notFound(); }), this);
    return current;
}

void PageFinder::find(const std::string &text, bool backward)
{
    WebKitFindController *find = controller();
    ++m_generation;
    if (text.empty()) {
        webkit_find_controller_search_finish(find);
        m_text.clear();
        return;
    }
    if (text == m_text && m_current > 0) {
        m_step = backward ? -1 : 1;
        backward ? webkit_find_controller_search_previous(find) : webkit_find_controller_search_next(find);
        return;
    }
    m_text = text;
    m_current = 0;
    m_total = -1;
    m_step = 0;
    // The engine searches on from what is selected: from the top, the first
    // match found is the first of all, and the count is the truth.
    struct Pending
    {
        Tracked<PageFinder> finder;
        unsigned generation;
        bool backward;
    };
    webkit_web_view_evaluate_javascript(
        m_view(), "getSelection().removeAllRanges()", -1, OurScriptWorld, nullptr, nullptr,
        [](GObject *, GAsyncResult *, gpointer data) {
            const std::unique_ptr<Pending> pending(static_cast<Pending *>(data));
            PageFinder *self = pending->finder.get();
            if (self && self->m_generation == pending->generation)
                self->search(pending->backward);
        },
        new Pending{Tracked<PageFinder>(*this), m_generation, backward});
}

void PageFinder::search(bool backward)
{
    m_step = backward ? -1 : 1;
    const guint options = WEBKIT_FIND_OPTIONS_CASE_INSENSITIVE | WEBKIT_FIND_OPTIONS_WRAP_AROUND
                          | (backward ? WEBKIT_FIND_OPTIONS_BACKWARDS : 0);
    webkit_find_controller_count_matches(controller(), m_text.c_str(), options, G_MAXUINT);
    webkit_find_controller_search(controller(), m_text.c_str(), options, G_MAXUINT);
}

void PageFinder::found(unsigned)
{
    // The engine tells that a match was found, not which: counted from the
    // first found, one step at a time.
    if (m_current == 0)
        m_current = m_step < 0 ? -1 : 1;
    else if (m_total > 0)
        m_current = (m_current - 1 + m_step + m_total) % m_total + 1;
    report();
}

void PageFinder::counted(unsigned count)
{
    m_total = int(count);
    if (m_total == 0)
        return notFound();
    report();
}

void PageFinder::report()
{
    if (m_total <= 0 || m_current == 0)
        return;
    // Searched backwards from the top, the first found is the last of all.
    if (m_current < 0)
        m_current = m_total;
    m_result(std::min(m_current, m_total), m_total);
}

void PageFinder::notFound()
{
    m_current = 0;
    m_result(0, 0);
}
