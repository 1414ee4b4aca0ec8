#include "engine/webkitpageview.h"

#include "engine/browsingdata.h"
#include "engine/contentblocking.h"
#include "engine/downloads.h"
#include "engine/engineprofile.h"
#include "engine/enginesetup.h"
#include "engine/fullscreennotice.h"
#include "engine/pagefinder.h"
#include "engine/pagemessages.h"
#include "engine/pagenavigations.h"
#include "engine/pagesecurity.h"
#include "engine/securefirst.h"
#include "engine/pageprinter.h"
#include "engine/pagequestions.h"
#include "engine/viewblocking.h"
#include "interfaces/dialogs.h"
#include "pagerules/errorpages.h"
#include "pagerules/hostdisplay.h"
#include "pagerules/makersite.h"
#include "util/later.h"
#include "window/problembar.h"

#include <algorithm>
#include <cstring>
#include <glibmm/main.h>
#include <webkit2/webkit2.h>

namespace {

// A load the engine names but never starts: a page's stop() can cancel the
// user's load before it is on its way, and the engine then says nothing.
constexpr unsigned StartWaitMs = 3000;
std::string addressForUser(const std::string &uri)
{
    return hostdisplay::forUser(makersite::toReal(uri));
}

} // namespace

// The engine's signals, one handler each, as plain functions with the page
// view as their data.
struct WebKitPageView::Handlers
{
    static void loadChanged(WebKitWebView *view, WebKitLoadEvent event, WebKitPageView *self)
    {
        const char *uri = webkit_web_view_get_uri(view);
        // Before the page asks for anything: the filter follows the page's site.
        if (event != WEBKIT_LOAD_FINISHED)
            self->m_blocking->loading(uri ? uri : "");
        if (event == WEBKIT_LOAD_STARTED) {
            const Load before = self->m_load;
            self->m_load = Load();
            self->m_load.active = true;
            self->m_load.uri = uri ? uri : "";
            self->m_load.own = self->m_ownLoadPending;
            self->m_load.errorPage = self->m_errorPagePending;
            // A load of the page's own that starts over the user's takes its place.
            if (before.own && !before.errorPage && !before.committed && before.end != Load::End::Explained
                && !self->m_load.own)
                self->m_load.replaced = before.uri;
            self->m_ownLoadPending = false;
            self->m_errorPagePending = false;
            self->m_requestedUri.clear();
            self->m_startWait.disconnect();
            self->m_profile.watchNetwork();
            self->loadStarted.emit();
        } else if (event == WEBKIT_LOAD_REDIRECTED) {
            // The site answered: over https, its secure connection works.
            self->m_secureFirst->answered(self->m_load.uri);
            self->m_load.uri = uri ? uri : "";
        } else if (event == WEBKIT_LOAD_COMMITTED) {
            self->m_blocking->committed();
            // Another load (the page's own) took the place of the user's.
            if (self->m_load.own && !self->m_load.errorPage && uri && self->m_load.uri != uri) {
                self->m_load.replaced = self->m_load.uri;
                self->m_load.uri = uri;
                self->m_load.own = false;
            }
            self->m_load.committed = true;
            self->m_showingErrorPage = self->m_load.errorPage;
            // A new document: what the old one asked is void, and the count of
            // boxes and the frames start afresh.
            self->m_questions->newPage();
            self->m_guard.pageChanged();
            self->m_secureFirst->answered(uri ? uri : "");
            self->m_insecureContent = false;
            self->showAddress(uri);
            if (self->m_load.errorPage && uri && self->m_refusedUri == uri) {
                self->m_security = pagesecurity::refused(uri, self->m_refusedProblems);
                self->securityChanged.emit();
            } else {
                self->updateSecurity(self->m_load.errorPage ? std::string() : std::string(uri ? uri : ""));
            }
            self->loadCommitted.emit();
        } else if (event == WEBKIT_LOAD_FINISHED) {
            self->m_blocking->loaded();
            if (!self->m_ownLoadPending)
                self->showAddress(uri);
            const Load ended = self->m_load;
            self->m_load = Load();
            self->loadFinished.emit(self->currentAddress());
            // The user's load gave way (to Stop, to the page's own stop or
            // load, to a download) with another page on screen: unless
            // another of the user's loads follows, say so.
            std::string without = ended.replaced;
            if (ended.own && !ended.errorPage && !ended.committed && ended.end != Load::End::Explained)
                without = ended.uri;
            if (!without.empty() && !self->m_ownLoadPending)
                self->loadEndedWithoutPage.emit(addressForUser(without),
                                                ended.replaced.empty() && ended.end == Load::End::Downloaded);
        }
    }

    static gboolean loadFailed(WebKitWebView *, WebKitLoadEvent, const char *uri, GError *error, WebKitPageView *self)
    {
        Load::End &end = self->m_load.end;
        if (end == Load::End::Explained)
            return TRUE;
        // Stopped on purpose, or handed over to the downloads: nothing to explain.
        if (g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED)) {
            end = Load::End::Stopped;
            return TRUE;
        }
        if (g_error_matches(error, WEBKIT_POLICY_ERROR, WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE)
            || g_error_matches(error, WEBKIT_PLUGIN_ERROR, WEBKIT_PLUGIN_ERROR_WILL_HANDLE_LOAD)) {
            end = Load::End::Downloaded;
            return TRUE;
        }
        // The engine's "internal error": its network process went away.
        if (error && error->domain == g_quark_from_static_string("WebKitErrorDomain") && error->code == 300) {
            end = Load::End::Stopped;
            self->connectionStopped(uri ? uri : "");
            return TRUE;
        }
        end = Load::End::Explained;
        // A typed address's secure attempt failed: its http form loads instead.
        if (self->m_secureFirst->failed(uri ? uri : ""))
            return TRUE;
        self->m_errors->loadFailed(uri ? uri : "", error ? error->message : "",
                                   error && error->domain == G_RESOLVER_ERROR);
        return TRUE;
    }

    static gboolean tlsFailed(WebKitWebView *, const char *uri, GTlsCertificate *certificate,
                              GTlsCertificateFlags problems, WebKitPageView *self)
    {
        const std::string failing = uri ? uri : "";
        // The question or the page below says why the page is not there.
        self->m_load.end = Load::End::Explained;
        if (self->m_secureFirst->failed(failing))
            return TRUE;
        self->m_refusedUri = failing;
        self->m_refusedProblems = problems;
        if (!PageGuard::certificateMayBeAccepted(problems) || !certificate) {
            self->m_errors->untrusted(failing, problems);
            return TRUE;
        }
        const sigc::slot<void(bool)> answer = sigc::track_obj([self, failing, problems](bool goOn) {
            goOn ? self->loadUri(failing) : self->m_errors->untrusted(failing, problems);
        }, *self);
        self->m_questions->certificate(failing, certificate, problems, answer);
        return TRUE;
    }

    static void uriChanged(WebKitWebView *view, GParamSpec *, WebKitPageView *self)
    {
        // While a load is on its way the engine already names its target:
        // the address shown changes when the new page replaces the old one.
        if (!self->m_ownLoadPending && !webkit_web_view_is_loading(view))
            self->showAddress(webkit_web_view_get_uri(view));
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
        const char *link =
            webkit_hit_test_result_context_is_link(hit) ? webkit_hit_test_result_get_link_uri(hit) : nullptr;
        const std::string text = link ? addressForUser(link) : std::string();
        if (text == self->m_lastLink)
            return;
        self->m_lastLink = text;
        self->statusTextChanged.emit(text);
    }

    static void terminated(WebKitWebView *, WebKitWebProcessTerminationReason reason, WebKitPageView *self)
    {
        if (reason == WEBKIT_WEB_PROCESS_TERMINATED_BY_API)
            return;
        const std::string address = self->crashedAddress();
        // The load went with the process.
        self->m_load = Load();
        self->m_requestedUri.clear();
        if (!self->m_errors->processEnded()) {
            self->m_problemBar.say("The page process keeps ending, so this page cannot be shown. "
                              "Click Refresh to try again.");
            return;
        }
        const bool overMemory = reason == WEBKIT_WEB_PROCESS_EXCEEDED_MEMORY_LIMIT;
        // Not from inside the engine's call: it is still tearing the page down.
        runLater(*self, [self, address, overMemory] { self->m_errors->crashed(address, overMemory); });
    }

    // What the page process's extension says: one handler for all of its messages.
    static gboolean pageMessage(WebKitWebView *, WebKitUserMessage *message, WebKitPageView *self)
    {
        const char *name = webkit_user_message_get_name(message);
        GVariant *parameters = webkit_user_message_get_parameters(message);
        const char *text = parameters && g_variant_is_of_type(parameters, G_VARIANT_TYPE_STRING)
                               ? g_variant_get_string(parameters, nullptr)
                               : nullptr;
        if (std::strcmp(name, SKIMLARK_FRAME_MESSAGE) == 0) {
            if (text)
                self->m_guard.frameSeen(text);
            return TRUE;
        }
        if (std::strcmp(name, SKIMLARK_ACTIVATION_MESSAGE) == 0) {
            const std::string place = text ? text : "frame";
            self->m_guard.userActed(place != "page", place == "frame leading", g_get_monotonic_time());
            return TRUE;
        }
        return self->m_blocking->message(message);
    }
};

WebKitPageView::WebKitPageView(std::unique_ptr<EngineProfile> profile, Dialogs &dialogs)
    : WebKitPageView(*profile, dialogs)
{
    m_ownProfile = std::move(profile);
}

WebKitPageView::WebKitPageView(EngineProfile &profile, Dialogs &dialogs)
    : m_profile(profile), m_dialogs(dialogs)
{
    m_settings = webkit_settings_new();
    g_object_ref_sink(m_settings);
    webkit_settings_set_user_agent_with_application_details(m_settings, "Skimlark", SKIMLARK_VERSION);
    // A page opened from a file reads no other file and reaches no other site.
    webkit_settings_set_allow_file_access_from_file_urls(m_settings, FALSE);
    webkit_settings_set_allow_universal_access_from_file_urls(m_settings, FALSE);
    webkit_settings_set_javascript_can_open_windows_automatically(m_settings, FALSE);
    // How pages are drawn (the GPU where there is one): the engine set-up's rule.
    skimlark_engine_apply_drawing_path(m_settings);

    m_box.pack_start(m_problemBar, Gtk::PACK_SHRINK);
    m_box.pack_start(m_overlay, Gtk::PACK_EXPAND_WIDGET);
    m_box.get_accessible()->set_name("Web page");
    m_overlay.show();
    m_box.show();

    // A page's questions show over it, as long as the page itself at most.
    m_overlay.add_overlay(m_questionPanel);
    m_overlay.signal_size_allocate().connect(
        [this](Gtk::Allocation &area) { m_questionPanel.setMostHeight(std::max(60, area.get_height() * 2 / 3)); });

    auto parent = [this] { return parentWindow(); };
    m_printer = std::make_unique<PagePrinter>([this] { return m_view; }, parent,
                                              [this](const std::string &text) { statusTextChanged.emit(text); });
    PageQuestions::Hooks asking;
    asking.parent = parent;
    asking.context = profile.context();
    asking.stayed = [this] {
        // The user stays on the page that asked: their load never starts.
        m_ownLoadPending = false;
        const std::string asked = m_requestedUri;
        m_requestedUri.clear();
        if (!asked.empty())
            loadEndedWithoutPage.emit(addressForUser(asked), false);
    };
    asking.print = [this](WebKitPrintOperation *operation, std::function<void()> closed) {
        return m_printer->showDialog(operation, std::move(closed));
    };
    asking.site = [this] { return PageGuard::shownHost(m_shownUri); };
    // Answered with the keyboard, the question gives it back to the page.
    m_questionPanel.keyboardLeft.connect(sigc::mem_fun(*this, &WebKitPageView::takeFocus));
    m_questions = std::make_unique<PageQuestions>(m_guard, m_questionPanel, std::move(asking));
    m_fullScreen = std::make_unique<FullScreenNotice>(m_overlay);
    PageNavigations::Hooks navigation;
    navigation.view = [this] { return m_view; };
    navigation.shownUri = [this] { return m_shownUri; };
    navigation.load = [this](const std::string &address) { loadUri(address); };
    navigation.localScheme = [this](const std::string &address) { return localScheme(address); };
    navigation.status = [this](const std::string &text) { statusTextChanged.emit(text); };
    m_navigations = std::make_unique<PageNavigations>(m_guard, *m_questions, std::move(navigation));
    m_finder = std::make_unique<PageFinder>([this] { return m_view; },
                                            [this](int current, int total) { findResult.emit(current, total); });
    m_errors = std::make_unique<ErrorPages>([this](const std::string &html, const std::string &address) {
        if (!m_profile.sandboxProblem().empty())
            return;
        m_ownLoadPending = true;
        m_errorPagePending = true;
        m_requestedUri.clear();
        webkit_web_view_load_alternate_html(m_view, html.c_str(), address.c_str(), nullptr);
    });
    m_blocking = std::make_unique<ViewBlocking>(profile.contentBlocking(), [this] { return m_view; });
    m_blocking->changed.connect([this] { pageBlockingChanged.emit(); });
    m_blocking->choice.connect([this](const std::string &host, bool allow) { adsChoice.emit(host, allow); });
    m_listsChanged = profile.contentBlocking().changed.connect([this] { blockingChanged.emit(); });
    m_secureFirst = std::make_unique<SecureFirst>([this](const std::string &http) { loadUri(http); });
    buildView();
    Downloads::Hooks hooks;
    hooks.view = [this] { return m_view; };
    hooks.askWhere = [this](const std::string &text, const std::string &path,
                            std::function<void(const std::string &)> reply) {
        m_questions->saveFile(text, path, std::move(reply));
    };
    m_downloads = std::make_unique<Downloads>(profile.context(), std::move(hooks));
    m_downloads->statusText.connect([this](const std::string &text) { statusTextChanged.emit(text); });
    m_downloads->changed.connect([this](const Download &download) { downloadChanged.emit(download); });

    if (!profile.sandboxBarText().empty())
        m_problemBar.say(profile.sandboxBarText());
    addMakerFilter();
    m_networkEnded = profile.networkEnded.connect([this] { networkEnded(); });
}

WebKitPageView::~WebKitPageView()
{
    m_networkEnded.disconnect();
    m_startWait.disconnect();
    m_secureFirst.reset();
    m_placing.disconnect();
    m_listsChanged.disconnect();
    m_downloads.reset();
    m_printer.reset();
    m_navigations.reset();
    // Whatever the page still asks is answered as cancelled.
    m_questions.reset();
    dropView();
    m_blocking.reset();
    m_fullScreen.reset();
    g_object_unref(m_settings);
}

void WebKitPageView::buildView()
{
    WebKitUserContentManager *content = webkit_user_content_manager_new();
    m_view = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", m_profile.context(),
                                          "user-content-manager", content, "settings", m_settings, nullptr));
    g_object_unref(content);
    g_object_ref_sink(m_view);
    connectSignals();
    Gtk::Widget *view = Glib::wrap(GTK_WIDGET(m_view));
    m_overlay.add(*view);
    view->show();
}

void WebKitPageView::connectSignals()
{
    using Self = WebKitPageView;
    const std::pair<const char *, GCallback> signals[] = {
        {"load-changed", G_CALLBACK(Handlers::loadChanged)},
        {"load-failed", G_CALLBACK(Handlers::loadFailed)},
        {"load-failed-with-tls-errors", G_CALLBACK(Handlers::tlsFailed)},
        {"notify::uri", G_CALLBACK(Handlers::uriChanged)},
        {"notify::title", G_CALLBACK(Handlers::titleChanged)},
        {"notify::estimated-load-progress", G_CALLBACK(Handlers::progressChanged)},
        {"mouse-target-changed", G_CALLBACK(Handlers::mouseTarget)},
        {"web-process-terminated", G_CALLBACK(Handlers::terminated)},
        {"insecure-content-detected", G_CALLBACK(+[](WebKitWebView *, WebKitInsecureContentEvent, Self *self) {
             self->m_insecureContent = true;
             self->updateSecurity(self->m_security.level == Security::Level::Unknown ? std::string() : self->m_shownUri);
         })},
        // What a page asks to open: the guard decides, through our navigations.
        {"decide-policy", G_CALLBACK(+[](WebKitWebView *, WebKitPolicyDecision *decision,
                                         WebKitPolicyDecisionType type, Self *self) -> gboolean {
             if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) {
                 auto *answer = WEBKIT_RESPONSE_POLICY_DECISION(decision);
                 if (webkit_response_policy_decision_is_main_frame_main_resource(answer)) {
                     WebKitURIResponse *response = webkit_response_policy_decision_get_response(answer);
                     const char *answered = webkit_uri_response_get_uri(response);
                     const std::string uri = answered ? answered : "";
                     // A gateway's error to a secure attempt: a proxy that could
                     // not reach the site over https says so this way, and the
                     // typed address's http form loads instead.
                     if (webkit_uri_response_get_status_code(response) >= 500
                         && self->m_secureFirst->attempting(uri)) {
                         webkit_policy_decision_ignore(decision);
                         self->m_secureFirst->failed(uri);
                         return TRUE;
                     }
                     self->m_secureFirst->answered(uri);
                 }
                 return self->m_navigations->decideResponse(decision);
             }
             return self->m_navigations->decide(decision, type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION);
         })},
        {"create", G_CALLBACK(+[](WebKitWebView *, WebKitNavigationAction *action, Self *self) -> GtkWidget * {
             self->m_navigations->newWindow(action);
             return nullptr;
         })},
        {"context-menu", G_CALLBACK(+[](WebKitWebView *, WebKitContextMenu *menu, GdkEvent *,
                                        WebKitHitTestResult *hit, Self *self) -> gboolean {
             self->m_navigations->contextMenu(menu, hit);
             self->m_blocking->contextMenu(menu, self->m_shownUri);
             return FALSE;
         })},
        {"user-message-received", G_CALLBACK(Handlers::pageMessage)},
        // What a page asks the user: answered later, in the page's own area.
        {"script-dialog", G_CALLBACK(+[](WebKitWebView *, WebKitScriptDialog *box, Self *self) -> gboolean {
             self->m_questions->scriptDialog(box, self->m_guard.boxTitle(self->m_shownUri));
             return TRUE;
         })},
        {"authenticate", G_CALLBACK(+[](WebKitWebView *view, WebKitAuthenticationRequest *request, Self *self) -> gboolean {
             // The site asks who the user is: its connection works.
             if (const char *uri = webkit_web_view_get_uri(view))
                 self->m_secureFirst->answered(uri);
             self->m_questions->signIn(request);
             return TRUE;
         })},
        {"permission-request", G_CALLBACK(+[](WebKitWebView *, WebKitPermissionRequest *request, Self *self) -> gboolean {
             self->m_questions->permission(request, self->m_shownUri);
             return TRUE;
         })},
        {"query-permission-state",
         G_CALLBACK(+[](WebKitWebView *, WebKitPermissionStateQuery *query, Self *self) -> gboolean {
             self->m_questions->permissionState(query);
             return TRUE;
         })},
        {"run-file-chooser", G_CALLBACK(+[](WebKitWebView *, WebKitFileChooserRequest *request, Self *self) -> gboolean {
             self->m_questions->files(request, self->m_guard.asker(self->m_shownUri));
             return TRUE;
         })},
        // Asked in the page like any box it opens, never the engine's own modal dialog.
        {"print", G_CALLBACK(+[](WebKitWebView *, WebKitPrintOperation *operation, Self *self) -> gboolean {
             self->m_questions->print(operation, self->m_shownUri);
             return TRUE;
         })},
        // As in other browsers: the page goes full screen, and a notice says
        // whose page it is and how to leave.
        {"enter-fullscreen", G_CALLBACK(+[](WebKitWebView *view, Self *self) -> gboolean {
             self->m_fullScreen->entered(view, PageGuard::shownHost(self->m_shownUri));
             return FALSE;
         })},
        {"leave-fullscreen", G_CALLBACK(+[](WebKitWebView *, Self *self) -> gboolean {
             self->m_fullScreen->left();
             return FALSE;
         })},
    };
    for (const auto &[name, handler] : signals)
        g_signal_connect(m_view, name, handler, this);
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
    // What the old view's page asked goes with it.
    if (m_questions)
        m_questions->cancelAll(true);
    m_fullScreen->left();
    g_signal_handlers_disconnect_by_data(webkit_web_view_get_user_content_manager(m_view), this);
    g_signal_handlers_disconnect_by_data(m_view, this);
    m_overlay.remove();
    gtk_widget_destroy(GTK_WIDGET(m_view));
    g_object_unref(m_view);
    m_view = nullptr;
}

void WebKitPageView::showQuestionsOver(Gtk::Overlay &layer)
{
    if (Gtk::Container *holder = m_questionPanel.get_parent())
        holder->remove(m_questionPanel);
    m_placing.disconnect();
    layer.add_overlay(m_questionPanel);
    // Ahead of the layer's own placing, which would put it at the top.
    m_placing = layer.signal_get_child_position().connect(sigc::mem_fun(*this, &WebKitPageView::placeQuestion), false);
}

bool WebKitPageView::placeQuestion(Gtk::Widget *child, Gdk::Rectangle &place)
{
    int left = 0, top = 0;
    if (child != &m_questionPanel || !m_overlay.translate_coordinates(*child->get_parent(), 0, 0, left, top))
        return false;
    const int width = m_overlay.get_allocated_width();
    int minimum = 0, natural = 0;
    m_questionPanel.get_preferred_width(minimum, natural);
    const int panelWidth = std::max(width, minimum);
    m_questionPanel.get_preferred_height_for_width(panelWidth, minimum, natural);
    place = Gdk::Rectangle(left, std::max(0, top - m_questionPanel.reach()), panelWidth, natural);
    return true;
}

bool WebKitPageView::focusQuestion()
{
    return m_questionPanel.letKeysIn();
}

Gtk::Window *WebKitPageView::parentWindow() const
{
    auto *top = const_cast<Gtk::Box &>(m_box).get_toplevel();
    return top && top->get_is_toplevel() ? dynamic_cast<Gtk::Window *>(top) : nullptr;
}

bool WebKitPageView::localScheme(const std::string &address) const
{
    const std::string scheme = PageGuard::schemeOf(address);
    return webkit_security_manager_uri_scheme_is_local(webkit_web_context_get_security_manager(m_profile.context()),
                                                       scheme.c_str());
}

std::string WebKitPageView::crashedAddress() const
{
    // The page asked for is named, not the one it was to replace.
    if (m_load.active && !m_load.committed && !m_load.errorPage && !m_load.uri.empty())
        return m_load.uri;
    if (!m_requestedUri.empty())
        return m_requestedUri;
    return m_shownUri.empty() ? "about:blank" : m_shownUri;
}

void WebKitPageView::networkEnded()
{
    // The engine mostly fails such a load itself, and now and then leaves it
    // waiting: either way it ends, and the user reads the same words once.
    if (!m_load.active || m_load.errorPage || m_load.end != Load::End::None)
        return;
    connectionStopped(m_load.uri);
    webkit_web_view_stop_loading(m_view);
}

void WebKitPageView::connectionStopped(const std::string &uri)
{
    // Said above the page, not in a page: right after its network process
    // ended, the engine may leave a page of ours loading for ever.
    m_retryUri = uri;
    m_problemBar.say("While Skimlark was loading " + addressForUser(uri)
                     + ", the part of Skimlark that connects to the network stopped. The address is fine: "
                       "click Refresh to try again.");
}

void WebKitPageView::showAddress(const char *uri)
{
    const std::string address = uri ? uri : "";
    if (address == m_shownUri)
        return;
    m_shownUri = address;
    urlChanged.emit(currentAddress());
}

void WebKitPageView::loadUri(const std::string &uri)
{
    // Without its sandbox the engine would either end the program or run
    // pages unguarded: no page is loaded, and the bar above says why.
    if (!m_profile.sandboxProblem().empty())
        return;
    m_errors->userAsked();
    // A new load: what the network process's end cut short is behind us.
    if (!m_retryUri.empty()) {
        m_retryUri.clear();
        if (m_profile.sandboxBarText().empty())
            m_problemBar.hide();
        else
            m_problemBar.say(m_profile.sandboxBarText());
    }
    const auto own = makersite::toPrivate(uri);
    const std::string target = own ? *own : uri;
    if (makersite::isPrivate(target))
        m_navigations->expectOwnLoad(target);
    m_ownLoadPending = true;
    // The page's document takes the filter as its load starts: set it first.
    m_blocking->loading(target);
    m_requestedUri = target;
    webkit_web_view_load_uri(m_view, target.c_str());
    // Named as the engine writes it ("http://a.test/"), for a page process
    // that ends before the load starts.
    const char *named = webkit_web_view_get_uri(m_view);
    if (m_ownLoadPending && named)
        m_requestedUri = named;
    m_startWait.disconnect();
    m_startWait = Glib::signal_timeout().connect(
        [this] {
            if (!m_ownLoadPending || m_requestedUri.empty())
                return false;
            // The page may be asking first whether it may be left.
            if (m_questionPanel.asking())
                return true;
            const std::string asked = m_requestedUri;
            m_ownLoadPending = false;
            m_requestedUri.clear();
            loadEndedWithoutPage.emit(addressForUser(asked), false);
            return false;
        },
        StartWaitMs);
}

void WebKitPageView::navigate(const std::string &address)
{
    // Leaving the page answers what it asked.
    m_questions->cancelAll(true);
    m_secureFirst->cancel();
    loadUri(address);
}

void WebKitPageView::navigateSecureFirst(const std::string &httpsAddress)
{
    m_questions->cancelAll(true);
    // The maker's pages are answered here, over their own address.
    const std::string http = "http" + httpsAddress.substr(5);
    if (makersite::toPrivate(http))
        return navigate(http);
    loadUri(m_secureFirst->start(httpsAddress));
}

void WebKitPageView::updateSecurity(const std::string &uri)
{
    m_security = pagesecurity::of(m_view, uri, m_insecureContent);
    securityChanged.emit();
}

void WebKitPageView::offerSearch(std::function<std::string(const std::string &words)> queryFor)
{
    m_errors->offerSearch(std::move(queryFor));
}

void WebKitPageView::replacePage(const std::string &address)
{
    if (!m_profile.sandboxProblem().empty())
        return;
    m_questions->cancelAll(true);
    m_secureFirst->cancel();
    const auto own = makersite::toPrivate(address);
    const std::string target = own ? *own : address;
    if (makersite::isPrivate(target))
        m_navigations->expectOwnLoad(target);
    m_navigations->navigateAsPage(target, PageNavigations::Entry::Replace);
}

void WebKitPageView::showHtml(const std::string &html, const std::string &baseAddress)
{
    if (!m_profile.sandboxProblem().empty())
        return;
    m_ownLoadPending = true;
    webkit_web_view_load_html(m_view, html.c_str(), baseAddress.c_str());
}

bool WebKitPageView::goBack()
{
    WebKitBackForwardListItem *item = webkit_back_forward_list_get_back_item(webkit_web_view_get_back_forward_list(m_view));
    if (item)
        m_blocking->loading(webkit_back_forward_list_item_get_uri(item));
    return stepInHistory(webkit_web_view_can_go_back, webkit_web_view_go_back);
}

bool WebKitPageView::goForward()
{
    WebKitBackForwardListItem *item =
        webkit_back_forward_list_get_forward_item(webkit_web_view_get_back_forward_list(m_view));
    if (item)
        m_blocking->loading(webkit_back_forward_list_item_get_uri(item));
    return stepInHistory(webkit_web_view_can_go_forward, webkit_web_view_go_forward);
}

bool WebKitPageView::stepInHistory(gboolean (*can)(WebKitWebView *), void (*go)(WebKitWebView *))
{
    if (!can(m_view))
        return false;
    // Leaving the page answers what it asked.
    m_questions->cancelAll(true);
    m_secureFirst->cancel();
    m_ownLoadPending = true;
    go(m_view);
    return true;
}

void WebKitPageView::stop()
{
    // The page stays: asked whether it may be left, it is not.
    m_questions->cancelAll(false);
    m_secureFirst->cancel();
    webkit_web_view_stop_loading(m_view);
}

void WebKitPageView::refresh()
{
    m_questions->cancelAll(true);
    m_secureFirst->cancel();
    if (m_profile.sandboxBarText().empty())
        m_problemBar.hide();
    else
        m_problemBar.say(m_profile.sandboxBarText());
    if (!m_profile.sandboxProblem().empty())
        return;
    // The load the network process's end cut short is tried again.
    if (const std::string retry = m_retryUri; !retry.empty())
        return loadUri(retry);
    // Reloading the explanation would only show it again: load the page itself.
    const std::string behind = m_errors->takeRefreshTarget(m_shownUri);
    if (!behind.empty())
        return loadUri(behind);
    m_blocking->loading(m_shownUri);
    webkit_web_view_reload(m_view);
}

std::string WebKitPageView::currentAddress() const
{
    return m_shownUri.empty() ? std::string() : addressForUser(m_shownUri);
}

bool WebKitPageView::showingErrorPage() const
{
    return m_showingErrorPage;
}

std::string WebKitPageView::currentTitle() const
{
    const char *title = webkit_web_view_get_title(m_view);
    return title ? title : "";
}

bool WebKitPageView::print()
{
    return m_printer->print();
}

bool WebKitPageView::printPreview()
{
    return m_printer->preview();
}

bool WebKitPageView::saveAs()
{
    return m_downloads->savePage(m_view, m_dialogs, parentWindow());
}

void WebKitPageView::takeFocus()
{
    gtk_widget_grab_focus(GTK_WIDGET(m_view));
}

double WebKitPageView::zoomLevel() const
{
    return webkit_web_view_get_zoom_level(m_view);
}

void WebKitPageView::setZoomLevel(double level)
{
    if (level == webkit_web_view_get_zoom_level(m_view))
        return;
    webkit_web_view_set_zoom_level(m_view, level);
    zoomChanged.emit(webkit_web_view_get_zoom_level(m_view));
}

void WebKitPageView::findText(const std::string &text, bool backward)
{
    m_finder->find(text, backward);
}

void WebKitPageView::setJavaScriptEnabled(bool enabled)
{
    webkit_settings_set_enable_javascript(m_settings, enabled);
}

void WebKitPageView::setImagesEnabled(bool enabled)
{
    webkit_settings_set_auto_load_images(m_settings, enabled);
}

void WebKitPageView::clearBrowsingData(std::function<void(bool ok, const std::string &what)> done)
{
    // The page is left first, its process ended: a page still running would
    // write its cookie and storage back as soon as they were gone. The new
    // view stays blank until the data is, and starts without a back and
    // forward list, which the engine cannot empty.
    const std::string shown = m_shownUri;
    m_questions->cancelAll(true);
    webkit_web_view_terminate_web_process(m_view);
    dropView();
    // A load on its way went with the old view.
    m_load = Load();
    m_requestedUri.clear();
    buildView();
    addMakerFilter();
    m_blocking->viewReplaced();
    const sigc::slot<void()> comeBack = sigc::track_obj([this, shown] {
        const bool reload = shown.rfind("http", 0) == 0 || makersite::isPrivate(shown);
        loadUri(reload ? shown : "about:blank");
    }, *this);
    browsingdata::clear(m_profile.dataManager(), [comeBack, done](bool ok, const std::string &what) {
        comeBack();
        if (done)
            done(ok, what);
    });
}

void WebKitPageView::setBlockingEnabled(bool on)
{
    m_blocking->setEnabled(on);
}

void WebKitPageView::setAdsAllowed(std::function<bool(const std::string &host)> allowed)
{
    m_blocking->setAllowed(std::move(allowed));
}

PageView::Blocking WebKitPageView::blocking() const
{
    return m_profile.contentBlocking().status();
}

PageView::PageBlocking WebKitPageView::pageBlocking() const
{
    return m_blocking->state();
}

void WebKitPageView::cancelDownload(unsigned id)
{
    m_downloads->cancel(id);
}
