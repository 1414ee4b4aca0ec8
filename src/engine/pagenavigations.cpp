#include "engine/pagenavigations.h"

#include "engine/makersite.h"
#include "engine/pageguard.h"
#include "engine/pagequestions.h"

#include <glibmm/main.h>
#include <webkit2/webkit2.h>

namespace {

std::string uriOf(WebKitNavigationAction *action)
{
    const char *uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
    return uri ? uri : "";
}

} // namespace

PageNavigations::PageNavigations(PageGuard &guard, PageQuestions &questions, Hooks hooks)
    : m_guard(guard), m_questions(questions), m_hooks(std::move(hooks)),
      m_alive(std::make_shared<PageNavigations *>(this))
{
}

PageNavigations::~PageNavigations()
{
    *m_alive = nullptr;
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
            const std::string page = *own;
            auto alive = m_alive;
            Glib::signal_idle().connect_once([alive, page] {
                if (*alive)
                    (*alive)->m_hooks.load(page);
            });
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

void PageNavigations::newWindow(WebKitNavigationAction *action)
{
    const std::string address = uriOf(action);
    switch (m_guard.newWindow(address, webkit_navigation_action_is_user_gesture(action), m_hooks.localScheme(address))) {
    case PageGuard::Open::Allow: {
        auto alive = m_alive;
        Glib::signal_idle().connect_once([alive, address] {
            if (*alive)
                (*alive)->m_hooks.load(address);
        });
        break;
    }
    case PageGuard::Open::AskOtherProgram:
        m_questions.otherProgram(address);
        break;
    case PageGuard::Open::Refuse:
        break;
    }
}
