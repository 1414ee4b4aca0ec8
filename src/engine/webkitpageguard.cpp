#include "engine/webkitpageguardimpl.h"

#include "engine/hostdisplay.h"
#include "engine/pageguardrules.h"

using pageguard::ProgramTitle;

namespace {

const char BlockQuestion[] = "Stop this page from opening more boxes?";
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

} // namespace

std::string pageguard::originOf(const char *address)
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

WebKitPageGuard::Impl::Impl(WebKitWebView *v, Dialogs &d, std::function<Gtk::Window *()> p)
    : view(v), dialogs(d), parent(std::move(p))
{
    g_object_ref(view);
}

std::string WebKitPageGuard::Impl::address() const
{
    const char *uri = webkit_web_view_get_uri(view);
    return uri ? uri : "";
}

std::string WebKitPageGuard::Impl::origin() const
{
    return pageguard::originOf(webkit_web_view_get_uri(view));
}

std::string WebKitPageGuard::Impl::pageBoxTitle()
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
bool WebKitPageGuard::Impl::countBox(bool &offer)
{
    if (blocked)
        return false;
    offer = boxesInRow >= 3;
    ++boxesInRow;
    return true;
}

// For boxes that cannot offer the block themselves: asks first.
bool WebKitPageGuard::Impl::mayShowBox()
{
    bool offer = false;
    if (!countBox(offer))
        return false;
    if (!offer)
        return true;
    std::weak_ptr<int> stillHere = alive;
    const bool stop =
        dialogs.confirm(parent(), BlockQuestion, pageguard::boxTitle(address()), "_Stop", "_Allow");
    if (stillHere.expired())
        return false;
    blocked = stop;
    return !stop;
}

void WebKitPageGuard::Impl::enqueue(Pending item)
{
    pending.push_back(std::move(item));
    schedule();
}

void WebKitPageGuard::Impl::schedule()
{
    if (asking || pending.empty() || pumpIdle.connected())
        return;
    pumpIdle = Glib::signal_idle().connect([this] {
        pump();
        return false;
    });
}

void WebKitPageGuard::Impl::pump()
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

// Sets the answer; a box kept for later is closed and let go as well.
void WebKitPageGuard::Impl::finishScriptBox(WebKitScriptDialog *box,
                                            const Dialogs::PageBoxAnswer &answer, bool kept)
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
Dialogs::PageBoxAnswer WebKitPageGuard::Impl::unasked(WebKitScriptDialog *box)
{
    Dialogs::PageBoxAnswer answer;
    answer.accepted =
        webkit_script_dialog_get_dialog_type(box) == WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM;
    return answer;
}

bool WebKitPageGuard::Impl::onScriptDialog(WebKitScriptDialog *box)
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
                 case WEBKIT_SCRIPT_DIALOG_CONFIRM:
                     kind = Dialogs::PageBoxKind::Confirm;
                     break;
                 case WEBKIT_SCRIPT_DIALOG_PROMPT:
                     kind = Dialogs::PageBoxKind::Prompt;
                     break;
                 case WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM:
                     kind = Dialogs::PageBoxKind::BeforeUnload;
                     break;
                 default:
                     break;
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

bool WebKitPageGuard::Impl::onAuthenticate(WebKitAuthenticationRequest *request)
{
    g_object_ref(request);
    std::weak_ptr<int> stillHere = alive;
    auto cancel = [request] {
        webkit_authentication_request_cancel(request);
        g_object_unref(request);
    };
    // Without a sign-in the site's own refusal page shows, as browsers do.
    auto decline = [request] {
        webkit_authentication_request_authenticate(request, nullptr);
        g_object_unref(request);
    };
    enqueue({[this, request, stillHere, cancel, decline] {
                 if (stillHere.expired())
                     return cancel();
                 if (!mayShowBox())
                     return decline();
                 const char *host = webkit_authentication_request_get_host(request);
                 const char *realm = webkit_authentication_request_get_realm(request);
                 const auto answer = dialogs.credentials(
                     parent(), pageguard::boxTitle(std::string("http://") + (host ? host : "")),
                     realm ? realm : "");
                 if (!answer)
                     return decline();
                 // Not kept by the engine: "Delete browsing data" must be able
                 // to forget a sign-in.
                 WebKitCredential *credential =
                     webkit_credential_new(answer->user.c_str(), answer->password.c_str(),
                                           WEBKIT_CREDENTIAL_PERSISTENCE_NONE);
                 webkit_authentication_request_authenticate(request, credential);
                 webkit_credential_free(credential);
                 g_object_unref(request);
             },
             cancel});
    return TRUE;
}

void WebKitPageGuard::Impl::askOtherProgram(const std::string &address)
{
    const std::string scheme = pageguard::schemeOf(address);
    std::weak_ptr<int> stillHere = alive;
    enqueue({[this, address, scheme, stillHere] {
                 const std::string shown = hostdisplay::forUser(address);
                 Glib::RefPtr<Gio::AppInfo> program;
                 if (!scheme.empty())
                     program = Gio::AppInfo::get_default_for_uri_scheme(scheme);
                 if (!program) {
                     dialogs.message(
                         parent(), "No program on this computer can open this address:\n\n" + shown,
                         ProgramTitle);
                     return;
                 }
                 const bool yes = dialogs.confirm(parent(),
                                                  "Open this address with " +
                                                      program->get_display_name() + "?\n\n" + shown,
                                                  ProgramTitle, "_Open", "_Cancel");
                 if (!yes || stillHere.expired())
                     return;
                 try {
                     program->launch_uri(address);
                 } catch (const Glib::Error &error) {
                     dialogs.message(parent(),
                                     program->get_display_name() +
                                         " could not be started: " + error.what(),
                                     ProgramTitle);
                 }
             },
             [] {}});
}

bool WebKitPageGuard::Impl::localScheme(const std::string &scheme) const
{
    WebKitWebContext *context = webkit_web_view_get_context(view);
    return context && webkit_security_manager_uri_scheme_is_local(
                          webkit_web_context_get_security_manager(context), scheme.c_str());
}

bool WebKitPageGuard::Impl::onDecidePolicy(WebKitPolicyDecision *decision,
                                           WebKitPolicyDecisionType type)
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

GtkWidget *WebKitPageGuard::Impl::onCreate(WebKitNavigationAction *action)
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

void WebKitPageGuard::Impl::onLoadChanged(WebKitLoadEvent event)
{
    if (event != WEBKIT_LOAD_COMMITTED)
        return;
    // A new document (another page, or this one reloaded) starts a fresh count.
    boxesInRow = 0;
    blocked = false;
    frameOrigin.clear();
}

void WebKitPageGuard::Impl::onOriginMessage(WebKitJavascriptResult *result)
{
    JSCValue *value = webkit_javascript_result_get_js_value(result);
    gchar *text = jsc_value_is_string(value) ? jsc_value_to_string(value) : nullptr;
    frameOrigin = text ? text : "null";
    g_free(text);
}

void WebKitPageGuard::Impl::connect()
{
    auto on = [this](gpointer instance, const char *signal, GCallback callback) {
        g_signal_connect(instance, signal, callback, this);
    };
    on(view, "script-dialog",
       G_CALLBACK(+[](WebKitWebView *, WebKitScriptDialog *box, Impl *self) -> gboolean {
           return self->onScriptDialog(box);
       }));
    on(view, "authenticate",
       G_CALLBACK(+[](WebKitWebView *, WebKitAuthenticationRequest *request,
                      Impl *self) -> gboolean { return self->onAuthenticate(request); }));
    on(view, "decide-policy",
       G_CALLBACK(+[](WebKitWebView *, WebKitPolicyDecision *decision,
                      WebKitPolicyDecisionType type,
                      Impl *self) -> gboolean { return self->onDecidePolicy(decision, type); }));
    on(view, "create",
       G_CALLBACK(+[](WebKitWebView *, WebKitNavigationAction *action, Impl *self) -> GtkWidget * {
           return self->onCreate(action);
       }));
    on(view, "permission-request",
       G_CALLBACK(+[](WebKitWebView *, WebKitPermissionRequest *request, Impl *self) -> gboolean {
           return self->onPermission(request);
       }));
    on(view, "query-permission-state",
       G_CALLBACK(+[](WebKitWebView *, WebKitPermissionStateQuery *query, Impl *self) -> gboolean {
           return self->onQueryPermission(query);
       }));
    on(view, "enter-fullscreen", G_CALLBACK(+[](WebKitWebView *, Impl *self) -> gboolean {
           return self->onEnterFullScreen();
       }));
    on(view, "leave-fullscreen", G_CALLBACK(+[](WebKitWebView *, Impl *self) -> gboolean {
           self->onLeaveFullScreen();
           return FALSE;
       }));
    on(view, "run-file-chooser",
       G_CALLBACK(+[](WebKitWebView *, WebKitFileChooserRequest *request, Impl *self) -> gboolean {
           return self->onFileChooser(request);
       }));
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
           G_CALLBACK(+[](WebKitUserContentManager *, WebKitJavascriptResult *result, Impl *self) {
               self->onOriginMessage(result);
           }));
    }
}

void WebKitPageGuard::Impl::lockDownSettings()
{
    WebKitSettings *settings = webkit_web_view_get_settings(view);
    // A local file cannot read other files, and no page opens windows unasked.
    webkit_settings_set_allow_file_access_from_file_urls(settings, FALSE);
    webkit_settings_set_allow_universal_access_from_file_urls(settings, FALSE);
    webkit_settings_set_javascript_can_open_windows_automatically(settings, FALSE);
}

WebKitPageGuard::Impl::~Impl()
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

bool WebKitPageGuard::mayShowBox()
{
    return d->mayShowBox();
}

std::string WebKitPageGuard::boxTitle() const
{
    return pageguard::boxTitle(d->address());
}
