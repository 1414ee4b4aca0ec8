#pragma once

#include "interfaces/pageview.h"

#include <functional>
#include <map>
#include <sigc++/sigc++.h>
#include <string>

typedef struct _WebKitWebContext WebKitWebContext;
typedef struct _WebKitWebView WebKitWebView;
class Dialogs;
namespace Gtk { class Window; }

// Files a page hands over. Each starts arriving at once under a fresh hidden
// name in the Downloads folder, and once its first bytes are there the user is
// asked where it goes; it is moved into place at the end, so a file already
// there is never replaced or deleted. Until the user answers, no more than its
// first HoldLimit bytes are taken: past them it stops, and it is fetched again
// once the user says where. From the user's answer on it is followed under an
// id of its own (changed); its end is also said in a status text.
class Downloads : public sigc::trackable
{
public:
    struct Hooks
    {
        // The view whose downloads are ours to handle (and that fetches a
        // stopped one again).
        std::function<WebKitWebView *()> view;
        // Asks where to save: `text` says which file and from where; `reply`
        // gets the path, or "" for no.
        std::function<void(const std::string &text, const std::string &suggestedPath,
                           std::function<void(const std::string &path)> reply)>
            askWhere;
    };

    // What a download takes while the user has not said where it goes.
    static constexpr long long HoldLimit = 4 << 20;

    Downloads(WebKitWebContext *context, Hooks hooks);
    ~Downloads();
    Downloads(const Downloads &) = delete;
    Downloads &operator=(const Downloads &) = delete;

    // Asks where to save the page shown in `view` and writes it there as one
    // file (MHTML); false when the user cancelled.
    bool savePage(WebKitWebView *view, Dialogs &dialogs, Gtk::Window *parent);

    // Stops the download of that id; nothing when it has ended.
    void cancel(unsigned id);

    // "Downloaded name", "Download failed: name" ...
    sigc::signal<void(const std::string &text)> statusText;
    // A download the user said where to keep: answered, further, ended.
    sigc::signal<void(const PageView::Download &)> changed;

    // One download's state, kept on the engine's download object.
    struct Job;

private:
    static void onStarted(WebKitWebContext *context, void *download, Downloads *self);
    // Keeps a job on a download and follows it.
    static Job &attach(void *download, Downloads &owner);
    void ask(void *download);
    void hold(void *download);
    void fetchAgain(void *held, const std::string &path);
    void land(void *download);
    // Tells where a download the user kept stands (through changed); its end lets it go.
    void report(void *download, PageView::Download::State state, const std::string &landed = std::string());

    WebKitWebContext *m_context;
    Hooks m_hooks;
    unsigned long m_startedHandler = 0;
    unsigned m_lastId = 0;
    // The downloads that run under an id, kept for Cancel.
    std::map<unsigned, void *> m_running;
};
