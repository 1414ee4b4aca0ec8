#include "browser/webkitpageguard.h"

#include "browser/dialogs.h"
#include "browser/hostdisplay.h"
#include "browser/pageguardrules.h"

#include <deque>
#include <gtkmm.h>
#include <webkit2/webkit2.h>

using pageguard::Permission;

namespace {

const char ProgramTitle[] = "Skimlark";
const char BlockQuestion[] = "Stop this page from opening more boxes?";
const char FullScreenNotice[] = "Press Esc to leave full screen";
// Scripts of ours that the page must not reach run in a world of their own.
const char GuardWorld[] = "skimlark-guard";
// Frames tell which origin a box comes from; the page can only make that
// vaguer (its own frames' messages are never shown as a host).
const char OriginMessage[] = "skimlarkBoxOrigin";
const char OriginScript[] = R"JS((function () {
  var handlers = window.webkit && window.webkit.messageHandlers;
  var post = handlers && handlers.skimlarkBoxOrigin;
  if (!post) return;
  var origin = String(self.origin);
  ['alert', 'confirm', 'prompt'].forEach(function (name) {
    var box = window[name];
    window[name] = function () {
      try { post.postMessage(origin); } catch (e) {}
      return box.apply(this, arguments);
    };
  });
})();)JS";

std::string originOf(const char *address)
{
    if (!address)
        return "";
    WebKitSecurityOrigin *origin = webkit_security_origin_new_for_uri(address);
    gchar *text = webkit_security_origin_to_string(origin);
    std::string result = text ? text : "";
    g_free(text);
    webkit_security_origin_unref(origin);
    return result;
}

Permission permissionKind(WebKitPermissionRequest *request)
{
    if (WEBKIT_IS_GEOLOCATION_PERMISSION_REQUEST(request))
        return Permission::Location;
    if (WEBKIT_IS_NOTIFICATION_PERMISSION_REQUEST(request))
        return Permission::Notifications;
    if (WEBKIT_IS_USER_MEDIA_PERMISSION_REQUEST(request)) {
        auto *media = WEBKIT_USER_MEDIA_PERMISSION_REQUEST(request);
        if (webkit_user_media_permission_is_for_display_device(media))
            return Permission::Screen;
        const bool audio = webkit_user_media_permission_is_for_audio_device(media);
        const bool video = webkit_user_media_permission_is_for_video_device(media);
        return audio && video ? Permission::CameraAndMicrophone
               : video        ? Permission::Camera
                              : Permission::Microphone;
    }
    if (WEBKIT_IS_CLIPBOARD_PERMISSION_REQUEST(request))
        return Permission::Clipboard;
    if (WEBKIT_IS_POINTER_LOCK_PERMISSION_REQUEST(request))
        return Permission::PointerLock;
    if (WEBKIT_IS_DEVICE_INFO_PERMISSION_REQUEST(request))
        return Permission::DeviceInfo;
    if (WEBKIT_IS_MEDIA_KEY_SYSTEM_PERMISSION_REQUEST(request))
        return Permission::MediaKeys;
    if (WEBKIT_IS_WEBSITE_DATA_ACCESS_PERMISSION_REQUEST(request))
        return Permission::SiteData;
    return Permission::Other;
}

} // namespace

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
    std::string frameOrigin; // what the last frame to open a box said it was

    Impl(WebKitWebView *v, Dialogs &d, std::function<Gtk::Window *()> p)
        : view(v), dialogs(d), parent(std::move(p))
    {
        g_object_ref(view);
    }

    std::string address() const
    {
        const char *uri = webkit_web_view_get_uri(view);
        return uri ? uri : "";
    }
    std::string origin() const { return originOf(webkit_web_view_get_uri(view)); }

    std::string pageBoxTitle()
    {
        // A frame of another origin (a data: frame among them) gets no name:
        // the page around it must not lend it its own.
        const std::string reported = std::move(frameOrigin);
        frameOrigin.clear();
        if (!reported.empty() && reported != origin())
            return "a page says";
        return pageguard::boxTitle(address());
    }

    // Counts a box of the page's; false when boxes from this page are blocked.
    // From the fourth in a row, `offer` is set: the box offers to block them.
    bool countBox(bool &offer)
    {
        if (blocked)
            return false;
        offer = boxesInRow >= 3;
        ++boxesInRow;
        return true;
    }

    // For boxes that cannot offer the block themselves: asks first.
    bool mayShowBox()
    {
        bool offer = false;
        if (!countBox(offer))
            return false;
        if (!offer)
            return true;
        std::weak_ptr<int> stillHere = alive;
        const bool stop = dialogs.confirm(parent(), BlockQuestion, pageguard::boxTitle(address()),
                                          "_Stop", "_Allow");
        if (stillHere.expired())
            return false;
        blocked = stop;
        return !stop;
    }

    void enqueue(Pending item)
    {
        pending.push_back(std::move(item));
        schedule();
    }
    void schedule()
    {
        if (asking || pending.empty() || pumpIdle.connected())
            return;
        pumpIdle = Glib::signal_idle().connect([this] {
            pump();
            return false;
        });
    }
    void pump()
    {
        if (asking || pending.empty())
            return;
        Pending item = std::move(pending.front());
        pending.pop_front();
        std::weak_ptr<int> stillHere = alive;
        asking = true;
        item.ask(); // a modal: the window, and this guard, may be gone after it
        if (stillHere.expired())
            return;
        asking = false;
        schedule();
    }

    // --- script boxes ------------------------------------------------------

    // Sets the answer; a box kept for later is closed and let go as well.
    static void finishScriptBox(WebKitScriptDialog *box, const Dialogs::PageBoxAnswer &answer,
                                bool kept = true)
    {
        switch (webkit_script_dialog_get_dialog_type(box)) {
        case WEBKIT_SCRIPT_DIALOG_CONFIRM:
        case WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM:
            webkit_script_dialog_confirm_set_confirmed(box, answer.accepted);
            break;
        case WEBKIT_SCRIPT_DIALOG_PROMPT:
            if (answer.accepted)
                webkit_script_dialog_prompt_set_text(box, answer.text.c_str());
            break;
        default:
            break;
        }
        if (!kept)
            return;
        webkit_script_dialog_close(box);
        webkit_script_dialog_unref(box);
    }
    // What a box counts as when nobody is asked: cancelled, except that
    // leaving a page is never refused, so the window can always close.
    static Dialogs::PageBoxAnswer unasked(WebKitScriptDialog *box)
    {
        Dialogs::PageBoxAnswer answer;
        answer.accepted =
            webkit_script_dialog_get_dialog_type(box) == WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM;
        return answer;
    }

    bool onScriptDialog(WebKitScriptDialog *box)
    {
        const std::string title = pageBoxTitle();
        bool offer = false;
        if (!countBox(offer)) {
            finishScriptBox(box, unasked(box), false);
            return TRUE;
        }
        webkit_script_dialog_ref(box);
        std::weak_ptr<int> stillHere = alive;
        enqueue({[this, box, title, offer, stillHere] {
                     Dialogs::PageBoxKind kind = Dialogs::PageBoxKind::Alert;
                     switch (webkit_script_dialog_get_dialog_type(box)) {
                     case WEBKIT_SCRIPT_DIALOG_CONFIRM: kind = Dialogs::PageBoxKind::Confirm; break;
                     case WEBKIT_SCRIPT_DIALOG_PROMPT: kind = Dialogs::PageBoxKind::Prompt; break;
                     case WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM:
                         kind = Dialogs::PageBoxKind::BeforeUnload;
                         break;
                     default: break;
                     }
                     const char *text = webkit_script_dialog_get_message(box);
                     const char *initial = kind == Dialogs::PageBoxKind::Prompt
                                               ? webkit_script_dialog_prompt_get_default_text(box)
                                               : "";
                     const auto answer = dialogs.pageBox(parent(), kind, title, text ? text : "",
                                                         initial ? initial : "", offer);
                     if (stillHere.expired()) {
                         finishScriptBox(box, unasked(box));
                         return;
                     }
                     blocked = blocked || answer.blockFurther;
                     finishScriptBox(box, answer);
                 },
                 [box] { finishScriptBox(box, unasked(box)); }});
        return TRUE;
    }

    // --- sign-in -----------------------------------------------------------

    bool onAuthenticate(WebKitAuthenticationRequest *request)
    {
        g_object_ref(request);
        std::weak_ptr<int> stillHere = alive;
        auto cancel = [request] {
            webkit_authentication_request_cancel(request);
            g_object_unref(request);
        };
        enqueue({[this, request, stillHere, cancel] {
                     if (!mayShowBox() || stillHere.expired())
                         return cancel();
                     const char *host = webkit_authentication_request_get_host(request);
                     const char *realm = webkit_authentication_request_get_realm(request);
                     const auto answer = dialogs.credentials(
                         parent(), pageguard::boxTitle(std::string("http://") + (host ? host : "")),
                         realm ? realm : "");
                     if (!answer)
                         return cancel();
                     WebKitCredential *credential =
                         webkit_credential_new(answer->user.c_str(), answer->password.c_str(),
                                               WEBKIT_CREDENTIAL_PERSISTENCE_FOR_SESSION);
                     webkit_authentication_request_authenticate(request, credential);
                     webkit_credential_free(credential);
                     g_object_unref(request);
                 },
                 cancel});
        return TRUE;
    }

    // --- other programs ----------------------------------------------------

    void askOtherProgram(const std::string &address)
    {
        const std::string scheme = pageguard::schemeOf(address);
        std::weak_ptr<int> stillHere = alive;
        enqueue({[this, address, scheme, stillHere] {
                     const std::string shown = hostdisplay::forUser(address);
                     Glib::RefPtr<Gio::AppInfo> program;
                     if (!scheme.empty())
                         program = Gio::AppInfo::get_default_for_uri_scheme(scheme);
                     if (!program) {
                         dialogs.message(parent(),
                                         "No program on this computer can open this address:\n\n" +
                                             shown,
                                         ProgramTitle);
                         return;
                     }
                     const bool yes = dialogs.confirm(
                         parent(),
                         "Open this address with " + program->get_display_name() + "?\n\n" + shown,
                         ProgramTitle, "_Open", "_Cancel");
                     if (!yes || stillHere.expired())
                         return;
                     try {
                         program->launch_uri(address);
                     } catch (const Glib::Error &error) {
                         dialogs.message(parent(), program->get_display_name() +
                                                       " could not be started: " + error.what(),
                                         ProgramTitle);
                     }
                 },
                 [] {}});
    }

    bool localScheme(const std::string &scheme) const
    {
        WebKitWebContext *context = webkit_web_view_get_context(view);
        return context && webkit_security_manager_uri_scheme_is_local(
                              webkit_web_context_get_security_manager(context), scheme.c_str());
    }

    bool onDecidePolicy(WebKitPolicyDecision *decision, WebKitPolicyDecisionType type)
    {
        if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE)
            return FALSE;
        WebKitNavigationAction *action = webkit_navigation_policy_decision_get_navigation_action(
            WEBKIT_NAVIGATION_POLICY_DECISION(decision));
        const char *uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
        const std::string address = uri ? uri : "";
        const std::string scheme = pageguard::schemeOf(address);
        if (!pageguard::engineScheme(scheme, localScheme(scheme))) {
            // Another program's address: nothing starts unless the user clicked and says so.
            webkit_policy_decision_ignore(decision);
            if (webkit_navigation_action_is_user_gesture(action))
                askOtherProgram(address);
            return TRUE;
        }
        // A data: or javascript: address never opens a window of its own. The
        // engine itself refuses a page's top-level navigation to data: (it lets
        // frames have them, and decide-policy does not say which frame asks).
        if (type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION &&
            pageguard::topLevelForbidden(address)) {
            webkit_policy_decision_ignore(decision);
            return TRUE;
        }
        return FALSE;
    }

    GtkWidget *onCreate(WebKitNavigationAction *action)
    {
        const char *uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
        const std::string address = uri ? uri : "";
        const std::string scheme = pageguard::schemeOf(address);
        const bool otherProgram =
            !address.empty() && !pageguard::engineScheme(scheme, localScheme(scheme));
        const bool gesture = webkit_navigation_action_is_user_gesture(action);
        if (gesture && !otherProgram && !pageguard::topLevelForbidden(address))
            return nullptr; // the page view's own handler opens it
        if (gesture && otherProgram)
            askOtherProgram(address);
        // Stop here: a NULL from the first handler would let the next one run.
        g_signal_stop_emission_by_name(view, "create");
        return nullptr;
    }

    // --- permissions -------------------------------------------------------

    bool onPermission(WebKitPermissionRequest *request)
    {
        const Permission kind = permissionKind(request);
        std::string key = origin();
        std::string who = pageguard::shownHost(address());
        if (WEBKIT_IS_WEBSITE_DATA_ACCESS_PERMISSION_REQUEST(request)) {
            auto *access = WEBKIT_WEBSITE_DATA_ACCESS_PERMISSION_REQUEST(request);
            const char *requesting =
                webkit_website_data_access_permission_request_get_requesting_domain(access);
            who = requesting ? requesting : "";
            key += std::string("|") + who;
        }
        const auto known = pageguard::PermissionMemory::recall(key, kind);
        if (known) {
            known.value() ? webkit_permission_request_allow(request)
                          : webkit_permission_request_deny(request);
            return TRUE;
        }
        g_object_ref(request);
        auto deny = [request] {
            webkit_permission_request_deny(request);
            g_object_unref(request);
        };
        std::weak_ptr<int> stillHere = alive;
        enqueue({[this, request, kind, key, who, stillHere, deny] {
                     // An earlier answer may have come while this one waited.
                     auto allowed = pageguard::PermissionMemory::recall(key, kind);
                     if (!allowed) {
                         allowed = dialogs.confirm(parent(),
                                                   pageguard::permissionQuestion(kind, who),
                                                   ProgramTitle, "_Allow", "_Deny");
                         pageguard::PermissionMemory::remember(key, kind, *allowed);
                     }
                     if (!*allowed || stillHere.expired())
                         return deny();
                     webkit_permission_request_allow(request);
                     g_object_unref(request);
                 },
                 deny});
        return TRUE;
    }

    bool onQueryPermission(WebKitPermissionStateQuery *query)
    {
        const char *name = webkit_permission_state_query_get_name(query);
        const auto kind = pageguard::permissionNamed(name ? name : "");
        WebKitSecurityOrigin *queried = webkit_permission_state_query_get_security_origin(query);
        gchar *text = queried ? webkit_security_origin_to_string(queried) : nullptr;
        const auto known =
            kind && text ? pageguard::PermissionMemory::recall(text, *kind) : std::nullopt;
        g_free(text);
        webkit_permission_state_query_finish(query, !known ? WEBKIT_PERMISSION_STATE_PROMPT
                                                    : *known ? WEBKIT_PERMISSION_STATE_GRANTED
                                                             : WEBKIT_PERMISSION_STATE_DENIED);
        return TRUE;
    }

    // --- full screen -------------------------------------------------------

    bool onEnterFullScreen()
    {
        const std::string key = origin();
        auto allowed = pageguard::PermissionMemory::recall(key, Permission::FullScreen);
        if (!allowed && !asking) {
            // The engine wants the answer now, so this one question is asked in place.
            std::weak_ptr<int> stillHere = alive;
            asking = true;
            allowed = dialogs.confirm(
                parent(),
                pageguard::permissionQuestion(Permission::FullScreen,
                                              pageguard::shownHost(address())),
                ProgramTitle, "_Allow", "_Deny");
            if (stillHere.expired())
                return TRUE;
            asking = false;
            pageguard::PermissionMemory::remember(key, Permission::FullScreen, *allowed);
            schedule();
        }
        if (!allowed.value_or(false))
            return TRUE;
        fullScreen = true;
        watchEscape();
        showNotice();
        return FALSE;
    }

    void onLeaveFullScreen()
    {
        fullScreen = false;
        hideNotice();
    }

    void showNotice()
    {
        if (!notice)
            return;
        const std::string host = pageguard::shownHost(address());
        notice->set_text((host.empty() ? std::string() : host + "\n") + FullScreenNotice);
        notice->show();
        noticeTimer.disconnect();
        noticeTimer = Glib::signal_timeout().connect(
            [this] {
                hideNotice();
                return false;
            },
            4000);
    }
    void hideNotice()
    {
        noticeTimer.disconnect();
        if (notice)
            notice->hide();
    }

    void watchEscape()
    {
        GtkWidget *top = gtk_widget_get_toplevel(GTK_WIDGET(view));
        if (top == toplevel || !GTK_IS_WINDOW(top))
            return;
        unwatchEscape();
        toplevel = top;
        g_object_add_weak_pointer(G_OBJECT(toplevel), reinterpret_cast<gpointer *>(&toplevel));
        g_signal_connect(toplevel, "key-press-event", G_CALLBACK(+[](GtkWidget *, GdkEventKey *event,
                                                                     Impl *self) -> gboolean {
                             return self->onKey(event);
                         }),
                         this);
    }
    void unwatchEscape()
    {
        if (!toplevel)
            return;
        g_signal_handlers_disconnect_by_data(toplevel, this);
        g_object_remove_weak_pointer(G_OBJECT(toplevel), reinterpret_cast<gpointer *>(&toplevel));
        toplevel = nullptr;
    }

    // Esc leaves full screen whatever the page does with keys.
    gboolean onKey(GdkEventKey *event)
    {
        if (!fullScreen || event->keyval != GDK_KEY_Escape)
            return FALSE;
        leaveFullScreen();
        return TRUE;
    }
    void leaveFullScreen()
    {
        hideNotice();
        webkit_web_view_evaluate_javascript(view, "document.exitFullscreen()", -1, GuardWorld,
                                            nullptr, nullptr, nullptr, nullptr);
    }

    // --- file requests -----------------------------------------------------

    bool onFileChooser(WebKitFileChooserRequest *request)
    {
        g_object_ref(request);
        auto cancel = [request] {
            webkit_file_chooser_request_cancel(request);
            g_object_unref(request);
        };
        const std::string title = pageguard::boxTitle(address());
        std::weak_ptr<int> stillHere = alive;
        enqueue({[this, request, title, stillHere, cancel] {
                     // WebKitGTK does not tell a folder request (webkitdirectory) apart.
                     const auto files = dialogs.pageOpenFiles(
                         parent(), title, webkit_file_chooser_request_get_select_multiple(request),
                         false);
                     if (files.empty() || stillHere.expired())
                         return cancel();
                     std::vector<const gchar *> paths;
                     for (const std::string &file : files)
                         paths.push_back(file.c_str());
                     if (!webkit_file_chooser_request_get_select_multiple(request))
                         paths.resize(1);
                     paths.push_back(nullptr);
                     webkit_file_chooser_request_select_files(request, paths.data());
                     g_object_unref(request);
                 },
                 cancel});
        return TRUE;
    }

    // --- page life ---------------------------------------------------------

    void onLoadChanged(WebKitLoadEvent event)
    {
        if (event != WEBKIT_LOAD_COMMITTED)
            return;
        // A new document (another page, or this one reloaded) starts a fresh count.
        boxesInRow = 0;
        blocked = false;
        frameOrigin.clear();
    }

    void onOriginMessage(WebKitJavascriptResult *result)
    {
        JSCValue *value = webkit_javascript_result_get_js_value(result);
        gchar *text = jsc_value_is_string(value) ? jsc_value_to_string(value) : nullptr;
        frameOrigin = text ? text : "null";
        g_free(text);
    }

    void connect()
    {
        auto on = [this](gpointer instance, const char *signal, GCallback callback) {
            g_signal_connect(instance, signal, callback, this);
        };
        on(view, "script-dialog", G_CALLBACK(+[](WebKitWebView *, WebKitScriptDialog *box, Impl *self)
                                                 -> gboolean { return self->onScriptDialog(box); }));
        on(view, "authenticate",
           G_CALLBACK(+[](WebKitWebView *, WebKitAuthenticationRequest *request, Impl *self)
                          -> gboolean { return self->onAuthenticate(request); }));
        on(view, "decide-policy",
           G_CALLBACK(+[](WebKitWebView *, WebKitPolicyDecision *decision,
                          WebKitPolicyDecisionType type, Impl *self) -> gboolean {
               return self->onDecidePolicy(decision, type);
           }));
        on(view, "create",
           G_CALLBACK(+[](WebKitWebView *, WebKitNavigationAction *action, Impl *self)
                          -> GtkWidget * { return self->onCreate(action); }));
        on(view, "permission-request",
           G_CALLBACK(+[](WebKitWebView *, WebKitPermissionRequest *request, Impl *self)
                          -> gboolean { return self->onPermission(request); }));
        on(view, "query-permission-state",
           G_CALLBACK(+[](WebKitWebView *, WebKitPermissionStateQuery *query, Impl *self)
                          -> gboolean { return self->onQueryPermission(query); }));
        on(view, "enter-fullscreen", G_CALLBACK(+[](WebKitWebView *, Impl *self) -> gboolean {
               return self->onEnterFullScreen();
           }));
        on(view, "leave-fullscreen", G_CALLBACK(+[](WebKitWebView *, Impl *self) -> gboolean {
               self->onLeaveFullScreen();
               return FALSE;
           }));
        on(view, "run-file-chooser",
           G_CALLBACK(+[](WebKitWebView *, WebKitFileChooserRequest *request, Impl *self)
                          -> gboolean { return self->onFileChooser(request); }));
        on(view, "load-changed", G_CALLBACK(+[](WebKitWebView *, WebKitLoadEvent event, Impl *self) {
               self->onLoadChanged(event);
           }));

        content = webkit_web_view_get_user_content_manager(view);
        if (content) {
            g_object_ref(content);
            // Views sharing the manager share the script; it is added once.
            if (!g_object_get_data(G_OBJECT(content), OriginMessage)) {
                g_object_set_data(G_OBJECT(content), OriginMessage, GINT_TO_POINTER(1));
                webkit_user_content_manager_register_script_message_handler(content, OriginMessage);
                WebKitUserScript *script = webkit_user_script_new(
                    OriginScript, WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                    WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
                webkit_user_content_manager_add_script(content, script);
                webkit_user_script_unref(script);
            }
            on(content, "script-message-received::skimlarkBoxOrigin",
               G_CALLBACK(+[](WebKitUserContentManager *, WebKitJavascriptResult *result,
                              Impl *self) { self->onOriginMessage(result); }));
        }
    }

    void lockDownSettings()
    {
        WebKitSettings *settings = webkit_web_view_get_settings(view);
        // A local file cannot read other files, and no page opens windows unasked.
        webkit_settings_set_allow_file_access_from_file_urls(settings, FALSE);
        webkit_settings_set_allow_universal_access_from_file_urls(settings, FALSE);
        webkit_settings_set_javascript_can_open_windows_automatically(settings, FALSE);
    }

    ~Impl()
    {
        alive.reset();
        pumpIdle.disconnect();
        noticeTimer.disconnect();
        // Whatever still waits is answered as cancelled; leaving a page as yes.
        std::deque<Pending> left;
        left.swap(pending);
        for (Pending &item : left)
            item.drop();
        unwatchEscape();
        g_signal_handlers_disconnect_by_data(view, this);
        if (content) {
            g_signal_handlers_disconnect_by_data(content, this);
            g_object_unref(content);
        }
        if (notice) {
            g_signal_handlers_disconnect_by_data(notice->gobj(), this);
            notice->hide();
        }
        g_object_unref(view);
    }
};

WebKitPageGuard::WebKitPageGuard(WebKitWebView *view, Dialogs &dialogs,
                                 std::function<Gtk::Window *()> parent, Gtk::Overlay &notices)
    : d(std::make_unique<Impl>(view, dialogs, std::move(parent)))
{
    d->lockDownSettings();
    d->connect();

    d->notice = Gtk::manage(new Gtk::Label());
    d->notice->set_name("fullscreen-notice");
    d->notice->get_accessible()->set_name("Full screen");
    d->notice->set_halign(Gtk::ALIGN_CENTER);
    d->notice->set_valign(Gtk::ALIGN_START);
    d->notice->set_margin_top(24);
    d->notice->set_justify(Gtk::JUSTIFY_CENTER);
    d->notice->get_style_context()->add_class("app-notification");
    d->notice->set_no_show_all(true);
    g_signal_connect(d->notice->gobj(), "destroy",
                     G_CALLBACK(+[](GtkWidget *, Impl *impl) { impl->notice = nullptr; }), d.get());
    notices.add_overlay(*d->notice);
}

WebKitPageGuard::~WebKitPageGuard() = default;

bool WebKitPageGuard::mayShowBox() { return d->mayShowBox(); }

std::string WebKitPageGuard::boxTitle() const { return pageguard::boxTitle(d->address()); }
