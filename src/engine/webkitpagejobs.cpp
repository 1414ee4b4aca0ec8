// The page view's jobs on the whole page: print, preview, save, zoom, find,
// the engine settings and deleting browsing data (see webkitpageview.h).
#include "engine/webkitpageview.h"

#include "interfaces/dialogs.h"
#include "engine/downloads.h"
#include "engine/engineprofile.h"
#include "engine/makersite.h"
#include "engine/printpreview.h"

#include <algorithm>
#include <glib/gstdio.h>
#include <gtk/gtkunixprint.h>
#include <unistd.h>
#include <webkit2/webkit2.h>

namespace {
constexpr double ZoomStep = 0.1;
}

bool WebKitPageView::print()
{
    WebKitPrintOperation *operation = webkit_print_operation_new(m_view);
    const auto answer = webkit_print_operation_run_dialog(operation, parentWindow() ? parentWindow()->gobj() : nullptr);
    if (answer != WEBKIT_PRINT_OPERATION_RESPONSE_PRINT) {
        g_object_unref(operation);
        return false;
    }
    // Kept until the engine has sent the pages.
    g_signal_connect(operation, "finished", G_CALLBACK(+[](WebKitPrintOperation *op, gpointer) { g_object_unref(op); }),
                     nullptr);
    return true;
}

bool WebKitPageView::printPreview()
{
    // The preview is the real print, sent to a PDF file and drawn in our own window.
    struct Find { std::string name; } found;
    gtk_enumerate_printers(
        [](GtkPrinter *printer, gpointer data) -> gboolean {
            if (gtk_printer_is_virtual(printer) && gtk_printer_accepts_pdf(printer)) {
                static_cast<Find *>(data)->name = gtk_printer_get_name(printer);
                return TRUE;
            }
            return FALSE;
        },
        &found, nullptr, TRUE);
    if (found.name.empty())
        return false;
    gchar *path = nullptr;
    const int fd = g_file_open_tmp("skimlark-preview-XXXXXX.pdf", &path, nullptr);
    if (fd < 0)
        return false;
    close(fd);
    const std::string file = path;
    gchar *uri = g_filename_to_uri(path, nullptr, nullptr);
    g_free(path);

    GtkPrintSettings *settings = gtk_print_settings_new();
    gtk_print_settings_set_printer(settings, found.name.c_str());
    gtk_print_settings_set(settings, GTK_PRINT_SETTINGS_OUTPUT_FILE_FORMAT, "pdf");
    gtk_print_settings_set(settings, GTK_PRINT_SETTINGS_OUTPUT_URI, uri);
    g_free(uri);
    WebKitPrintOperation *operation = webkit_print_operation_new(m_view);
    webkit_print_operation_set_print_settings(operation, settings);
    g_object_unref(settings);

    struct Job { std::shared_ptr<WebKitPageView *> alive; std::string file; bool failed = false; };
    auto *job = new Job{m_alive, file};
    g_signal_connect(operation, "failed", G_CALLBACK(+[](WebKitPrintOperation *, GError *, Job *job) {
                         job->failed = true;
                     }),
                     job);
    g_signal_connect(operation, "finished", G_CALLBACK(+[](WebKitPrintOperation *op, Job *job) {
                         WebKitPageView *self = *job->alive;
                         if (self && !job->failed) {
                             self->m_preview = std::make_unique<PrintPreview>(job->file, [self] { self->print(); });
                             if (Gtk::Window *parent = self->parentWindow())
                                 self->m_preview->set_transient_for(*parent);
                             self->m_preview->present();
                         } else {
                             g_unlink(job->file.c_str());
                             if (self)
                                 self->statusTextChanged.emit("Print preview failed");
                         }
                         delete job;
                         g_object_unref(op);
                     }),
                     job);
    webkit_print_operation_print(operation);
    return true;
}

bool WebKitPageView::saveAs()
{
    const std::string title = currentTitle();
    const std::string path = m_dialogs.saveFile(parentWindow(), "Save Page",
                                                downloads::suggestedPath((title.empty() ? "page" : title) + ".mhtml"));
    if (path.empty())
        return false;
    GFile *file = g_file_new_for_path(path.c_str());
    struct Job { std::shared_ptr<WebKitPageView *> alive; std::string name; };
    auto *job = new Job{m_alive, downloads::safeName(path)};
    webkit_web_view_save_to_file(
        m_view, file, WEBKIT_SAVE_MODE_MHTML, nullptr,
        [](GObject *view, GAsyncResult *result, gpointer data) {
            auto *job = static_cast<Job *>(data);
            const bool saved = webkit_web_view_save_to_file_finish(WEBKIT_WEB_VIEW(view), result, nullptr);
            if (WebKitPageView *self = *job->alive)
                self->statusTextChanged.emit((saved ? "Saved " : "Could not save ") + job->name);
            delete job;
        },
        job);
    g_object_unref(file);
    return true;
}

void WebKitPageView::takeFocus()
{
    gtk_widget_grab_focus(GTK_WIDGET(m_view));
}

void WebKitPageView::zoomBy(int steps)
{
    const double level = webkit_web_view_get_zoom_level(m_view) + steps * ZoomStep;
    webkit_web_view_set_zoom_level(m_view, std::clamp(level, 0.3, 5.0));
}

void WebKitPageView::resetZoom()
{
    webkit_web_view_set_zoom_level(m_view, 1.0);
}

void WebKitPageView::findText(const std::string &text, bool backward)
{
    WebKitFindController *find = webkit_web_view_get_find_controller(m_view);
    if (text.empty()) {
        webkit_find_controller_search_finish(find);
        m_lastFind.clear();
        return;
    }
    if (text == m_lastFind) {
        if (backward)
            webkit_find_controller_search_previous(find);
        else
            webkit_find_controller_search_next(find);
        return;
    }
    m_lastFind = text;
    const guint options = WEBKIT_FIND_OPTIONS_CASE_INSENSITIVE | WEBKIT_FIND_OPTIONS_WRAP_AROUND
                          | (backward ? WEBKIT_FIND_OPTIONS_BACKWARDS : 0);
    webkit_find_controller_search(find, text.c_str(), options, G_MAXUINT);
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
    struct Job { std::shared_ptr<WebKitPageView *> alive; std::function<void(bool, const std::string &)> done; };
    auto *job = new Job{m_alive, std::move(done)};
    webkit_website_data_manager_clear(
        m_profile.dataManager(), WEBKIT_WEBSITE_DATA_ALL, 0, nullptr,
        [](GObject *manager, GAsyncResult *result, gpointer data) {
            auto *job = static_cast<Job *>(data);
            GError *error = nullptr;
            const bool ok = webkit_website_data_manager_clear_finish(WEBKIT_WEBSITE_DATA_MANAGER(manager), result, &error);
            const std::string message = error ? error->message : "";
            if (error)
                g_error_free(error);
            WebKitPageView *self = *job->alive;
            if (self && ok) {
                // The engine cannot empty a view's back and forward list: a new
                // view starts without one, on the page shown now.
                const char *uri = webkit_web_view_get_uri(self->m_view);
                const std::string shown = uri ? uri : "";
                self->dropView();
                self->buildView();
                self->addMakerFilter();
                const bool reload = shown.rfind("http", 0) == 0 || makersite::isPrivate(shown);
                self->loadUri(reload ? shown : "about:blank");
            }
            if (job->done)
                job->done(ok, ok ? "cookies, the cache, local storage, IndexedDB, service workers, "
                                   "HSTS and tracking-prevention data, and the back and forward history. "
                                   "Sign-ins and certificate exceptions accepted since Skimlark started "
                                   "last until it closes."
                                 : message);
            delete job;
        },
        job);
}
