#pragma once

#include <functional>
#include <sigc++/trackable.h>
#include <string>

typedef struct _WebKitWebView WebKitWebView;
typedef struct _WebKitPolicyDecision WebKitPolicyDecision;
typedef struct _WebKitNavigationAction WebKitNavigationAction;
typedef struct _WebKitContextMenu WebKitContextMenu;
typedef struct _WebKitHitTestResult WebKitHitTestResult;
class PageGuard;
class PageQuestions;

// Where a page asks to go: its links, forms, redirects and new windows. The
// page view hands each of the engine's requests here; the guard says what may
// happen, and the maker's pages are served from the program, never the network.
class PageNavigations : public sigc::trackable
{
public:
    struct Hooks
    {
        // The engine's view now in use.
        std::function<WebKitWebView *()> view;
        // The engine address of the page on screen.
        std::function<std::string()> shownUri;
        // Loads an address as the program's own load.
        std::function<void(const std::string &)> load;
        // Whether the scheme of an address is one the program registered.
        std::function<bool(const std::string &)> localScheme;
        // Tells the user, in the status bar.
        std::function<void(const std::string &)> status;
    };

    PageNavigations(PageGuard &guard, PageQuestions &questions, Hooks hooks);
    PageNavigations(const PageNavigations &) = delete;
    PageNavigations &operator=(const PageNavigations &) = delete;

    // The program is about to load this private-scheme address itself.
    void expectOwnLoad(const std::string &target) { m_pendingOwnLoad = target; }
    // A navigation or new-window decision (a response is not handled here):
    // answered at once, true when it was.
    bool decide(WebKitPolicyDecision *decision, bool newWindow);
    // A response arrived: a page's own the engine shows; anything else the
    // main frame receives becomes a download. True when it was answered here.
    bool decideResponse(WebKitPolicyDecision *decision);
    // The page asks for a new window: its page opens in this view, or nowhere.
    void newWindow(WebKitNavigationAction *action);

    // The page's context menu is about to show: every item does what it
    // says, or is not there.
    void contextMenu(WebKitContextMenu *menu, WebKitHitTestResult *hit);
    // Makes the page go to an address, as a click on a link in it would, or
    // as a redirect does, in place of the page in the history.
    enum class Entry { Add, Replace };
    void navigateAsPage(const std::string &address, Entry entry = Entry::Add);

private:
    PageGuard &m_guard;
    PageQuestions &m_questions;
    Hooks m_hooks;
    // A load of our own pages we started ourselves: let it through once.
    std::string m_pendingOwnLoad;
};
