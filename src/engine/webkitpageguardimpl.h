#pragma once

// The page guard's insides, shared by its two source files: boxes, sign-in,
// other programs and windows in webkitpageguard.cpp; permissions, full screen
// and file requests in webkitpageguardaccess.cpp.
#include "engine/webkitpageguard.h"

#include "interfaces/dialogs.h"

#include <deque>
#include <gtkmm.h>
#include <webkit2/webkit2.h>

namespace pageguard {
inline const char ProgramTitle[] = "Skimlark";
// The origin of an address as the engine writes it ("http://127.0.0.1:8080").
std::string originOf(const char *address);
} // namespace pageguard

struct WebKitPageGuard::Impl
{
    // A question waiting for its turn: `ask` shows it and answers the engine,
    // `drop` answers as if cancelled when the guard goes first.
    struct Pending
    {
        std::function<void()> ask;
        std::function<void()> drop;
    };

    WebKitWebView *view;
    Dialogs &dialogs;
    std::function<Gtk::Window *()> parent;
    Gtk::Label *notice = nullptr;
    WebKitUserContentManager *content = nullptr;
    GtkWidget *toplevel = nullptr;

    std::shared_ptr<int> alive = std::make_shared<int>(0);
    std::deque<Pending> pending;
    bool asking = false;
    sigc::connection pumpIdle, noticeTimer;

    int boxesInRow = 0;
    bool blocked = false;
    bool fullScreen = false;
    // What the last frame to open a box said it was.
    std::string frameOrigin;

    Impl(WebKitWebView *v, Dialogs &d, std::function<Gtk::Window *()> p);
    std::string address() const;
    std::string origin() const;
    // The title of a script box: the page's host, or "a page says".
    std::string pageBoxTitle();
    // Counts a box of the page's; false when boxes from this page are blocked.
    // From the fourth in a row, `offer` is set: the box offers to block them.
    bool countBox(bool &offer);
    // For boxes that cannot offer the block themselves: asks first.
    bool mayShowBox();
    void enqueue(Pending item);
    void schedule();
    void pump();

    // Sets the answer; a box kept for later is closed and let go as well.
    static void finishScriptBox(WebKitScriptDialog *box, const Dialogs::PageBoxAnswer &answer,
                                bool kept = true);
    // What a box counts as when nobody is asked: cancelled, except that
    // leaving a page is never refused, so the window can always close.
    static Dialogs::PageBoxAnswer unasked(WebKitScriptDialog *box);
    bool onScriptDialog(WebKitScriptDialog *box);

    bool onAuthenticate(WebKitAuthenticationRequest *request);

    void askOtherProgram(const std::string &address);
    bool localScheme(const std::string &scheme) const;
    bool onDecidePolicy(WebKitPolicyDecision *decision, WebKitPolicyDecisionType type);
    GtkWidget *onCreate(WebKitNavigationAction *action);

    bool onPermission(WebKitPermissionRequest *request);
    bool onQueryPermission(WebKitPermissionStateQuery *query);

    bool onEnterFullScreen();
    void onLeaveFullScreen();
    void showNotice();
    void hideNotice();
    void watchEscape();
    void unwatchEscape();
    // Esc leaves full screen whatever the page does with keys.
    gboolean onKey(GdkEventKey *event);
    void leaveFullScreen();

    bool onFileChooser(WebKitFileChooserRequest *request);

    void onLoadChanged(WebKitLoadEvent event);
    void onOriginMessage(WebKitJavascriptResult *result);
    void connect();
    void lockDownSettings();
    ~Impl();
};
