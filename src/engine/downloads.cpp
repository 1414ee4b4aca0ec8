#include "engine/downloads.h"

#include "interfaces/dialogs.h"
#include "pagerules/downloadpaths.h"
#include "pagerules/hostdisplay.h"
#include "util/filename.h"
#include "util/tracked.h"

#include <glib/gstdio.h>
#include <webkit2/webkit2.h>

struct Downloads::Job
{
    explicit Job(Downloads &downloads) : owner(downloads) {}
    // Null once the downloads it belongs to are gone; the download goes on.
    Tracked<Downloads> owner;
    std::string suggested;
    std::string name;
    std::string part;
    std::string target;
    bool asked = false;
    bool answered = false;
    bool ended = false;
    bool failed = false;
    // Stopped at the limit while the user was asked.
    bool held = false;
    // The question said it is a program.
    bool program = false;
    // Given once the user said where it goes (0 before).
    unsigned id = 0;
    // When its progress was last told (monotonic microseconds).
    gint64 lastReport = 0;
};

namespace {

Downloads::Job *jobOf(WebKitDownload *download)
{
    return static_cast<Downloads::Job *>(g_object_get_data(G_OBJECT(download), "skimlark-job"));
}

// Progress is told this often at most: enough for a moving bar.
constexpr gint64 ReportInterval = 200 * G_TIME_SPAN_MILLISECOND;

// How many first bytes tell a program (runsCode() reads no more).
constexpr std::size_t FirstBytes = 4;

// The first bytes of the file as it arrives, to tell a program by. The
// engine writes it under its destination's name with ".wkdownload" added,
// and gives it that name only at the end.
std::string startOf(const std::string &path)
{
    char bytes[FirstBytes] = {};
    FILE *file = g_fopen((path + ".wkdownload").c_str(), "rb");
    if (!file)
        file = g_fopen(path.c_str(), "rb");
    if (!file)
        return std::string();
    const std::size_t got = fread(bytes, 1, sizeof bytes, file);
    fclose(file);
    return std::string(bytes, got);
}

std::string mimeOf(WebKitDownload *download)
{
    WebKitURIResponse *response = webkit_download_get_response(download);
    const char *mime = response ? webkit_uri_response_get_mime_type(response) : nullptr;
    return mime ? mime : "";
}

std::string question(WebKitDownload *download, Downloads::Job &job)
{
    WebKitURIResponse *response = webkit_download_get_response(download);
    const char *uri = webkit_uri_request_get_uri(webkit_download_get_request(download));
    const std::string host = hostdisplay::hostForUser(uri ? uri : "");
    const std::string from = host.empty() ? std::string() : " from " + host;
    std::string text = "Save \u201c" + job.name + "\u201d" + from + "?";
    job.program = downloadpaths::runsCode(job.name, mimeOf(download), startOf(job.part));
    if (job.program)
        text += "\n\n\u201c" + job.name + "\u201d is a program: opening it runs it on this computer, with your "
                "rights. Keep it only if you trust" + (host.empty() ? std::string(" where it came from") : " " + host)
                + ".";
    const long long size = response ? (long long)webkit_uri_response_get_content_length(response) : 0;
    if (!job.ended && (size <= 0 || size > Downloads::HoldLimit))
        text += "\n\nUntil you answer, Skimlark stops receiving it after its first "
                + std::to_string(Downloads::HoldLimit >> 20) + " MB.";
    return text;
}

} // namespace

Downloads::Downloads(WebKitWebContext *context, Hooks hooks)
    : m_context(context), m_hooks(std::move(hooks))
{
    m_startedHandler = g_signal_connect(context, "download-started", G_CALLBACK(onStarted), this);
}

Downloads::~Downloads()
{
    g_signal_handler_disconnect(m_context, m_startedHandler);
    for (const auto &[id, download] : m_running)
        g_object_unref(download);
}

void Downloads::cancel(unsigned id)
{
    const auto running = m_running.find(id);
    // Its end, said as cancelled, lets it go.
    if (running != m_running.end())
        webkit_download_cancel(WEBKIT_DOWNLOAD(running->second));
}

void Downloads::report(void *which, PageView::Download::State state, const std::string &landed)
{
    auto *download = static_cast<WebKitDownload *>(which);
    Job *job = jobOf(download);
    if (!job->id)
        return;
    PageView::Download told;
    told.id = job->id;
    told.path = landed.empty() ? job->target : landed;
    const char *uri = webkit_uri_request_get_uri(webkit_download_get_request(download));
    told.source = uri ? uri : "";
    told.received = (long long)webkit_download_get_received_data_length(download);
    WebKitURIResponse *response = webkit_download_get_response(download);
    const long long length = response ? (long long)webkit_uri_response_get_content_length(response) : 0;
    // What landed is the whole of it, whatever the site announced.
    told.size = state == PageView::Download::State::Finished ? told.received : length > 0 ? length : -1;
    told.state = state;
    const auto running = m_running.find(job->id);
    if (state == PageView::Download::State::Running) {
        if (running == m_running.end())
            m_running[job->id] = g_object_ref(download);
    } else if (running != m_running.end()) {
        m_running.erase(running);
        // The engine holds it while it tells us of it.
        g_object_unref(download);
    }
    changed.emit(told);
}

void Downloads::onStarted(WebKitWebContext *, void *started, Downloads *self)
{
    auto *download = static_cast<WebKitDownload *>(started);
    if (self->m_hooks.view && webkit_download_get_web_view(download) != self->m_hooks.view())
        return;
    if (!jobOf(download))
        attach(download, *self);
}

Downloads::Job &Downloads::attach(void *started, Downloads &owner)
{
    auto *download = static_cast<WebKitDownload *>(started);
    auto *job = new Job(owner);
    g_object_set_data_full(G_OBJECT(download), "skimlark-job", job,
                           [](gpointer data) { delete static_cast<Job *>(data); });

    g_signal_connect(download, "decide-destination",
                     G_CALLBACK(+[](WebKitDownload *download, const char *suggested, gpointer) -> gboolean {
                         Job *job = jobOf(download);
                         job->suggested = suggested ? suggested : "";
                         if (job->name.empty())
                             job->name = downloadpaths::safeName(job->suggested);
                         // It arrives while the user is asked, under a name of
                         // its own: never the chosen path, as the engine deletes
                         // what it finds at its destination.
                         job->part = downloadpaths::partPath(job->target.empty()
                                                                 ? downloadpaths::suggestedPath(job->suggested)
                                                                 : job->target);
                         gchar *uri = g_filename_to_uri(job->part.c_str(), nullptr, nullptr);
                         webkit_download_set_allow_overwrite(download, FALSE);
                         webkit_download_set_destination(download, uri);
                         g_free(uri);
                         return TRUE;
                     }),
                     nullptr);
    g_signal_connect(download, "received-data", G_CALLBACK(+[](WebKitDownload *download, guint64, gpointer) {
                         Job *job = jobOf(download);
                         Downloads *owner = job->owner.get();
                         if (!owner || job->held)
                             return;
                         // Asked once its first bytes are in the file (they reach
                         // it after the engine says they came), so a program
                         // always shows as one.
                         if (!job->asked && startOf(job->part).size() == FirstBytes)
                             owner->ask(download);
                         if (!job->answered) {
                             if (job->asked && (long long)webkit_download_get_received_data_length(download) > HoldLimit)
                                 owner->hold(download);
                             return;
                         }
                         const gint64 now = g_get_monotonic_time();
                         if (job->target.empty() || now - job->lastReport < ReportInterval)
                             return;
                         job->lastReport = now;
                         owner->report(download, PageView::Download::State::Running);
                     }),
                     nullptr);
    g_signal_connect(download, "failed", G_CALLBACK(+[](WebKitDownload *download, GError *error, gpointer) {
                         Job *job = jobOf(download);
                         job->failed = true;
                         // Only our own temporary file goes; the user's files stay.
                         if (!job->part.empty())
                             g_unlink(job->part.c_str());
                         Downloads *owner = job->owner.get();
                         if (!owner || job->held || (job->answered && job->target.empty()))
                             return;
                         const bool cancelled =
                             g_error_matches(error, WEBKIT_DOWNLOAD_ERROR, WEBKIT_DOWNLOAD_ERROR_CANCELLED_BY_USER);
                         owner->report(download, cancelled ? PageView::Download::State::Cancelled
                                                           : PageView::Download::State::Failed);
                         owner->statusText.emit((cancelled ? "Download cancelled: " : "Download failed: ") + job->name);
                     }),
                     nullptr);
    g_signal_connect(download, "finished", G_CALLBACK(+[](WebKitDownload *download, gpointer) {
                         Job *job = jobOf(download);
                         job->ended = true;
                         Downloads *owner = job->owner.get();
                         if (job->failed)
                             return;
                         if (!owner) {
                             g_unlink(job->part.c_str());
                             return;
                         }
                         if (!job->asked)
                             owner->ask(download);
                         else if (job->answered)
                             owner->land(download);
                     }),
                     nullptr);
    return *job;
}

void Downloads::ask(void *pending)
{
    auto *download = static_cast<WebKitDownload *>(pending);
    Job *job = jobOf(download);
    job->asked = true;
    g_object_ref(download);
    m_hooks.askWhere(question(download, *job), downloadpaths::suggestedPath(job->suggested),
                     [download](const std::string &path) {
                         Job *job = jobOf(download);
                         job->answered = true;
                         job->target = path;
                         Downloads *self = job->owner.get();
                         if (self && !path.empty())
                             job->id = ++self->m_lastId;
                         if (path.empty()) {
                             if (job->ended)
                                 g_unlink(job->part.c_str());
                             else
                                 webkit_download_cancel(download);
                             if (self)
                                 self->statusText.emit("Download cancelled: " + job->name);
                         } else if (job->held) {
                             if (self)
                                 self->fetchAgain(download, path);
                         } else if (job->ended && !job->failed) {
                             if (self)
                                 self->land(download);
                         } else if (self && !job->failed) {
                             job->name = fileNameOf(path);
                             self->report(download, PageView::Download::State::Running);
                         }
                         g_object_unref(download);
                     });
}

void Downloads::hold(void *waiting)
{
    auto *download = static_cast<WebKitDownload *>(waiting);
    Job *job = jobOf(download);
    // The engine cannot pause a download: it stops here, and what came goes.
    job->held = true;
    webkit_download_cancel(download);
    statusText.emit(job->name + " waits for your answer: stopped after its first "
                    + std::to_string(HoldLimit >> 20) + " MB");
}

void Downloads::fetchAgain(void *held, const std::string &path)
{
    auto *download = static_cast<WebKitDownload *>(held);
    const std::string name = fileNameOf(path);
    WebKitURIRequest *request = webkit_download_get_request(download);
    const char *method = webkit_uri_request_get_http_method(request);
    const char *uri = webkit_uri_request_get_uri(request);
    WebKitWebView *view = m_hooks.view ? m_hooks.view() : nullptr;
    // What a form sent cannot be asked for again without sending it again.
    if (!view || !uri || (method && g_strcmp0(method, "GET") != 0)) {
        report(download, PageView::Download::State::Failed);
        statusText.emit("Download failed: " + name + " (get it again from the page)");
        return;
    }
    const bool program = jobOf(download)->program;
    const unsigned id = jobOf(download)->id;
    WebKitDownload *again = webkit_web_view_download_uri(view, uri);
    Job &job = jobOf(again) ? *jobOf(again) : attach(again, *this);
    job.asked = job.answered = true;
    job.target = path;
    job.name = name;
    job.program = program;
    job.id = id;
    report(again, PageView::Download::State::Running);
    // The engine keeps a download it runs for as long as it runs.
    g_object_unref(again);
}

void Downloads::land(void *finished)
{
    auto *download = static_cast<WebKitDownload *>(finished);
    Job *job = jobOf(download);
    // Fetched again, it must still be what the user agreed to keep.
    if (!job->program && downloadpaths::runsCode("", mimeOf(download), startOf(job->part))) {
        g_unlink(job->part.c_str());
        report(download, PageView::Download::State::Failed);
        statusText.emit("Download failed: " + job->name + " came back as a program");
        return;
    }
    const std::string landed = downloadpaths::moveWithoutReplacing(job->part, job->target);
    if (landed.empty())
        g_unlink(job->part.c_str());
    report(download, landed.empty() ? PageView::Download::State::Failed : PageView::Download::State::Finished,
           landed);
    statusText.emit(landed.empty() ? "Download failed: " + job->name : "Downloaded " + fileNameOf(landed));
}

bool Downloads::savePage(WebKitWebView *view, Dialogs &dialogs, Gtk::Window *parent)
{
    const char *title = webkit_web_view_get_title(view);
    const std::string name = (title && *title ? title : "page") + std::string(".mhtml");
    const std::string path = dialogs.saveFile(parent, "Save Page", downloadpaths::suggestedPath(name));
    if (path.empty())
        return false;
    GFile *file = g_file_new_for_path(path.c_str());
    struct Job { Tracked<Downloads> downloads; std::string name; };
    auto *job = new Job{Tracked<Downloads>(*this), downloadpaths::safeName(path)};
    webkit_web_view_save_to_file(
        view, file, WEBKIT_SAVE_MODE_MHTML, nullptr,
        [](GObject *view, GAsyncResult *result, gpointer data) {
            auto *job = static_cast<Job *>(data);
            const bool saved = webkit_web_view_save_to_file_finish(WEBKIT_WEB_VIEW(view), result, nullptr);
            if (Downloads *self = job->downloads.get())
                self->statusText.emit((saved ? "Saved " : "Could not save ") + job->name);
            delete job;
        },
        job);
    g_object_unref(file);
    return true;
}
