#include "engine/pagenavigations.h"

#include "engine/pagequestions.h"
#include "engine/scriptworld.h"
#include "pagerules/hostdisplay.h"
#include "pagerules/makersite.h"
#include "pagerules/pageguard.h"
#include "util/later.h"
#include "util/tracked.h"

#include <algorithm>
#include <webkit2/webkit2.h>

namespace {


// The context menu's items that would ask for a window, and where the page
// they open is. Without a way to tell where, an item goes: the engine does
// not say which frame was clicked, and there is no inspector here.
struct OpenHere
{
    WebKitContextMenuAction action;
    const char *(*target)(WebKitHitTestResult *);
    const char *label;
};
const OpenHere Replaced[] = {
    {WEBKIT_CONTEXT_MENU_ACTION_OPEN_LINK_IN_NEW_WINDOW, webkit_hit_test_result_get_link_uri, "Open Link in New _Window"},
    {WEBKIT_CONTEXT_MENU_ACTION_OPEN_IMAGE_IN_NEW_WINDOW, webkit_hit_test_result_get_image_uri, "Open _Image in New Window"},
    {WEBKIT_CONTEXT_MENU_ACTION_OPEN_VIDEO_IN_NEW_WINDOW, webkit_hit_test_result_get_media_uri, "Open _Video in New Window"},
    {WEBKIT_CONTEXT_MENU_ACTION_OPEN_AUDIO_IN_NEW_WINDOW, webkit_hit_test_result_get_media_uri, "Open _Audio in New Window"},
    {WEBKIT_CONTEXT_MENU_ACTION_OPEN_FRAME_IN_NEW_WINDOW, nullptr, nullptr},
    {WEBKIT_CONTEXT_MENU_ACTION_INSPECT_ELEMENT, nullptr, nullptr},
};

std::string uriOf(WebKitNavigationAction *action)
{
    const char *uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
    return uri ? uri : "";
}

} // namespace

PageNavigations::PageNavigations(PageGuard &guard, PageQuestions &questions, Hooks hooks)
    : m_guard(guard), m_questions(questions), m_hooks(std::move(hooks))
{
}

bool PageNavigations::decide(WebKitPolicyDecision *decision, bool newWindow)
{
    WebKitNavigationAction *action =
        webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    const std::string uri = uriOf(action);
    const bool gesture = webkit_navigation_action_is_user_gesture(action);
    const WebKitNavigationType kind = webkit_navigation_action_get_navigation_type(action);
    if (const auto own = makersite::toPrivate(uri)) {
        // Never to the network. A frame's load looks like the page's own,
        // so only a click, a form or a history step brings the page up.
        webkit_policy_decision_ignore(decision);
        if (kind != WEBKIT_NAVIGATION_TYPE_OTHER || gesture) {
            runLater(*this, [this, page = *own] { m_hooks.load(page); });
        }
        return true;
    }
    if (makersite::isPrivate(uri)) {
        const bool ours = uri == m_pendingOwnLoad || kind == WEBKIT_NAVIGATION_TYPE_BACK_FORWARD
                          || kind == WEBKIT_NAVIGATION_TYPE_RELOAD || makersite::isPrivate(m_hooks.shownUri());
        if (uri == m_pendingOwnLoad)
            m_pendingOwnLoad.clear();
        if (!ours) {
            webkit_policy_decision_ignore(decision);
            return true;
        }
    }
    const bool local = m_hooks.localScheme(uri);
    const PageGuard::Open verdict =
        newWindow ? m_guard.newWindow(uri, gesture, local) : m_guard.navigation(uri, gesture, local);
    if (verdict == PageGuard::Open::Allow) {
        webkit_policy_decision_use(decision);
        return true;
    }
    webkit_policy_decision_ignore(decision);
    if (verdict == PageGuard::Open::AskOtherProgram)
        m_questions.otherProgram(uri);
    return true;
}

bool PageNavigations::decideResponse(WebKitPolicyDecision *decision)
{
    auto *response = WEBKIT_RESPONSE_POLICY_DECISION(decision);
    // A frame's file is not saved unasked by the page around it: the engine's
    // own rules (an attachment is saved, anything else not shown) stand.
    if (!webkit_response_policy_decision_is_main_frame_main_resource(response)
        || webkit_response_policy_decision_is_mime_type_supported(response))
        return false;
    webkit_policy_decision_download(decision);
    return true;
}

void PageNavigations::newWindow(WebKitNavigationAction *action)
{
    const std::string address = uriOf(action);
    switch (m_guard.newWindow(address, webkit_navigation_action_is_user_gesture(action), m_hooks.localScheme(address))) {
    case PageGuard::Open::Allow: {
        // An embedded page (an advertisement) replaces the page only where
        // it could have navigated the page itself.
        if (!m_guard.mayReplacePage(g_get_monotonic_time())) {
            if (m_hooks.status)
                m_hooks.status("An embedded page may not replace this page: " + hostdisplay::forUser(address)
                               + " was not opened");
            break;
        }
        // Not from inside the engine's call: the page is still asking.
        runLater(*this, [this, address] { navigateAsPage(address); });
        break;
    }
    case PageGuard::Open::AskOtherProgram:
        m_questions.otherProgram(address);
        break;
    case PageGuard::Open::Refuse:
        break;
    }
}

void PageNavigations::navigateAsPage(const std::string &address, Entry entry)
{
    WebKitWebView *view = m_hooks.view();
    // Without scripts the page cannot be made to go: the program loads it.
    if (!webkit_settings_get_enable_javascript(webkit_web_view_get_settings(view)))
        return m_hooks.load(address);
    // The page itself goes there, as from a link it holds: the engine's own
    // rules for a page's navigations apply, and its address stays on screen
    // until the new page takes its place.
    GVariantDict arguments;
    g_variant_dict_init(&arguments, nullptr);
    g_variant_dict_insert(&arguments, "target", "s", address.c_str());
    const char *go = entry == Entry::Replace ? "location.replace(target)" : "location.assign(target)";
    webkit_web_view_call_async_javascript_function(view, go, -1, g_variant_dict_end(&arguments),
                                                   OurScriptWorld, nullptr, nullptr, nullptr, nullptr);
}

void PageNavigations::contextMenu(WebKitContextMenu *menu, WebKitHitTestResult *hit)
{
    // The engine's own "in New Window" items would ask for a window this
    // browser does not open: ours open their page here, as a click would.
    GList *items = g_list_copy(webkit_context_menu_get_items(menu));
    int position = 0;
    for (GList *entry = items; entry; entry = entry->next, ++position) {
        auto *item = WEBKIT_CONTEXT_MENU_ITEM(entry->data);
        const auto row = std::find_if(std::begin(Replaced), std::end(Replaced), [item](const OpenHere &row) {
            return row.action == webkit_context_menu_item_get_stock_action(item);
        });
        if (row == std::end(Replaced))
            continue;
        const char *target = row->target ? row->target(hit) : nullptr;
        const char *label = row->label;
        webkit_context_menu_remove(menu, item);
        const std::string address = target ? target : "";
        // Only what a page may open is offered.
        if (!label || address.empty()
            || m_guard.newWindow(address, true, m_hooks.localScheme(address)) != PageGuard::Open::Allow) {
            --position;
            continue;
        }
        GSimpleAction *open = g_simple_action_new("open-here", G_VARIANT_TYPE_STRING);
        g_signal_connect_data(open, "activate", G_CALLBACK(+[](GSimpleAction *, GVariant *where, gpointer data) {
                                  if (PageNavigations *self = Tracked<PageNavigations>::peek(data))
                                      self->navigateAsPage(g_variant_get_string(where, nullptr));
                              }),
                              Tracked<PageNavigations>::hold(*this), Tracked<PageNavigations>::release,
                              GConnectFlags(0));
        webkit_context_menu_insert(menu,
                                   webkit_context_menu_item_new_from_gaction(G_ACTION(open), label,
                                                                             g_variant_new_string(address.c_str())),
                                   position);
        g_object_unref(open);
    }
    g_list_free(items);
}
