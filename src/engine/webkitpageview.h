#pragma once

#include "interfaces/pageview.h"

#include <gtkmm/box.h>
#include <gtkmm/infobar.h>
#include <gtkmm/label.h>
#include <gtkmm/overlay.h>
#include <memory>
#include <string>

typedef struct _WebKitWebView WebKitWebView;
typedef struct _WebKitSettings WebKitSettings;
class Dialogs;
class Downloads;
class EngineProfile;
class PrintPreview;
class WebKitPageGuard;

// The page view over WebKit: the only place that knows the engine's view.
// Its widget is a bar for engine problems above an overlay that holds the
// page (full-screen notices go on the overlay).
class WebKitPageView : public PageView
{
public:
    WebKitPageView(EngineProfile &profile, Dialogs &dialogs);
    ~WebKitPageView() override;
    WebKitPageView(const WebKitPageView &) = delete;
    WebKitPageView &operator=(const WebKitPageView &) = delete;

    Gtk::Widget &widget() override { return m_box; }
    void navigate(const std::string &address) override;
    void showHtml(const std::string &html, const std::string &baseAddress) override;
    bool goBack() override;
    bool goForward() override;
    void stop() override;
    void refresh() override;
    std::string currentAddress() const override;
    std::string currentTitle() const override;
    bool print() override;
    bool printPreview() override;
    bool saveAs() override;
    void takeFocus() override;
    void zoomBy(int steps) override;
    void resetZoom() override;
    void findText(const std::string &text, bool backward) override;
    void setJavaScriptEnabled(bool enabled) override;
    void setImagesEnabled(bool enabled) override;
    void clearBrowsingData(std::function<void(bool ok, const std::string &what)> done) override;

    // The engine's view now in use (a new one after browsing data is deleted).
    WebKitWebView *engineView() const { return m_view; }
    // The bar above the page; shown only while there is an engine problem.
    Gtk::InfoBar &problemBar() { return m_problemBar; }
    const Gtk::Label &problemText() const { return m_problemText; }
    // The preview window while one is open, else null.
    PrintPreview *preview() const { return m_preview.get(); }

    // Whether a certificate with these problems (GTlsCertificateFlags) may be
    // accepted by the user: only an unknown issuer, another site's name, or a
    // date outside its validity.
    static bool certificateMayBeAccepted(unsigned problems);
    // The problems in words, for the error page and the question.
    static std::string certificateProblems(unsigned problems);

private:
    struct Handlers;
    friend struct Handlers;

    void buildView();
    void addMakerFilter();
    void dropView();
    void startPageProcess();
    void dropWarmUp();
    void loadUri(const std::string &uri);
    void showErrorPage(const std::string &page, const std::string &failingUri, const std::string &reason);
    void showProblem(const std::string &text);
    void askToAcceptCertificate(const std::string &uri, void *certificate, unsigned problems);
    Gtk::Window *parentWindow() const;

    EngineProfile &m_profile;
    Dialogs &m_dialogs;
    WebKitSettings *m_settings = nullptr;
    WebKitWebView *m_view = nullptr;
    // Holds the page process from construction to the first page's commit.
    WebKitWebView *m_warmUp = nullptr;
    std::unique_ptr<WebKitPageGuard> m_guard;
    std::unique_ptr<Downloads> m_downloads;
    std::unique_ptr<PrintPreview> m_preview;

    Gtk::Box m_box{Gtk::ORIENTATION_VERTICAL};
    Gtk::InfoBar m_problemBar;
    Gtk::Label m_problemText;
    Gtk::Overlay m_overlay;

    // A load of our own pages we started ourselves: let it through once.
    std::string m_pendingOwnLoad;
    // The address whose error or crash page is shown: Refresh loads it again.
    std::string m_errorAddress;
    // Page process ends since the user last asked for a page: stops a crash loop.
    int m_crashes = 0;
    std::string m_lastFind;
    std::string m_lastLink;
    // Cleared on destruction so late engine callbacks find nobody home.
    std::shared_ptr<WebKitPageView *> m_alive;
};
