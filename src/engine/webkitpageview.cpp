#include "engine/webkitpageview.h"

#include "interfaces/dialogs.h"
#include "engine/downloads.h"
#include "engine/engineprofile.h"
#include "engine/enginesetup.h"
#include "engine/hostdisplay.h"
#include "engine/makersite.h"
#include "engine/printpreview.h"
#include "engine/webkitpageguard.h"

#include <glibmm/main.h>
#include <webkit2/webkit2.h>

namespace {

std::string replaceAll(std::string text, const std::string &from, const std::string &to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string escaped(const std::string &text)
{
    gchar *markup = g_markup_escape_text(text.c_str(), -1);
    std::string result = markup;
    g_free(markup);
    return result;
}

std::string untrusted(unsigned problems)
{
    return "its certificate cannot be trusted (" + WebKitPageView::certificateProblems(problems) + ")";
}

std::string addressForUser(const std::string &uri)
{
    return hostdisplay::forUser(makersite::toReal(uri));
}

// A request the engine waits on, answered later from the main loop.
template <class F> void later(const std::shared_ptr<WebKitPageView *> &alive, F action)
{
    Glib::signal_idle().connect_once([alive, action] {
        if (*alive)
            action(**alive);
    });
}

} // namespace

// The engine's signals, as plain functions with the page view as their data.
struct WebKitPageView::Handlers
{
    static void loadChanged(WebKitWebView *, WebKitLoadEvent event, WebKitPageView *self)
    {
        if (event == WEBKIT_LOAD_STARTED)
            self->loadStarted.emit();
        else if (event == WEBKIT_LOAD_COMMITTED) {
            self->dropWarmUp();
            self->loadCommitted.emit();
        }
        else if (event == WEBKIT_LOAD_FINISHED)
            self->loadFinished.emit(self->currentAddress());
    }

    static gboolean loadFailed(WebKitWebView *, WebKitLoadEvent, const char *uri, GError *error,
                               WebKitPageView *self)
    {
        // Stopped on purpose, or handed over to the downloads: nothing to explain.
        if (g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED)
            || g_error_matches(error, WEBKIT_POLICY_ERROR, WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE)
            || g_error_matches(error, WEBKIT_PLUGIN_ERROR, WEBKIT_PLUGIN_ERROR_WILL_HANDLE_LOAD))
            return TRUE;
        self->showErrorPage("failed.html", uri ? uri : "", error ? error->message : "");
        return TRUE;
    }

    static gboolean tlsFailed(WebKitWebView *, const char *uri, GTlsCertificate *certificate,
                              GTlsCertificateFlags problems, WebKitPageView *self)
    {
        const std::string failing = uri ? uri : "";
        if (!certificateMayBeAccepted(problems) || !certificate) {
            self->showErrorPage("failed.html", failing, untrusted(problems));
            return TRUE;
        }
        g_object_ref(certificate);
        later(self->m_alive, [failing, certificate, problems](WebKitPageView &view) {
            view.askToAcceptCertificate(failing, certificate, problems);
        });
        return TRUE;
    }

    static void uriChanged(WebKitWebView *, GParamSpec *, WebKitPageView *self)
    {
        self->urlChanged.emit(self->currentAddress());
    }

    static void titleChanged(WebKitWebView *, GParamSpec *, WebKitPageView *self)
    {
        self->titleChanged.emit(self->currentTitle());
    }

    static void progressChanged(WebKitWebView *view, GParamSpec *, WebKitPageView *self)
    {
        self->progressChanged.emit(int(webkit_web_view_get_estimated_load_progress(view) * 100 + 0.5));
    }

    static void mouseTarget(WebKitWebView *, WebKitHitTestResult *hit, guint, WebKitPageView *self)
    {
        const char *link = webkit_hit_test_result_context_is_link(hit) ? webkit_hit_test_result_get_link_uri(hit)
                                                                        : nullptr;
        const std::string text = link ? addressForUser(link) : std::string();
        if (text == self->m_lastLink)
            return;
        self->m_lastLink = text;
        self->statusTextChanged.emit(text);
    }

    static void terminated(WebKitWebView *view, WebKitWebProcessTerminationReason reason, WebKitPageView *self)
    {
        if (reason == WEBKIT_WEB_PROCESS_TERMINATED_BY_API)
            return;
        const char *uri = webkit_web_view_get_uri(view);
        const std::string address = uri ? uri : "about:blank";
        if (++self->m_crashes > 1) {
            self->showProblem("The page process keeps ending, so this page cannot be shown. "
                              "Click Refresh to try again.");
            return;
        }
        const std::string why = reason == WEBKIT_WEB_PROCESS_EXCEEDED_MEMORY_LIMIT ? "used more memory than allowed"
                                                                                   : "crashed";
        // Not from inside the engine's call: it is still tearing the page down.
        later(self->m_alive, [address, why](WebKitPageView &pageView) {
            pageView.showErrorPage("crashed.html", address, why);
        });
    }

    static GtkWidget *create(WebKitWebView *, WebKitNavigationAction *action, WebKitPageView *self)
    {
        // This browser has one page view: the new window's page opens here.
        // The page guard has already refused windows without a click and
        // windows to data: or javascript: addresses.
        const char *uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
        const std::string address = uri ? uri : "";
        if (address.empty())
            return nullptr;
        later(self->m_alive, [address](WebKitPageView &view) { view.loadUri(address); });
        return nullptr;
    }

    static gboolean decidePolicy(WebKitWebView *view, WebKitPolicyDecision *decision, WebKitPolicyDecisionType type,
                                 WebKitPageView *self)
    {
        if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE)
            return FALSE;
        WebKitNavigationAction *action =
            webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
        const char *target = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
        const std::string uri = target ? target : "";
        const WebKitNavigationType kind = webkit_navigation_action_get_navigation_type(action);
        if (const auto own = makersite::toPrivate(uri)) {
            // Never to the network. A frame's load looks like the page's own,
            // so only a click, a form or a history step brings the page up.
            webkit_policy_decision_ignore(decision);
            if (kind != WEBKIT_NAVIGATION_TYPE_OTHER || webkit_navigation_action_is_user_gesture(action)) {
                const std::string page = *own;
                later(self->m_alive, [page](WebKitPageView &pageView) { pageView.loadUri(page); });
            }
            return TRUE;
        }
        if (makersite::isPrivate(uri)) {
            const char *shown = webkit_web_view_get_uri(view);
            const bool ours = uri == self->m_pendingOwnLoad || kind == WEBKIT_NAVIGATION_TYPE_BACK_FORWARD
                              || kind == WEBKIT_NAVIGATION_TYPE_RELOAD || (shown && makersite::isPrivate(shown));
            if (uri == self->m_pendingOwnLoad)
                self->m_pendingOwnLoad.clear();
            if (!ours) {
                webkit_policy_decision_ignore(decision);
                return TRUE;
            }
        }
        return FALSE;
    }
};

WebKitPageView::WebKitPageView(EngineProfile &profile, Dialogs &dialogs)
    : m_profile(profile), m_dialogs(dialogs), m_alive(std::make_shared<WebKitPageView *>(this))
{
    m_settings = webkit_settings_new();
    g_object_ref_sink(m_settings);
    webkit_settings_set_user_agent_with_application_details(m_settings, "Skimlark", SKIMLARK_VERSION);
    // A page opened from a file reads no other file and reaches no other site.
    webkit_settings_set_allow_file_access_from_file_urls(m_settings, FALSE);
    webkit_settings_set_allow_universal_access_from_file_urls(m_settings, FALSE);
    webkit_settings_set_javascript_can_open_windows_automatically(m_settings, FALSE);
    skimlark_engine_apply_drawing_path(m_settings);

    m_problemBar.set_message_type(Gtk::MESSAGE_WARNING);
    m_problemText.set_line_wrap(true);
    m_problemText.set_xalign(0);
    static_cast<Gtk::Container *>(m_problemBar.get_content_area())->add(m_problemText);
    m_problemBar.get_accessible()->set_name("Page engine problem");
    m_problemBar.show_all();
    m_problemBar.set_no_show_all(true);
    m_problemBar.hide();
    m_box.pack_start(m_problemBar, Gtk::PACK_SHRINK);
    m_box.pack_start(m_overlay, Gtk::PACK_EXPAND_WIDGET);
    m_box.get_accessible()->set_name("Web page");
    m_overlay.show();
    m_box.show();

    buildView();
    Downloads::Hooks hooks;
    hooks.isOurs = [this](WebKitWebView *view) { return view == m_view; };
    hooks.mayAsk = [this] { return m_guard->mayShowBox(); };
    hooks.parent = [this] { return parentWindow(); };
    m_downloads = std::make_unique<Downloads>(profile.context(), dialogs, std::move(hooks));
    m_downloads->statusText.connect([this](const std::string &text) { statusTextChanged.emit(text); });

    if (!profile.sandboxBarText().empty())
        showProblem(profile.sandboxBarText());
    if (profile.sandboxProblem().empty())
        startPageProcess();
    // After the page process is on its way: the rules compile meanwhile.
    addMakerFilter();
}

void WebKitPageView::startPageProcess()
{
    // The engine starts a page process only for a first load, and a blank
    // first load would stay in the history: a hidden view that shares the
    // page's process loads it instead, so the process is ready by the time
    // the first page is asked for.
    m_warmUp = WEBKIT_WEB_VIEW(webkit_web_view_new_with_related_view(m_view));
    g_object_ref_sink(m_warmUp);
    webkit_web_view_load_uri(m_warmUp, "about:blank");
}

void WebKitPageView::dropWarmUp()
{
    if (!m_warmUp)
        return;
    gtk_widget_destroy(GTK_WIDGET(m_warmUp));
    g_object_unref(m_warmUp);
    m_warmUp = nullptr;
}

WebKitPageView::~WebKitPageView()
{
    *m_alive = nullptr;
    dropWarmUp();
    m_preview.reset();
    m_downloads.reset();
    dropView();
    g_object_unref(m_settings);
}

void WebKitPageView::buildView()
{
    WebKitUserContentManager *content = webkit_user_content_manager_new();
    m_view = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", m_profile.context(),
                                          "user-content-manager", content, "settings", m_settings, nullptr));
    g_object_unref(content);
    g_object_ref_sink(m_view);
    // The guard answers first; what it lets through reaches the handlers below.
    m_guard = std::make_unique<WebKitPageGuard>(m_view, m_dialogs, [this] { return parentWindow(); }, m_overlay);

    g_signal_connect(m_view, "load-changed", G_CALLBACK(Handlers::loadChanged), this);
    g_signal_connect(m_view, "load-failed", G_CALLBACK(Handlers::loadFailed), this);
    g_signal_connect(m_view, "load-failed-with-tls-errors", G_CALLBACK(Handlers::tlsFailed), this);
    g_signal_connect(m_view, "notify::uri", G_CALLBACK(Handlers::uriChanged), this);
    g_signal_connect(m_view, "notify::title", G_CALLBACK(Handlers::titleChanged), this);
    g_signal_connect(m_view, "notify::estimated-load-progress", G_CALLBACK(Handlers::progressChanged), this);
    g_signal_connect(m_view, "mouse-target-changed", G_CALLBACK(Handlers::mouseTarget), this);
    g_signal_connect(m_view, "web-process-terminated", G_CALLBACK(Handlers::terminated), this);
    g_signal_connect(m_view, "create", G_CALLBACK(Handlers::create), this);
    g_signal_connect(m_view, "decide-policy", G_CALLBACK(Handlers::decidePolicy), this);

    Gtk::Widget *view = Glib::wrap(GTK_WIDGET(m_view));
    m_overlay.add(*view);
    view->show();
}

void WebKitPageView::addMakerFilter()
{
    if (WebKitUserContentFilter *filter = m_profile.makerFilter())
        webkit_user_content_manager_add_filter(webkit_web_view_get_user_content_manager(m_view), filter);
}

void WebKitPageView::dropView()
{
    if (!m_view)
        return;
    m_guard.reset();
    g_signal_handlers_disconnect_by_data(m_view, this);
    m_overlay.remove();
    gtk_widget_destroy(GTK_WIDGET(m_view));
    g_object_unref(m_view);
    m_view = nullptr;
}

Gtk::Window *WebKitPageView::parentWindow() const
{
    auto *top = const_cast<Gtk::Box &>(m_box).get_toplevel();
    return top && top->get_is_toplevel() ? dynamic_cast<Gtk::Window *>(top) : nullptr;
}

void WebKitPageView::showProblem(const std::string &text)
{
    m_problemText.set_text(text);
    m_problemBar.show();
}

void WebKitPageView::loadUri(const std::string &uri)
{
    // Without its sandbox the engine would either end the program or run
    // pages unguarded: no page is loaded, and the bar above says why.
    if (!m_profile.sandboxProblem().empty())
        return;
    m_crashes = 0;
    const auto own = makersite::toPrivate(uri);
    const std::string target = own ? *own : uri;
    if (makersite::isPrivate(target))
        m_pendingOwnLoad = target;
    webkit_web_view_load_uri(m_view, target.c_str());
}

void WebKitPageView::navigate(const std::string &address)
{
    loadUri(address);
}

void WebKitPageView::showHtml(const std::string &html, const std::string &baseAddress)
{
    if (!m_profile.sandboxProblem().empty())
        return;
    webkit_web_view_load_html(m_view, html.c_str(), baseAddress.c_str());
}

void WebKitPageView::showErrorPage(const std::string &page, const std::string &failingUri, const std::string &reason)
{
    if (!m_profile.sandboxProblem().empty())
        return;
    m_errorAddress = failingUri;
    std::string html = makersite::resourcePage(page);
    html = replaceAll(html, "{{ADDRESS}}", escaped(addressForUser(failingUri)));
    html = replaceAll(html, "{{REASON}}", escaped(reason));
    webkit_web_view_load_alternate_html(m_view, html.c_str(), failingUri.c_str(), nullptr);
}

bool WebKitPageView::goBack()
{
    if (!webkit_web_view_can_go_back(m_view))
        return false;
    webkit_web_view_go_back(m_view);
    return true;
}

bool WebKitPageView::goForward()
{
    if (!webkit_web_view_can_go_forward(m_view))
        return false;
    webkit_web_view_go_forward(m_view);
    return true;
}

void WebKitPageView::stop()
{
    webkit_web_view_stop_loading(m_view);
}

void WebKitPageView::refresh()
{
    m_crashes = 0;
    if (m_profile.sandboxBarText().empty())
        m_problemBar.hide();
    else
        showProblem(m_profile.sandboxBarText());
    if (!m_profile.sandboxProblem().empty())
        return;
    const char *shown = webkit_web_view_get_uri(m_view);
    // Reloading the explanation would only show it again: load the page itself.
    if (!m_errorAddress.empty() && shown && m_errorAddress == shown) {
        const std::string address = m_errorAddress;
        m_errorAddress.clear();
        loadUri(address);
        return;
    }
    m_errorAddress.clear();
    webkit_web_view_reload(m_view);
}

std::string WebKitPageView::currentAddress() const
{
    const char *uri = webkit_web_view_get_uri(m_view);
    return uri ? addressForUser(uri) : std::string();
}

std::string WebKitPageView::currentTitle() const
{
    const char *title = webkit_web_view_get_title(m_view);
    return title ? title : "";
}

void WebKitPageView::askToAcceptCertificate(const std::string &uri, void *certificate, unsigned problems)
{
    auto *tls = static_cast<GTlsCertificate *>(certificate);
    GUri *parsed = g_uri_parse(uri.c_str(), G_URI_FLAGS_NONE, nullptr);
    const std::string host = parsed && g_uri_get_host(parsed) ? g_uri_get_host(parsed) : "";
    if (parsed)
        g_uri_unref(parsed);
    const std::string shown = hostdisplay::hostForUser(uri);
    // Named after the site that sent the certificate, not the page shown before it.
    if (!host.empty() && m_guard->mayShowBox()
        && m_dialogs.confirm(parentWindow(),
                             "The certificate of " + shown + " cannot be trusted: " + certificateProblems(problems)
                                 + ".\n\nSomeone may be posing as this site. Go on to " + shown + " anyway?",
                             shown + " says", "_Go On", "_Stay Away")) {
        webkit_web_context_allow_tls_certificate_for_host(m_profile.context(), tls, host.c_str());
        loadUri(uri);
    } else {
        showErrorPage("failed.html", uri, untrusted(problems));
    }
    g_object_unref(tls);
}

bool WebKitPageView::certificateMayBeAccepted(unsigned problems)
{
    const unsigned acceptable =
        G_TLS_CERTIFICATE_UNKNOWN_CA | G_TLS_CERTIFICATE_BAD_IDENTITY | G_TLS_CERTIFICATE_EXPIRED | G_TLS_CERTIFICATE_NOT_ACTIVATED;
    return problems != 0 && (problems & ~acceptable) == 0;
}

std::string WebKitPageView::certificateProblems(unsigned problems)
{
    static const std::pair<unsigned, const char *> words[] = {
        {G_TLS_CERTIFICATE_UNKNOWN_CA, "it is not signed by a known authority"},
        {G_TLS_CERTIFICATE_BAD_IDENTITY, "it belongs to another site"},
        {G_TLS_CERTIFICATE_NOT_ACTIVATED, "it is not valid yet"},
        {G_TLS_CERTIFICATE_EXPIRED, "it has expired"},
        {G_TLS_CERTIFICATE_REVOKED, "it has been revoked"},
        {G_TLS_CERTIFICATE_INSECURE, "it uses weak encryption"},
        {G_TLS_CERTIFICATE_GENERIC_ERROR, "it is damaged"},
    };
    std::string text;
    for (const auto &[flag, word] : words) {
        if (problems & flag)
            text += (text.empty() ? "" : ", ") + std::string(word);
    }
    return text.empty() ? "it is not valid" : text;
}
