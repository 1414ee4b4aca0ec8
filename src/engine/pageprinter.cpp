#include "engine/pageprinter.h"

#include "engine/printpreview.h"

#include <glib/gstdio.h>
#include <gtk/gtkunixprint.h>
#include <unistd.h>
#include <webkit2/webkit2.h>

PagePrinter::PagePrinter(std::function<WebKitWebView *()> view, std::function<Gtk::Window *()> parent,
                         std::function<void(const std::string &)> failed)
    : m_view(std::move(view)), m_parent(std::move(parent)), m_failed(std::move(failed)), m_alive(std::make_shared<PagePrinter *>(this))
{
}

PagePrinter::~PagePrinter()
{
    *m_alive = nullptr;
}

bool PagePrinter::print()
{
    WebKitPrintOperation *operation = webkit_print_operation_new(m_view());
    Gtk::Window *parent = m_parent();
    const auto answer = webkit_print_operation_run_dialog(operation, parent ? parent->gobj() : nullptr);
    if (answer != WEBKIT_PRINT_OPERATION_RESPONSE_PRINT) {
        g_object_unref(operation);
        return false;
    }
    // Kept until the engine has sent the pages.
    g_signal_connect(operation, "finished", G_CALLBACK(+[](WebKitPrintOperation *op, gpointer) { g_object_unref(op); }),
                     nullptr);
    return true;
}

bool PagePrinter::preview()
{
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
    WebKitPrintOperation *operation = webkit_print_operation_new(m_view());
    webkit_print_operation_set_print_settings(operation, settings);
    g_object_unref(settings);

    struct Job { std::shared_ptr<PagePrinter *> alive; std::string file; bool failed = false; };
    auto *job = new Job{m_alive, file};
    g_signal_connect(operation, "failed", G_CALLBACK(+[](WebKitPrintOperation *, GError *, Job *job) {
                         job->failed = true;
                     }),
                     job);
    g_signal_connect(operation, "finished", G_CALLBACK(+[](WebKitPrintOperation *op, Job *job) {
                         PagePrinter *self = *job->alive;
                         if (self && !job->failed) {
                             self->m_preview = std::make_unique<PrintPreview>(job->file, [self] { self->print(); });
                             if (Gtk::Window *parent = self->m_parent())
                                 self->m_preview->set_transient_for(*parent);
                             self->m_preview->present();
                         } else {
                             g_unlink(job->file.c_str());
                             if (self)
                                 self->m_failed("Print preview failed");
                         }
                         delete job;
                         g_object_unref(op);
                     }),
                     job);
    webkit_print_operation_print(operation);
    return true;
}
