#include "engine/pagequestions.h"

#include "engine/hostdisplay.h"
#include "engine/pageguard.h"
#include "interfaces/dialogs.h"

#include <giomm/appinfo.h>
#include <glibmm/main.h>
#include <webkit2/webkit2.h>

namespace {

const char ProgramTitle[] = "Skimlark";
const char BlockQuestion[] = "Stop this page from opening more boxes?";

PageGuard::Permission permissionKind(WebKitPermissionRequest *request)
{
    using Permission = PageGuard::Permission;
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
        return audio && video ? Permission::CameraAndMicrophone : video ? Permission::Camera : Permission::Microphone;
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

void setAnswer(WebKitScriptDialog *box, const Dialogs::PageBoxAnswer &answer)
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
}

// Sets the answer on a box kept for later, closes it and lets it go.
void finishScriptBox(WebKitScriptDialog *box, const Dialogs::PageBoxAnswer &answer)
{
    setAnswer(box, answer);
    webkit_script_dialog_close(box);
    webkit_script_dialog_unref(box);
}

// What a box counts as when nobody is asked: cancelled, except that leaving
// a page is never refused, so the window can always close.
Dialogs::PageBoxAnswer unasked(WebKitScriptDialog *box)
{
    Dialogs::PageBoxAnswer answer;
    answer.accepted = webkit_script_dialog_get_dialog_type(box) == WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM;
    return answer;
}

Dialogs::PageBoxKind boxKind(WebKitScriptDialog *box)
{
    switch (webkit_script_dialog_get_dialog_type(box)) {
    case WEBKIT_SCRIPT_DIALOG_CONFIRM:
        return Dialogs::PageBoxKind::Confirm;
    case WEBKIT_SCRIPT_DIALOG_PROMPT:
        return Dialogs::PageBoxKind::Prompt;
    case WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM:
        return Dialogs::PageBoxKind::BeforeUnload;
    default:
        return Dialogs::PageBoxKind::Alert;
    }
}

std::string signInQuestion(WebKitAuthenticationRequest *request)
{
    const char *host = webkit_authentication_request_get_host(request);
    const char *realm = webkit_authentication_request_get_realm(request);
    WebKitSecurityOrigin *origin = webkit_authentication_request_get_security_origin(request);
    const char *protocol = origin ? webkit_security_origin_get_protocol(origin) : nullptr;
    const WebKitAuthenticationScheme scheme = webkit_authentication_request_get_scheme(request);
    // Basic sends the password itself; the other schemes send proofs of it.
    const bool plainText = protocol && std::string(protocol) == "http"
                           && (scheme == WEBKIT_AUTHENTICATION_SCHEME_HTTP_BASIC
                               || scheme == WEBKIT_AUTHENTICATION_SCHEME_DEFAULT);
    const std::string text =
        PageGuard::signInText(hostdisplay::hostForUser(std::string("http://") + (host ? host : "")),
                              realm ? realm : "", plainText, webkit_authentication_request_is_for_proxy(request));
    if (origin)
        webkit_security_origin_unref(origin);
    return text;
}

} // namespace

PageQuestions::PageQuestions(PageGuard &guard, Dialogs &dialogs, std::function<Gtk::Window *()> parent)
    : m_guard(guard), m_dialogs(dialogs), m_parent(std::move(parent))
{
}

PageQuestions::~PageQuestions()
{
    m_alive.reset();
    m_pumpIdle.disconnect();
    // Whatever still waits is answered as cancelled.
    std::deque<Pending> left;
    left.swap(m_pending);
    for (Pending &item : left)
        item.drop();
}

void PageQuestions::enqueue(Pending item)
{
    m_pending.push_back(std::move(item));
    schedule();
}

void PageQuestions::schedule()
{
    if (m_asking || m_pending.empty() || m_pumpIdle.connected())
        return;
    m_pumpIdle = Glib::signal_idle().connect([this] {
        pump();
        return false;
    });
}

void PageQuestions::pump()
{
    if (m_asking || m_pending.empty())
        return;
    Pending item = std::move(m_pending.front());
    m_pending.pop_front();
    std::weak_ptr<int> stillHere = m_alive;
    m_asking = true;
    item.ask(); // a modal: the window, and this object, may be gone after it
    if (stillHere.expired())
        return;
    m_asking = false;
    schedule();
}

bool PageQuestions::mayShowBox(const std::string &pageAddress)
{
    const PageGuard::Box verdict = m_guard.nextBox();
    if (verdict != PageGuard::Box::ShowOfferingBlock)
        return verdict == PageGuard::Box::Show;
    std::weak_ptr<int> stillHere = m_alive;
    const bool stop = m_dialogs.confirm(m_parent(), BlockQuestion, m_guard.boxTitle(pageAddress), "_Stop", "_Allow");
    if (stillHere.expired())
        return false;
    if (stop)
        m_guard.blockBoxes();
    return !stop;
}

void PageQuestions::scriptDialog(WebKitScriptDialog *box, const std::string &title)
{
    const PageGuard::Box verdict = m_guard.nextBox();
    if (verdict == PageGuard::Box::Refuse) {
        // Not kept: the engine closes it with this answer when the signal returns.
        setAnswer(box, unasked(box));
        return;
    }
    webkit_script_dialog_ref(box);
    const bool offer = verdict == PageGuard::Box::ShowOfferingBlock;
    std::weak_ptr<int> stillHere = m_alive;
    enqueue({[this, box, title, offer, stillHere] {
                 const Dialogs::PageBoxKind kind = boxKind(box);
                 const char *text = webkit_script_dialog_get_message(box);
                 const char *initial =
                     kind == Dialogs::PageBoxKind::Prompt ? webkit_script_dialog_prompt_get_default_text(box) : "";
                 const auto answer =
                     m_dialogs.pageBox(m_parent(), kind, title, text ? text : "", initial ? initial : "", offer);
                 if (stillHere.expired())
                     return finishScriptBox(box, unasked(box));
                 if (answer.blockFurther)
                     m_guard.blockBoxes();
                 finishScriptBox(box, answer);
             },
             [box] { finishScriptBox(box, unasked(box)); }});
}

void PageQuestions::signIn(WebKitAuthenticationRequest *request)
{
    g_object_ref(request);
    std::weak_ptr<int> stillHere = m_alive;
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
                 const char *host = webkit_authentication_request_get_host(request);
                 const std::string site = std::string("http://") + (host ? host : "");
                 if (!mayShowBox(site))
                     return stillHere.expired() ? cancel() : decline();
                 const auto answer = m_dialogs.credentials(m_parent(), ProgramTitle, signInQuestion(request));
                 if (!answer)
                     return decline();
                 // Not kept by the engine: "Delete browsing data" must be able
                 // to forget a sign-in.
                 WebKitCredential *credential = webkit_credential_new(answer->user.c_str(), answer->password.c_str(),
                                                                      WEBKIT_CREDENTIAL_PERSISTENCE_NONE);
                 webkit_authentication_request_authenticate(request, credential);
                 webkit_credential_free(credential);
                 g_object_unref(request);
             },
             cancel});
}

void PageQuestions::permission(WebKitPermissionRequest *request, const std::string &pageAddress)
{
    const PageGuard::Permission kind = permissionKind(request);
    std::string key = PageGuard::originOf(pageAddress);
    std::string who = PageGuard::shownHost(pageAddress);
    if (WEBKIT_IS_WEBSITE_DATA_ACCESS_PERMISSION_REQUEST(request)) {
        auto *access = WEBKIT_WEBSITE_DATA_ACCESS_PERMISSION_REQUEST(request);
        const char *requesting = webkit_website_data_access_permission_request_get_requesting_domain(access);
        who = requesting ? requesting : "";
        key += std::string("|") + who;
    }
    if (const auto known = m_guard.recall(key, kind)) {
        *known ? webkit_permission_request_allow(request) : webkit_permission_request_deny(request);
        return;
    }
    g_object_ref(request);
    auto deny = [request] {
        webkit_permission_request_deny(request);
        g_object_unref(request);
    };
    std::weak_ptr<int> stillHere = m_alive;
    enqueue({[this, request, kind, key, who, stillHere, deny] {
                 // An earlier answer may have come while this one waited.
                 auto allowed = m_guard.recall(key, kind);
                 if (!allowed) {
                     allowed = m_dialogs.confirm(m_parent(), PageGuard::permissionQuestion(kind, who), ProgramTitle,
                                                 "_Allow", "_Deny");
                     if (stillHere.expired())
                         return deny();
                     m_guard.remember(key, kind, *allowed);
                 }
                 if (!*allowed)
                     return deny();
                 webkit_permission_request_allow(request);
                 g_object_unref(request);
             },
             deny});
}

void PageQuestions::permissionState(WebKitPermissionStateQuery *query)
{
    const char *name = webkit_permission_state_query_get_name(query);
    const auto kind = PageGuard::permissionNamed(name ? name : "");
    WebKitSecurityOrigin *queried = webkit_permission_state_query_get_security_origin(query);
    gchar *origin = queried ? webkit_security_origin_to_string(queried) : nullptr;
    const auto known = kind && origin ? m_guard.recall(origin, *kind) : std::nullopt;
    g_free(origin);
    webkit_permission_state_query_finish(query, !known   ? WEBKIT_PERMISSION_STATE_PROMPT
                                                : *known ? WEBKIT_PERMISSION_STATE_GRANTED
                                                         : WEBKIT_PERMISSION_STATE_DENIED);
}

void PageQuestions::files(WebKitFileChooserRequest *request, const std::string &pageAddress)
{
    g_object_ref(request);
    auto cancel = [request] {
        webkit_file_chooser_request_cancel(request);
        g_object_unref(request);
    };
    const std::string title = m_guard.boxTitle(pageAddress);
    std::weak_ptr<int> stillHere = m_alive;
    enqueue({[this, request, title, stillHere, cancel] {
                 // WebKitGTK does not tell a folder request (webkitdirectory) apart.
                 const bool multiple = webkit_file_chooser_request_get_select_multiple(request);
                 const auto files = m_dialogs.pageOpenFiles(m_parent(), title, multiple, false);
                 if (files.empty() || stillHere.expired())
                     return cancel();
                 std::vector<const gchar *> paths;
                 for (const std::string &file : files)
                     paths.push_back(file.c_str());
                 if (!multiple)
                     paths.resize(1);
                 paths.push_back(nullptr);
                 webkit_file_chooser_request_select_files(request, paths.data());
                 g_object_unref(request);
             },
             cancel});
}

void PageQuestions::otherProgram(const std::string &address)
{
    const std::string scheme = PageGuard::schemeOf(address);
    std::weak_ptr<int> stillHere = m_alive;
    enqueue({[this, address, scheme, stillHere] {
                 const std::string shown = hostdisplay::forUser(address);
                 Glib::RefPtr<Gio::AppInfo> program;
                 if (!scheme.empty())
                     program = Gio::AppInfo::get_default_for_uri_scheme(scheme);
                 if (!program) {
                     m_dialogs.message(m_parent(), "No program on this computer can open this address:\n\n" + shown,
                                       ProgramTitle);
                     return;
                 }
                 const bool yes =
                     m_dialogs.confirm(m_parent(), "Open this address with " + program->get_display_name() + "?\n\n" + shown,
                                       ProgramTitle, "_Open", "_Cancel");
                 if (!yes || stillHere.expired())
                     return;
                 try {
                     program->launch_uri(address);
                 } catch (const Glib::Error &error) {
                     m_dialogs.message(m_parent(), program->get_display_name() + " could not be started: " + error.what(),
                                       ProgramTitle);
                 }
             },
             [] {}});
}

void PageQuestions::certificate(const std::string &address, unsigned problems, std::function<void(bool goOn)> answer)
{
    const std::string shown = hostdisplay::hostForUser(address);
    // Named after the site that sent the certificate, not the page shown before it.
    const bool goOn =
        !shown.empty() && mayShowBox(address)
        && m_dialogs.confirm(m_parent(),
                             "The certificate of " + shown + " cannot be trusted: "
                                 + PageGuard::certificateProblems(problems)
                                 + ".\n\nSomeone may be posing as this site. Go on to " + shown + " anyway?",
                             ProgramTitle, "_Go On", "_Stay Away");
    answer(goOn);
}
