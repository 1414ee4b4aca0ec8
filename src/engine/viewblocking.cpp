#include "engine/viewblocking.h"

#include "engine/pagemessages.h"
#include "engine/contentblocking.h"
#include "pagerules/siteexceptions.h"
#include "util/tracked.h"

#include <cstring>
#include <webkit2/webkit2.h>

ViewBlocking::ViewBlocking(ContentBlocking &lists, std::function<WebKitWebView *()> view)
    : m_lists(lists), m_view(std::move(view))
{
    m_lists.changed.connect(sigc::mem_fun(*this, &ViewBlocking::listsChanged));
}

void ViewBlocking::listsChanged()
{
    apply();
    changed.emit();
}

ViewBlocking::~ViewBlocking()
{
    if (m_added)
        webkit_user_content_filter_unref(m_added);
}

void ViewBlocking::setEnabled(bool on)
{
    m_enabled = on;
    if (on)
        m_lists.start();
    apply();
    changed.emit();
}

bool ViewBlocking::allowedOn(const std::string &host) const
{
    return !host.empty() && m_allowed && m_allowed(host);
}

void ViewBlocking::loading(const std::string &uri)
{
    m_lists.pageLoading();
    m_host = siteexceptions::hostOf(uri);
    const bool allowedHere = allowedOn(m_host);
    const bool change = allowedHere != m_allowedHere;
    m_allowedHere = allowedHere;
    apply();
    if (change)
        changed.emit();
}

void ViewBlocking::committed()
{
    m_blocked = 0;
    changed.emit();
}

void ViewBlocking::loaded()
{
    m_lists.pageLoaded();
}

void ViewBlocking::viewReplaced()
{
    if (m_added)
        webkit_user_content_filter_unref(m_added);
    m_added = nullptr;
    apply();
}

void ViewBlocking::apply()
{
    WebKitWebView *view = m_view();
    if (!view)
        return;
    WebKitUserContentFilter *wanted = m_enabled && !m_allowedHere ? m_lists.filter() : nullptr;
    if (wanted == m_added)
        return;
    WebKitUserContentManager *content = webkit_web_view_get_user_content_manager(view);
    if (m_added) {
        webkit_user_content_manager_remove_filter(content, m_added);
        webkit_user_content_filter_unref(m_added);
        m_added = nullptr;
    }
    if (wanted) {
        webkit_user_content_manager_add_filter(content, wanted);
        m_added = webkit_user_content_filter_ref(wanted);
    }
}

PageView::PageBlocking ViewBlocking::state() const
{
    PageView::PageBlocking state;
    state.blocking = m_added != nullptr;
    state.allowedHere = m_enabled && m_allowedHere;
    state.blocked = m_blocked;
    return state;
}

bool ViewBlocking::message(WebKitUserMessage *message)
{
    if (std::strcmp(webkit_user_message_get_name(message), SKIMLARK_BLOCKED_MESSAGE) != 0)
        return false;
    ++m_blocked;
    changed.emit();
    return true;
}

void ViewBlocking::contextMenu(WebKitContextMenu *menu, const std::string &shownUri)
{
    using Lists = PageView::Blocking::Lists;
    const Lists lists = m_lists.status().lists;
    const std::string host = siteexceptions::hostOf(shownUri);
    if (!m_enabled || host.empty() || (lists != Lists::Preparing && lists != Lists::Ready))
        return;
    const bool allow = !allowedOn(host);
    GSimpleAction *action = g_simple_action_new("ads-on-site", nullptr);
    struct Choice
    {
        Tracked<ViewBlocking> blocking;
        std::string host;
        bool allow;
    };
    g_signal_connect_data(action, "activate", G_CALLBACK(+[](GSimpleAction *, GVariant *, gpointer data) {
                              const auto *chosen = static_cast<Choice *>(data);
                              if (ViewBlocking *self = chosen->blocking.get())
                                  self->choice.emit(chosen->host, chosen->allow);
                          }),
                          new Choice{Tracked<ViewBlocking>(*this), host, allow},
                          [](gpointer data, GClosure *) { delete static_cast<Choice *>(data); }, GConnectFlags(0));
    webkit_context_menu_append(menu, webkit_context_menu_item_new_separator());
    webkit_context_menu_append(menu, webkit_context_menu_item_new_from_gaction(
                                         G_ACTION(action), allow ? "Allow ads on this site" : "Block ads on this site",
                                         nullptr));
    g_object_unref(action);
}
