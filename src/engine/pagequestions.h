#pragma once

#include "pagerules/questionqueue.h"

#include <gtkmm/filechooser.h>

#include <functional>
#include <string>
#include <vector>

typedef struct _WebKitScriptDialog WebKitScriptDialog;
typedef struct _WebKitAuthenticationRequest WebKitAuthenticationRequest;
typedef struct _WebKitPermissionRequest WebKitPermissionRequest;
typedef struct _WebKitPermissionStateQuery WebKitPermissionStateQuery;
typedef struct _WebKitFileChooserRequest WebKitFileChooserRequest;
typedef struct _WebKitPrintOperation WebKitPrintOperation;
typedef struct _WebKitWebContext WebKitWebContext;
typedef struct _GTlsCertificate GTlsCertificate;
class PageGuard;
class ScriptBox;
namespace Gtk { class Window; }

// The questions a page raises: script boxes, leaving the page, sign-ins,
// permissions, certificates, files to upload or save, printing, other
// programs' addresses. Each engine request is kept and put in the queue,
// which shows it over the page or in a window that does not block the main
// window, and answered when the user has.
class PageQuestions
{
public:
    struct Hooks
    {
        std::function<Gtk::Window *()> parent;
        // Where the user's trust in a certificate is kept.
        WebKitWebContext *context = nullptr;
        // The page asked whether it may be left and stays: the load that
        // would have left it does not happen.
        std::function<void()> stayed;
        // Shows the print dialog for a page's print and prints what it says;
        // `closed` runs when that dialog has gone. Returns what closes it unanswered.
        std::function<std::function<void()>(WebKitPrintOperation *, std::function<void()> closed)> print;
        // The site whose page is on screen, as its questions name it ("" for none).
        std::function<std::string()> site;
    };

    PageQuestions(PageGuard &guard, QuestionBar &bar, Hooks hooks);
    PageQuestions(const PageQuestions &) = delete;
    PageQuestions &operator=(const PageQuestions &) = delete;

    // Each keeps the engine's request and answers it later.
    void scriptDialog(WebKitScriptDialog *box, const std::string &title);
    void signIn(WebKitAuthenticationRequest *request);
    void permission(WebKitPermissionRequest *request, const std::string &pageAddress);
    // What a page learns when it asks whether it may (answered at once).
    void permissionState(WebKitPermissionStateQuery *query);
    // `asker`: who asks, as PageGuard::asker names them.
    void files(WebKitFileChooserRequest *request, const std::string &asker);
    void print(WebKitPrintOperation *operation, const std::string &pageAddress);
    // A click on an address another program opens: which one, and whether to.
    void otherProgram(const std::string &address);
    // A page's certificate cannot be trusted: whether to go on to it anyway.
    // Going on trusts the certificate for its host until the program closes;
    // `answer` gets true to go on, false to stay away, and is not called when
    // the question is taken away unanswered.
    void certificate(const std::string &address, GTlsCertificate *certificate, unsigned problems,
                     std::function<void(bool goOn)> answer);
    // Where to save a file a page sends; `text` says which and from where.
    // `reply` gets the path, or "" when the user cancelled or may not be asked.
    // The file is the user's, not the page's: leaving the page (or Stop)
    // leaves its question open, its chooser too, until the user answers.
    void saveFile(const std::string &text, const std::string &suggestedPath,
                  std::function<void(const std::string &path)> reply);

    // Answers what the page asked, open or waiting, as cancelled. `leaving`:
    // the page is being left (a question about leaving it is answered
    // "leave"; Stop answers it "stay").
    void cancelAll(bool leaving);
    // A new page replaced the one on screen: what the old one asked is void.
    void newPage();

private:
    using Question = QuestionQueue::Question;
    using Answer = QuestionQueue::Answer;
    using Request = QuestionQueue::Request;
    void answerScript(ScriptBox &box, bool accepted, const std::string &text);
    // A file chooser an accepted question goes on to: the user asked for it,
    // never the page alone. `reply` gets the files, none on Cancel.
    QuestionQueue::Then chooser(Gtk::FileChooserAction action, const std::string &text,
                                const std::string &suggestedPath,
                                std::function<void(const std::vector<std::string> &)> reply);

    PageGuard &m_guard;
    Hooks m_hooks;
    // The user let the page on screen be left: it is not asked again.
    bool m_leftPage = false;
    QuestionQueue m_queue;
};
