#include "engine/pagequestions.h"

#include "engine/scriptbox.h"
#include "pagerules/hostdisplay.h"
#include "pagerules/pageguard.h"
#include "window/pagefilechooser.h"

#include <giomm/appinfo.h>
#include <glibmm/main.h>
#include <webkit2/webkit2.h>

namespace {

// The program's own questions about a page carry the program's name; the
// page's host is in their text.
const char ProgramTitle[] = "Skimlark";

using Question = QuestionPanel::Question;
using Answer = QuestionPanel::Answer;

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

PageQuestions::PageQuestions(PageGuard &guard, QuestionPanel &panel, Hooks hooks)
    : m_guard(guard), m_panel(panel), m_hooks(std::move(hooks)), m_alive(std::make_shared<PageQuestions *>(this))
{
}

PageQuestions::~PageQuestions()
{
    *m_alive = nullptr;
    cancelAll(true);
}

void PageQuestions::enqueue(Item item)
{
    m_waiting.push_back(std::move(item));
    schedule();
}

void PageQuestions::schedule()
{
    if (m_current || m_waiting.empty() || m_nextIdle.connected())
        return;
    // Asked from the main loop, not inside the engine's call.
    m_nextIdle = Glib::signal_idle().connect([this] {
        next();
        return false;
    });
}

void PageQuestions::next()
{
    if (m_current || m_waiting.empty())
        return;
    m_current = std::make_unique<Item>(std::move(m_waiting.front()));
    m_waiting.pop_front();
    m_current->ask(m_current.get());
}

std::unique_ptr<PageQuestions::Item> PageQuestions::finish(const Item *item)
{
    if (!item || m_current.get() != item)
        return nullptr;
    std::unique_ptr<Item> finished = std::move(m_current);
    dropChooser();
    schedule();
    return finished;
}

void PageQuestions::dropChooser()
{
    // Not from inside its own handler: it goes once the main loop is back.
    if (PageFileChooser *chooser = m_chooser.release()) {
        chooser->hide();
        Glib::signal_idle().connect_once([chooser] { delete chooser; });
    }
}

void PageQuestions::cancelAll(bool leaving)
{
    m_nextIdle.disconnect();
    m_panel.dismiss();
    std::unique_ptr<Item> current = std::move(m_current);
    std::deque<Item> waiting;
    waiting.swap(m_waiting);
    dropChooser();
    if (current)
        current->drop(leaving);
    for (Item &item : waiting)
        item.drop(leaving);
}

std::optional<bool> PageQuestions::countBox()
{
    const PageGuard::Box verdict = m_guard.nextBox();
    if (verdict == PageGuard::Box::Refuse)
        return std::nullopt;
    return verdict == PageGuard::Box::ShowOfferingBlock;
}

void PageQuestions::show(Question question, QuestionPanel::Reply reply)
{
    question.site = m_hooks.site ? m_hooks.site() : "";
    m_panel.ask(question, std::move(reply));
}

void PageQuestions::askInPanel(const Question &question, std::function<void(const Answer &)> reply)
{
    const Item *item = m_current.get();
    show(question, [this, item, reply](const Answer &answer) {
        if (answer.blockFurther)
            m_guard.blockBoxes();
        // Answered: nothing is left to cancel, whatever the reply does.
        const auto finished = finish(item);
        reply(answer);
    });
}

void PageQuestions::newPage()
{
    cancelAll(true);
    m_leftPage = false;
}

void PageQuestions::scriptDialog(WebKitScriptDialog *box, const std::string &title)
{
    // The user already said this page may be left: another way out is not asked about again.
    if (ScriptBox::leavesPage(box) && m_leftPage)
        return ScriptBox::answerAtOnce(box, true);
    const auto offer = countBox();
    if (!offer)
        return ScriptBox::answerAtOnce(box, ScriptBox::leavesPage(box));
    auto kept = std::make_shared<ScriptBox>(box);
    Question question = kept->question(title);
    question.offerBlock = *offer;
    enqueue({[this, kept, question](const Item *) {
                 askInPanel(question, [this, kept](const Answer &answer) { answerScript(*kept, answer.accepted, answer.text); });
             },
             [this, kept](bool leaving) { answerScript(*kept, kept->leavesPage() && leaving, ""); }});
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
    // Without a sign-in the site's own refusal page shows, as browsers do.
    auto decline = [request] {
        webkit_authentication_request_authenticate(request, nullptr);
        g_object_unref(request);
    };
    enqueue({[this, request, decline](const Item *item) {
                 const auto offer = countBox();
                 if (!offer) {
                     decline();
                     finish(item);
                     return;
                 }
                 Question question;
                 question.title = ProgramTitle;
                 question.text = signInQuestion(request);
                 question.fields = Question::Fields::SignIn;
                 question.accept = "Sign In";
                 question.cancel = "Cancel";
                 question.offerBlock = *offer;
                 askInPanel(question, [request, decline](const Answer &answer) {
                     if (!answer.accepted)
                         return decline();
                     // Not kept by the engine: "Delete browsing data" must be
                     // able to forget a sign-in.
                     WebKitCredential *credential = webkit_credential_new(answer.text.c_str(), answer.password.c_str(),
                                                                          WEBKIT_CREDENTIAL_PERSISTENCE_NONE);
                     webkit_authentication_request_authenticate(request, credential);
                     webkit_credential_free(credential);
                     g_object_unref(request);
                 });
             },
             [request](bool) {
                 webkit_authentication_request_cancel(request);
                 g_object_unref(request);
             }});
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
    enqueue({[this, kind, key, who, answer](const Item *item) {
                 // An earlier answer may have come while this one waited.
                 if (const auto known = m_guard.recall(key, kind)) {
                     answer(*known);
                     finish(item);
                     return;
                 }
                 Question question;
                 question.title = ProgramTitle;
                 question.text = PageGuard::permissionQuestion(kind, who);
                 question.accept = "Allow";
                 question.cancel = "Deny";
                 askInPanel(question, [this, kind, key, answer](const Answer &reply) {
                     m_guard.remember(key, kind, reply.accepted);
                     answer(reply.accepted);
                 });
             },
             [answer](bool) { answer(false); }});
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

void PageQuestions::askThenChoose(const Question &question, Gtk::FileChooserAction action,
                                  const std::string &suggestedPath, std::function<void(std::vector<std::string>)> reply)
{
    const Item *item = m_current.get();
    show(question, [this, item, question, action, suggestedPath, reply](const Answer &answer) {
        if (answer.blockFurther)
            m_guard.blockBoxes();
        if (!answer.accepted) {
            const auto finished = finish(item);
            return reply({});
        }
        // The chooser is this question's second part: the user asked for it,
        // so it is a window of its own that takes the keyboard.
        m_chooser = std::make_unique<PageFileChooser>(action, question.text, m_hooks.parent());
        if (!suggestedPath.empty()) {
            m_chooser->set_current_folder(Glib::path_get_dirname(suggestedPath));
            m_chooser->set_current_name(Glib::path_get_basename(suggestedPath));
        }
        m_chooser->ask([this, item, reply](const std::vector<std::string> &files) {
            const auto finished = finish(item);
            reply(files);
        });
    });
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
    enqueue({[this, request, who, cancel](const Item *item) {
                 const auto offer = countBox();
                 if (!offer) {
                     cancel();
                     finish(item);
                     return;
                 }
                 // WebKitGTK does not tell a folder request (webkitdirectory) apart.
                 const bool multiple = webkit_file_chooser_request_get_select_multiple(request);
                 Question question;
                 question.title = ProgramTitle;
                 question.text = who + " asks for " + (multiple ? "files" : "a file") + " to upload.";
                 question.accept = multiple ? "Choose Files\u2026" : "Choose a File\u2026";
                 question.cancel = "Cancel";
                 question.offerBlock = *offer;
                 askThenChoose(question, Gtk::FILE_CHOOSER_ACTION_OPEN, "", [request, cancel, multiple](std::vector<std::string> files) {
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
             },
             [cancel](bool) { cancel(); }});
}

void PageQuestions::saveFile(const std::string &text, const std::string &suggestedPath,
                             std::function<void(const std::string &path)> reply)
{
    enqueue({[this, text, suggestedPath, reply](const Item *item) {
                 const auto offer = countBox();
                 if (!offer) {
                     finish(item);
                     reply("");
                     return;
                 }
                 Question question;
                 question.title = ProgramTitle;
                 question.text = text;
                 question.accept = "Save\u2026";
                 question.cancel = "Cancel";
                 question.offerBlock = *offer;
                 // No file is ever replaced (a taken name gets a number), so
                 // the chooser has nothing to confirm.
                 askThenChoose(question, Gtk::FILE_CHOOSER_ACTION_SAVE, suggestedPath, [reply](std::vector<std::string> files) {
                     reply(files.empty() ? std::string() : files.front());
                 });
             },
             [reply](bool) { reply(""); }});
}

void PageQuestions::print(WebKitPrintOperation *operation, const std::string &pageAddress)
{
    // A page that prints again and again while it is asked gets nothing more.
    if (m_current || !m_waiting.empty())
        return;
    g_object_ref(operation);
    const std::string host = PageGuard::shownHost(pageAddress);
    auto closer = std::make_shared<std::function<void()>>();
    enqueue({[this, operation, host, closer](const Item *item) {
                 const auto offer = countBox();
                 if (!offer) {
                     g_object_unref(operation);
                     finish(item);
                     return;
                 }
                 Question question;
                 question.title = ProgramTitle;
                 question.text = (host.empty() ? std::string("This page") : host) + " wants to print itself.";
                 question.accept = "Print…";
                 question.cancel = "Cancel";
                 question.offerBlock = *offer;
                 auto alive = m_alive;
                 show(question, [this, alive, item, operation, closer](const Answer &answer) {
                     if (answer.blockFurther)
                         m_guard.blockBoxes();
                     if (!answer.accepted) {
                         g_object_unref(operation);
                         finish(item);
                         return;
                     }
                     // The print dialog is this question's second part.
                     *closer = m_hooks.print(operation, [alive, item] {
                         if (*alive)
                             (*alive)->finish(item);
                     });
                     g_object_unref(operation);
                 });
             },
             [closer, operation](bool) {
                 if (*closer)
                     (*closer)();
                 else
                     g_object_unref(operation);
             }});
}

void PageQuestions::otherProgram(const std::string &address)
{
    const std::string scheme = PageGuard::schemeOf(address);
    enqueue({[this, address, scheme](const Item *) {
                 const std::string shown = hostdisplay::forUser(address);
                 Glib::RefPtr<Gio::AppInfo> program;
                 if (!scheme.empty())
                     program = Gio::AppInfo::get_default_for_uri_scheme(scheme);
                 Question question;
                 question.title = ProgramTitle;
                 if (!program) {
                     question.text = "No program on this computer can open this address:\n\n" + shown;
                     return askInPanel(question, [](const Answer &) {});
                 }
                 question.text = "Open this address with " + program->get_display_name() + "?\n\n" + shown;
                 question.accept = "Open";
                 question.cancel = "Cancel";
                 askInPanel(question, [this, program, address](const Answer &answer) {
                     if (!answer.accepted)
                         return;
                     try {
                         program->launch_uri(address);
                     } catch (const Glib::Error &error) {
                         Question failed;
                         failed.title = ProgramTitle;
                         failed.text = program->get_display_name() + " could not be started: " + error.what();
                         enqueue({[this, failed](const Item *) { askInPanel(failed, [](const Answer &) {}); }, [](bool) {}});
                     }
                 });
             },
             [](bool) {}});
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
    enqueue({[this, host, shown, trusted, problems, answer](const Item *item) {
                 const auto offer = countBox();
                 if (host.empty() || !offer) {
                     finish(item);
                     answer(false);
                     return;
                 }
                 // Named after the site that sent the certificate, not the page shown before it.
                 Question question;
                 question.title = ProgramTitle;
                 question.text = "The certificate of " + shown + " cannot be trusted: "
                                 + PageGuard::certificateProblems(problems)
                                 + ".\n\nSomeone may be posing as this site. Go on to " + shown + " anyway?";
                 question.accept = "Go On";
                 question.cancel = "Stay Away";
                 question.offerBlock = *offer;
                 askInPanel(question, [this, host, trusted, answer](const Answer &reply) {
                     if (reply.accepted)
                         webkit_web_context_allow_tls_certificate_for_host(m_hooks.context, trusted.get(), host.c_str());
                     answer(reply.accepted);
                 });
             },
             [](bool) {}});
}
