#pragma once

#include "interfaces/pageview.h"
#include "pagerules/pageguard.h"
#include "window/problembar.h"
#include "window/questionpanel.h"

#include <gtkmm/box.h>
#include <gtkmm/overlay.h>
#include <memory>
#include <string>

typedef struct _WebKitWebView WebKitWebView;
typedef struct _WebKitSettings WebKitSettings;
class Dialogs;
class Downloads;
class EngineProfile;
class ErrorPages;
class FullScreenNotice;
class PageFinder;
class ViewBlocking;
class PageNavigations;
class PagePrinter;
class PageQuestions;
class SecureFirst;

// The page view over WebKit: the only place that knows the engine's view.
// It holds every connection to the view's signals, and asks its guard what
// a page may do. Its widget is a bar for engine problems above an overlay
// that holds the page (notices go on the overlay).
class WebKitPageView : public PageView, public sigc::trackable
{
public:
    WebKitPageView(EngineProfile &profile, Dialogs &dialogs);
    // A page view that keeps its profile for as long as it lives.
    WebKitPageView(std::unique_ptr<EngineProfile> profile, Dialogs &dialogs);
    ~WebKitPageView() override;
    WebKitPageView(const WebKitPageView &) = delete;
    WebKitPageView &operator=(const WebKitPageView &) = delete;

    Gtk::Widget &widget() override { return m_box; }
    void showQuestionsOver(Gtk::Overlay &layer) override;
    bool focusQuestion() override;
    void navigate(const std::string &address) override;
    void navigateSecureFirst(const std::string &httpsAddress) override;
    void replacePage(const std::string &address) override;
    void offerSearch(std::function<std::string(const std::string &words)> queryFor) override;
    void showHtml(const std::string &html, const std::string &baseAddress) override;
    bool goBack() override;
    bool goForward() override;
    void stop() override;
    void refresh() override;
    std::string currentAddress() const override;
    std::string currentTitle() const override;
    bool showingErrorPage() const override;
    bool print() override;
    bool printPreview() override;
    bool saveAs() override;
    void takeFocus() override;
    double zoomLevel() const override;
    void setZoomLevel(double level) override;
    void findText(const std::string &text, bool backward) override;
    void setJavaScriptEnabled(bool enabled) override;
    void setImagesEnabled(bool enabled) override;
    void clearBrowsingData(std::function<void(bool ok, const std::string &what)> done) override;
    void setBlockingEnabled(bool on) override;
    void setAdsAllowed(std::function<bool(const std::string &host)> allowed) override;
    Blocking blocking() const override;
    PageBlocking pageBlocking() const override;
    void cancelDownload(unsigned id) override;
    Security security() const override { return m_security; }

    // The engine's view now in use (a new one after browsing data is deleted).
    WebKitWebView *engineView() const { return m_view; }
    // Where the page's questions show.
    QuestionPanel &questionPanel() { return m_questionPanel; }

private:
    struct Handlers;
    friend struct Handlers;

    void buildView();
    void connectSignals();
    void addMakerFilter();
    void dropView();
    void loadUri(const std::string &uri);
    bool stepInHistory(int (*can)(WebKitWebView *), void (*go)(WebKitWebView *));
    // The address shown changed to this engine address.
    void showAddress(const char *uri);
    // The page on screen, or what it loaded, changed how secure it is.
    void updateSecurity(const std::string &uri);
    // The engine's network process ended: a load on its way is ended and
    // explained, and Refresh tries `uri` again.
    void networkEnded();
    void connectionStopped(const std::string &uri);
    // Where a page process that ended was: the address being loaded, if any.
    std::string crashedAddress() const;
    bool localScheme(const std::string &address) const;
    Gtk::Window *parentWindow() const;
    // Where the question goes in the window's layer: its top row over the
    // controls above the page, the rest over the page.
    bool placeQuestion(Gtk::Widget *child, Gdk::Rectangle &place);

    // The profile when the view keeps it: listed first, so it goes last.
    std::unique_ptr<EngineProfile> m_ownProfile;
    EngineProfile &m_profile;
    Dialogs &m_dialogs;
    PageGuard m_guard;
    WebKitSettings *m_settings = nullptr;
    WebKitWebView *m_view = nullptr;
    // Holds the page process from construction to the first page's commit.

    Gtk::Box m_box{Gtk::ORIENTATION_VERTICAL};
    ProblemBar m_problemBar;
    Gtk::Overlay m_overlay;
    QuestionPanel m_questionPanel;

    sigc::connection m_placing;
    std::unique_ptr<PageQuestions> m_questions;
    std::unique_ptr<Downloads> m_downloads;
    std::unique_ptr<PagePrinter> m_printer;
    std::unique_ptr<FullScreenNotice> m_fullScreen;
    std::unique_ptr<PageNavigations> m_navigations;
    std::unique_ptr<PageFinder> m_finder;
    std::unique_ptr<ErrorPages> m_errors;
    std::unique_ptr<ViewBlocking> m_blocking;
    sigc::connection m_listsChanged;
    std::unique_ptr<SecureFirst> m_secureFirst;
    Security m_security;
    // The page on screen loaded something over plain http.
    bool m_insecureContent = false;
    // Where the explanation of a refused certificate goes, and the problems.
    std::string m_refusedUri;
    unsigned m_refusedProblems = 0;

    // The engine address of the page on screen; a load on its way does not
    // change it until its page replaces this one.
    std::string m_shownUri;
    // A load the program asked for, not yet started: the engine names its
    // target at once, before it is even on its way.
    bool m_ownLoadPending = false;
    // That load's target, while it is not started.
    std::string m_requestedUri;
    // Gives up on that load when the engine never starts it.
    sigc::connection m_startWait;
    // The load asked for next is our explanation page.
    bool m_errorPagePending = false;
    // The main frame's load on its way, from its start to its end.
    struct Load
    {
        bool active = false;
        std::string uri;        // the engine's address of what is loading
        bool own = false;       // the program started it, for the user
        bool errorPage = false; // one of our explanation pages
        bool committed = false;
        // The user's load whose place another took before it committed.
        std::string replaced;
        enum class End { None, Stopped, Downloaded, Explained } end = End::None;
    };
    Load m_load;
    bool m_showingErrorPage = false;
    sigc::connection m_networkEnded;
    // What Refresh tries again after the network process ended.
    std::string m_retryUri;
    std::string m_lastLink;
};
