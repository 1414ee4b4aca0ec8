#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <sigc++/connection.h>
#include <string>

typedef struct _WebKitScriptDialog WebKitScriptDialog;
typedef struct _WebKitAuthenticationRequest WebKitAuthenticationRequest;
typedef struct _WebKitPermissionRequest WebKitPermissionRequest;
typedef struct _WebKitFileChooserRequest WebKitFileChooserRequest;
typedef struct _WebKitPermissionStateQuery WebKitPermissionStateQuery;
class Dialogs;
class PageGuard;
namespace Gtk { class Window; }

// The questions a page raises: script boxes, sign-ins, permissions, file
// requests, other programs' addresses. The engine's request is kept and
// answered once the user has; one question is asked at a time.
class PageQuestions
{
public:
    PageQuestions(PageGuard &guard, Dialogs &dialogs, std::function<Gtk::Window *()> parent);
    ~PageQuestions();
    PageQuestions(const PageQuestions &) = delete;
    PageQuestions &operator=(const PageQuestions &) = delete;

    // Each keeps the engine's request and answers it later.
    void scriptDialog(WebKitScriptDialog *box, const std::string &title);
    void signIn(WebKitAuthenticationRequest *request);
    void permission(WebKitPermissionRequest *request, const std::string &pageAddress);
    void files(WebKitFileChooserRequest *request, const std::string &pageAddress);
    // What a page learns when it asks whether it may (answered at once).
    void permissionState(WebKitPermissionStateQuery *query);
    // A click on an address another program opens: which one, and whether to.
    void otherProgram(const std::string &address);
    // A page's certificate cannot be trusted: whether to go on to it anyway.
    // `answer` gets the user's choice (false when the page may not ask).
    void certificate(const std::string &address, unsigned problems, std::function<void(bool goOn)> answer);
    // Whether the page may cause a box of the program's now (a save box, a
    // certificate question); from the fourth in a row it offers to block them.
    bool mayShowBox(const std::string &pageAddress);

private:
    // A question waiting for its turn: `ask` shows it and answers the engine,
    // `drop` answers as if cancelled.
    struct Pending
    {
        std::function<void()> ask;
        std::function<void()> drop;
    };
    void enqueue(Pending item);
    void schedule();
    void pump();

    PageGuard &m_guard;
    Dialogs &m_dialogs;
    std::function<Gtk::Window *()> m_parent;
    std::deque<Pending> m_pending;
    bool m_asking = false;
    sigc::connection m_pumpIdle;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};
