#include "engine/pagequestions.h"

#include "engine/scriptbox.h"
#include "pagerules/hostdisplay.h"
#include "pagerules/pageguard.h"
#include "window/pagefilechooser.h"

#include <giomm/appinfo.h>
#include <glibmm/main.h>
#include <memory>
#include <webkit2/webkit2.h>

namespace {

// The program's own questions about a page carry the program's name; the
// page's host is in their text.
const char ProgramTitle[] = "Skimlark";

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

PageQuestions::PageQuestions(PageGuard &guard, QuestionBar &bar, Hooks hooks)
    : m_guard(guard), m_hooks(std::move(hooks)), m_queue(guard, bar, m_hooks.site)
{
}

void PageQuestions::cancelAll(bool leaving)
{
    m_queue.cancelAll(leaving);
}

void PageQuestions::newPage()
{
    m_queue.cancelAll(true);
    m_leftPage = false;
}

void PageQuestions::scriptDialog(WebKitScriptDialog *box, const std::string &title)
{
    // The user already said this page may be left: another way out is not asked about again.
    if (ScriptBox::leavesPage(box) && m_leftPage)
        return ScriptBox::answerAtOnce(box, true);
    auto kept = std::make_shared<ScriptBox>(box);
    Request asking;
    asking.question = [kept, title] { return kept->question(title); };
    // A page that may show no more boxes cannot keep the user either.
    asking.refusal.accepted = kept->leavesPage();
    asking.answered = [this, kept](const Answer &answer) { answerScript(*kept, answer.accepted, answer.text); };
    asking.dropped = [this, kept](bool leaving) { answerScript(*kept, kept->leavesPage() && leaving, ""); };
    m_queue.ask(std::move(asking));
}

void PageQuestions::answerScript(ScriptBox &box, bool accepted, const std::string &text)
{
    if (box.leavesPage()) {
        m_leftPage = m_leftPage || accepted;
        if (!accepted && m_hooks.stayed)
            m_hooks.stayed();
    }
    box.answer(accepted, text);
}

void PageQuestions::signIn(WebKitAuthenticationRequest *request)
{
    g_object_ref(request);
    Question question;
    question.title = ProgramTitle;
    question.text = signInQuestion(request);
    question.fields = Question::Fields::SignIn;
    question.accept = "Sign In";
    question.cancel = "Cancel";
    Request asking;
    asking.question = [question] { return question; };
    asking.answered = [request](const Answer &answer) {
        // Not kept by the engine: "Delete browsing data" must be able to
        // forget a sign-in. Without one the site's own refusal page shows,
        // as browsers do.
        WebKitCredential *credential = answer.accepted
                                           ? webkit_credential_new(answer.text.c_str(), answer.password.c_str(),
                                                                   WEBKIT_CREDENTIAL_PERSISTENCE_NONE)
                                           : nullptr;
        webkit_authentication_request_authenticate(request, credential);
        if (credential)
            webkit_credential_free(credential);
        g_object_unref(request);
    };
    asking.dropped = [request](bool) {
        webkit_authentication_request_cancel(request);
        g_object_unref(request);
    };
    m_queue.ask(std::move(asking));
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
    auto answer = [request](bool allowed) {
        allowed ? webkit_permission_request_allow(request) : webkit_permission_request_deny(request);
        g_object_unref(request);
    };
    Request asking;
    asking.question = [this, kind, key, who, answer]() -> std::optional<Question> {
        // An earlier answer may have come while this one waited.
        if (const auto known = m_guard.recall(key, kind)) {
            answer(*known);
            return std::nullopt;
        }
        Question question;
        question.title = ProgramTitle;
        question.text = PageGuard::permissionQuestion(kind, who);
        question.accept = "Allow";
        question.cancel = "Deny";
        return question;
    };
    asking.box = false;
    asking.answered = [this, kind, key, answer](const Answer &reply) {
        m_guard.remember(key, kind, reply.accepted);
        answer(reply.accepted);
    };
    asking.dropped = [answer](bool) { answer(false); };
    m_queue.ask(std::move(asking));
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

QuestionQueue::Then PageQuestions::chooser(Gtk::FileChooserAction action, const std::string &text,
                                           const std::string &suggestedPath,
                                           std::function<void(const std::vector<std::string> &)> reply)
{
    return [this, action, text, suggestedPath, reply](const Answer &, std::function<void()> ended) {
        // The user asked for it: a window of its own that takes the keyboard.
        auto *chooser = new PageFileChooser(action, text, m_hooks.parent());
        if (!suggestedPath.empty()) {
            chooser->set_current_folder(Glib::path_get_dirname(suggestedPath));
            chooser->set_current_name(Glib::path_get_basename(suggestedPath));
        }
        // Not from inside its own handler: it goes once the main loop is back.
        QuestionQueue::Close close = [chooser] {
            chooser->hide();
            Glib::signal_idle().connect_once([chooser] { delete chooser; });
        };
        chooser->ask([close, ended, reply](const std::vector<std::string> &files) {
            close();
            ended();
            reply(files);
        });
        return close;
    };
}

void PageQuestions::files(WebKitFileChooserRequest *request, const std::string &asker)
{
    g_object_ref(request);
    auto cancel = [request] {
        webkit_file_chooser_request_cancel(request);
        g_object_unref(request);
    };
    // Named after whoever may have asked, as the page's boxes are: a frame's
    // request is never announced in the page's name.
    std::string who = asker.empty() ? "This page" : asker;
    if (who.rfind("an ", 0) == 0)
        who[0] = 'A';
    // WebKitGTK does not tell a folder request (webkitdirectory) apart.
    const bool multiple = webkit_file_chooser_request_get_select_multiple(request);
    Question question;
    question.title = ProgramTitle;
    question.text = who + " asks for " + (multiple ? "files" : "a file") + " to upload.";
    question.accept = multiple ? "Choose Files\u2026" : "Choose a File\u2026";
    question.cancel = "Cancel";
    Request asking;
    asking.question = [question] { return question; };
    asking.answered = [cancel](const Answer &) { cancel(); };
    asking.then = chooser(Gtk::FILE_CHOOSER_ACTION_OPEN, question.text, "",
                          [request, cancel, multiple](const std::vector<std::string> &files) {
                              if (files.empty())
                                  return cancel();
                              std::vector<const gchar *> paths;
                              for (const std::string &file : files)
                                  paths.push_back(file.c_str());
                              if (!multiple)
                                  paths.resize(1);
                              paths.push_back(nullptr);
                              webkit_file_chooser_request_select_files(request, paths.data());
                              g_object_unref(request);
                          });
    asking.dropped = [cancel](bool) { cancel(); };
    m_queue.ask(std::move(asking));
}

void PageQuestions::saveFile(const std::string &text, const std::string &suggestedPath,
                             std::function<void(const std::string &path)> reply)
{
    Question question;
    question.title = ProgramTitle;
    question.text = text;
    question.accept = "Save\u2026";
    question.cancel = "Cancel";
    Request asking;
    asking.question = [question] { return question; };
    asking.answered = [reply](const Answer &) { reply(""); };
    // No file is ever replaced (a taken name gets a number), so the chooser
    // has nothing to confirm.
    asking.then = chooser(Gtk::FILE_CHOOSER_ACTION_SAVE, text, suggestedPath,
                          [reply](const std::vector<std::string> &files) {
                              reply(files.empty() ? std::string() : files.front());
                          });
    asking.dropped = [reply](bool) { reply(""); };
    asking.outlivesPage = true;
    m_queue.ask(std::move(asking));
}

void PageQuestions::print(WebKitPrintOperation *operation, const std::string &pageAddress)
{
    // A page that prints again and again while it is asked gets nothing more.
    if (m_queue.busy())
        return;
    // Kept for as long as the question is.
    const std::shared_ptr<WebKitPrintOperation> kept(WEBKIT_PRINT_OPERATION(g_object_ref(operation)), g_object_unref);
    const std::string host = PageGuard::shownHost(pageAddress);
    Question question;
    question.title = ProgramTitle;
    question.text = (host.empty() ? std::string("This page") : host) + " wants to print itself.";
    question.accept = "Print…";
    question.cancel = "Cancel";
    Request asking;
    asking.question = [question] { return question; };
    // The print dialog is this question's second part.
    asking.then = [this, kept](const Answer &, std::function<void()> ended) {
        return m_hooks.print(kept.get(), std::move(ended));
    };
    m_queue.ask(std::move(asking));
}

void PageQuestions::otherProgram(const std::string &address)
{
    const std::string scheme = PageGuard::schemeOf(address);
    const std::string shown = hostdisplay::forUser(address);
    auto program = std::make_shared<Glib::RefPtr<Gio::AppInfo>>();
    Request asking;
    asking.question = [scheme, shown, program] {
        if (!scheme.empty())
            *program = Gio::AppInfo::get_default_for_uri_scheme(scheme);
        Question question;
        question.title = ProgramTitle;
        if (!*program) {
            question.text = "No program on this computer can open this address:\n\n" + shown;
            return question;
        }
        question.text = "Open this address with " + (*program)->get_display_name() + "?\n\n" + shown;
        question.accept = "Open";
        question.cancel = "Cancel";
        return question;
    };
    asking.box = false;
    asking.answered = [this, program, address](const Answer &answer) {
        if (!answer.accepted || !*program)
            return;
        try {
            (*program)->launch_uri(address);
        } catch (const Glib::Error &error) {
            Question failed;
            failed.title = ProgramTitle;
            failed.text = (*program)->get_display_name() + " could not be started: " + error.what();
            Request telling;
            telling.question = [failed] { return failed; };
            telling.box = false;
            m_queue.ask(std::move(telling));
        }
    };
    m_queue.ask(std::move(asking));
}

void PageQuestions::certificate(const std::string &address, GTlsCertificate *certificate, unsigned problems,
                                std::function<void(bool goOn)> answer)
{
    GUri *parsed = g_uri_parse(address.c_str(), G_URI_FLAGS_NONE, nullptr);
    const std::string host = parsed && g_uri_get_host(parsed) ? g_uri_get_host(parsed) : "";
    if (parsed)
        g_uri_unref(parsed);
    const std::string shown = hostdisplay::hostForUser(address);
    g_object_ref(certificate);
    auto trusted = std::shared_ptr<GTlsCertificate>(certificate, g_object_unref);
    // Named after the site that sent the certificate, not the page shown before it.
    Question question;
    question.title = ProgramTitle;
    question.text = "The certificate of " + shown + " cannot be trusted: " + PageGuard::certificateProblems(problems)
                    + ".\n\nSomeone may be posing as this site. Go on to " + shown + " anyway?";
    question.accept = "Go On";
    question.cancel = "Stay Away";
    Request asking;
    asking.question = [question, host, answer]() -> std::optional<Question> {
        if (!host.empty())
            return question;
        answer(false);
        return std::nullopt;
    };
    asking.answered = [this, host, trusted, answer](const Answer &reply) {
        if (reply.accepted)
            webkit_web_context_allow_tls_certificate_for_host(m_hooks.context, trusted.get(), host.c_str());
        answer(reply.accepted);
    };
    m_queue.ask(std::move(asking));
}
