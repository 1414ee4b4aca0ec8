#include "engine/pageprinter.h"

#include "util/tracked.h"
#include "window/printpreview.h"

#include <glib/gstdio.h>
#include <gtk/gtkunixprint.h>
#include <unistd.h>
#include <webkit2/webkit2.h>

PagePrinter::PagePrinter(std::function<WebKitWebView *()> view, std::function<Gtk::Window *()> parent,
                         std::function<void(const std::string &)> failed)
    : m_view(std::move(view)), m_parent(std::move(parent)), m_failed(std::move(failed))
{
}

PagePrinter::~PagePrinter()
{
    if (m_dialog)
        gtk_widget_destroy(m_dialog);
}

bool PagePrinter::print()
{
    WebKitPrintOperation *operation = webkit_print_operation_new(m_view());
    showDialog(operation, [] {});
    g_object_unref(operation);
    return true;
}

std::function<void()> PagePrinter::showDialog(WebKitPrintOperation *operation, std::function<void()> closed)
{
    // One print dialog at a time: a new one takes the place of the last.
    if (m_dialog)
        gtk_widget_destroy(m_dialog);
    Gtk::Window *parent = m_parent();
    GtkWidget *dialog = gtk_print_unix_dialog_new("Print", parent ? parent->gobj() : nullptr);
    m_dialog = dialog;
    g_object_add_weak_pointer(G_OBJECT(dialog), reinterpret_cast<gpointer *>(&m_dialog));
    auto *printDialog = GTK_PRINT_UNIX_DIALOG(dialog);
    gtk_print_unix_dialog_set_manual_capabilities(
        printDialog, GtkPrintCapabilities(GTK_PRINT_CAPABILITY_PAGE_SET | GTK_PRINT_CAPABILITY_COPIES
                                   | GTK_PRINT_CAPABILITY_COLLATE | GTK_PRINT_CAPABILITY_REVERSE
                                   | GTK_PRINT_CAPABILITY_SCALE | GTK_PRINT_CAPABILITY_GENERATE_PDF
                                   | GTK_PRINT_CAPABILITY_GENERATE_PS | GTK_PRINT_CAPABILITY_NUMBER_UP
                                   | GTK_PRINT_CAPABILITY_NUMBER_UP_LAYOUT));
    gtk_print_unix_dialog_set_embed_page_setup(printDialog, TRUE);
    if (GtkPrintSettings *settings = webkit_print_operation_get_print_settings(operation))
        gtk_print_unix_dialog_set_settings(printDialog, settings);
    if (GtkPageSetup *setup = webkit_print_operation_get_page_setup(operation))
        gtk_print_unix_dialog_set_page_setup(printDialog, setup);
    // A window of its own: the main window goes on working while it is open.
    gtk_window_set_modal(GTK_WINDOW(dialog), FALSE);
    atk_object_set_name(gtk_widget_get_accessible(dialog), "Print");

    struct Job { WebKitPrintOperation *operation; std::function<void()> closed; };
    auto *job = new Job{WEBKIT_PRINT_OPERATION(g_object_ref(operation)), std::move(closed)};
    g_signal_connect_data(
        dialog, "response", G_CALLBACK(+[](GtkDialog *dialog, int response, Job *job) {
            auto *printDialog = GTK_PRINT_UNIX_DIALOG(dialog);
            GtkPrinter *printer = gtk_print_unix_dialog_get_selected_printer(printDialog);
            if (response == GTK_RESPONSE_OK && printer) {
                GtkPrintSettings *settings = gtk_print_unix_dialog_get_settings(printDialog);
                gtk_print_settings_set_printer(settings, gtk_printer_get_name(printer));
                webkit_print_operation_set_print_settings(job->operation, settings);
                webkit_print_operation_set_page_setup(job->operation, gtk_print_unix_dialog_get_page_setup(printDialog));
                g_object_unref(settings);
                // Kept until the engine has sent the pages.
                g_signal_connect(job->operation, "finished",
                                 G_CALLBACK(+[](WebKitPrintOperation *op, gpointer) { g_object_unref(op); }), nullptr);
                webkit_print_operation_print(g_object_ref(job->operation));
            }
            gtk_widget_destroy(GTK_WIDGET(dialog));
        }),
        job,
        [](gpointer data, GClosure *) {
            // The dialog is gone, answered or not.
            auto *job = static_cast<Job *>(data);
            g_object_unref(job->operation);
            auto closed = std::move(job->closed);
            delete job;
            closed();
        },
        GConnectFlags(0));
    gtk_widget_show(dialog);
    gtk_window_present(GTK_WINDOW(dialog));
    // Does nothing once the printer is gone.
    const sigc::slot<void()> close = sigc::track_obj([this, dialog] {
        if (m_dialog == dialog)
            gtk_widget_destroy(dialog);
    }, *this);
    return close;
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

    struct Job { Tracked<PagePrinter> printer; std::string file; bool failed = false; };
    auto *job = new Job{Tracked<PagePrinter>(*this), file};
    g_signal_connect(operation, "failed", G_CALLBACK(+[](WebKitPrintOperation *, GError *, Job *job) {
                         job->failed = true;
                     }),
                     job);
    g_signal_connect(operation, "finished", G_CALLBACK(+[](WebKitPrintOperation *op, Job *job) {
                         PagePrinter *self = job->printer.get();
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
