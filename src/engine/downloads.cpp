#include "engine/downloads.h"

#include "engine/downloadpaths.h"
#include "interfaces/dialogs.h"

#include <glib/gstdio.h>
#include <glibmm/main.h>
#include <webkit2/webkit2.h>

struct Downloads::Job
{
    std::shared_ptr<Downloads *> owner;
    std::string suggested;
    std::string name;
    std::string target;
    std::string part;
    int lastPercent = -1;
    bool ended = false;
    bool failed = false;
    bool quiet = false;
};

namespace {

std::string baseName(const std::string &path)
{
    gchar *base = g_path_get_basename(path.c_str());
    std::string name = base;
    g_free(base);
    return name;
}

Downloads::Job *jobOf(WebKitDownload *download)
{
    return static_cast<Downloads::Job *>(g_object_get_data(G_OBJECT(download), "skimlark-job"));
}

} // namespace

Downloads::Downloads(WebKitWebContext *context, Dialogs &dialogs, Hooks hooks)
    : m_context(context), m_dialogs(dialogs), m_hooks(std::move(hooks)),
      m_alive(std::make_shared<Downloads *>(this))
{
    m_startedHandler = g_signal_connect(context, "download-started", G_CALLBACK(onStarted), this);
}

Downloads::~Downloads()
{
    *m_alive = nullptr;
    g_signal_handler_disconnect(m_context, m_startedHandler);
}

void Downloads::onStarted(WebKitWebContext *, void *started, Downloads *self)
{
    auto *download = static_cast<WebKitDownload *>(started);
    if (self->m_hooks.isOurs && !self->m_hooks.isOurs(webkit_download_get_web_view(download)))
        return;
    auto *job = new Job;
    job->owner = self->m_alive;
    g_object_set_data_full(G_OBJECT(download), "skimlark-job", job,
                           [](gpointer data) { delete static_cast<Job *>(data); });

    g_signal_connect(download, "decide-destination",
                     G_CALLBACK(+[](WebKitDownload *download, const char *suggested, gpointer) -> gboolean {
                         Job *job = jobOf(download);
                         job->suggested = suggested ? suggested : "";
                         job->name = downloadpaths::safeName(job->suggested);
                         // Asked from the main loop, not inside the engine's call.
                         g_object_ref(download);
                         Glib::signal_idle().connect_once([download, job] {
                             if (Downloads *owner = *job->owner)
                                 owner->ask(download);
                             if (!*job->owner && !job->ended)
                                 webkit_download_cancel(download);
                             g_object_unref(download);
                         });
                         return TRUE;
                     }),
                     nullptr);
    g_signal_connect(download, "received-data", G_CALLBACK(+[](WebKitDownload *download, guint64, gpointer) {
                         Job *job = jobOf(download);
                         const int percent = int(webkit_download_get_estimated_progress(download) * 100);
                         Downloads *owner = *job->owner;
                         if (!owner || percent == job->lastPercent || job->target.empty())
                             return;
                         job->lastPercent = percent;
                         owner->statusText.emit("Downloading " + job->name + ": " + std::to_string(percent) + "%");
                     }),
                     nullptr);
    g_signal_connect(download, "failed", G_CALLBACK(+[](WebKitDownload *download, GError *error, gpointer) {
                         Job *job = jobOf(download);
                         job->failed = true;
                         // Only our own temporary file goes; the user's files stay.
                         if (!job->part.empty())
                             g_unlink(job->part.c_str());
                         Downloads *owner = *job->owner;
                         if (!owner || job->quiet)
                             return;
                         const bool cancelled =
                             g_error_matches(error, WEBKIT_DOWNLOAD_ERROR, WEBKIT_DOWNLOAD_ERROR_CANCELLED_BY_USER);
                         owner->statusText.emit((cancelled ? "Download cancelled: " : "Download failed: ") + job->name);
                     }),
                     nullptr);
    g_signal_connect(download, "finished", G_CALLBACK(+[](WebKitDownload *download, gpointer) {
                         Job *job = jobOf(download);
                         job->ended = true;
                         if (job->failed || job->part.empty())
                             return;
                         const std::string landed = downloadpaths::moveWithoutReplacing(job->part, job->target);
                         if (landed.empty())
                             g_unlink(job->part.c_str());
                         if (Downloads *owner = *job->owner)
                             owner->statusText.emit(landed.empty() ? "Download failed: " + job->name
                                                                   : "Downloaded " + baseName(landed));
                     }),
                     nullptr);
}

void Downloads::ask(void *pending)
{
    auto *download = static_cast<WebKitDownload *>(pending);
    Job *job = jobOf(download);
    if (job->ended)
        return;
    if (m_hooks.mayAsk && !m_hooks.mayAsk()) {
        job->quiet = true;
        webkit_download_cancel(download);
        return;
    }
    const std::string path = m_dialogs.saveFile(m_hooks.parent ? m_hooks.parent() : nullptr, "Save File",
                                                downloadpaths::suggestedPath(job->suggested));
    if (job->ended)
        return;
    if (path.empty()) {
        webkit_download_cancel(download);
        return;
    }
    job->target = path;
    job->name = baseName(path);
    // Never the chosen path itself: the engine deletes what it finds at its destination.
    job->part = downloadpaths::partPath(path);
    gchar *uri = g_filename_to_uri(job->part.c_str(), nullptr, nullptr);
    webkit_download_set_allow_overwrite(download, FALSE);
    webkit_download_set_destination(download, uri);
    g_free(uri);
    statusText.emit("Downloading " + job->name + ": 0%");
}

bool Downloads::savePage(WebKitWebView *view, Dialogs &dialogs, Gtk::Window *parent)
{
    const char *title = webkit_web_view_get_title(view);
    const std::string name = (title && *title ? title : "page") + std::string(".mhtml");
    const std::string path = dialogs.saveFile(parent, "Save Page", downloadpaths::suggestedPath(name));
    if (path.empty())
        return false;
    GFile *file = g_file_new_for_path(path.c_str());
    struct Job { std::shared_ptr<Downloads *> alive; std::string name; };
    auto *job = new Job{m_alive, downloadpaths::safeName(path)};
    webkit_web_view_save_to_file(
        view, file, WEBKIT_SAVE_MODE_MHTML, nullptr,
        [](GObject *view, GAsyncResult *result, gpointer data) {
            auto *job = static_cast<Job *>(data);
            const bool saved = webkit_web_view_save_to_file_finish(WEBKIT_WEB_VIEW(view), result, nullptr);
            if (Downloads *self = *job->alive)
                self->statusText.emit((saved ? "Saved " : "Could not save ") + job->name);
            delete job;
        },
        job);
    g_object_unref(file);
    return true;
}
