#pragma once

#include <functional>
#include <memory>
#include <sigc++/trackable.h>
#include <string>

typedef struct _WebKitWebView WebKitWebView;
typedef struct _WebKitPrintOperation WebKitPrintOperation;
typedef struct _GtkWidget GtkWidget;
class PrintPreview;
namespace Gtk { class Window; }

// Prints the page, and previews it: the real print sent to a PDF file and
// drawn in a window of ours.
class PagePrinter : public sigc::trackable
{
public:
    // `view` gives the engine's view now in use; `failed` gets a sentence
    // for the status bar.
    PagePrinter(std::function<WebKitWebView *()> view, std::function<Gtk::Window *()> parent,
                std::function<void(const std::string &)> failed);
    ~PagePrinter();
    PagePrinter(const PagePrinter &) = delete;
    PagePrinter &operator=(const PagePrinter &) = delete;

    // Opens the print dialog, which does not block the main window; the
    // page prints when the user says so there.
    bool print();
    bool preview();
    // The print dialog for an operation the engine started (a page's own
    // print). `closed` runs when the dialog has gone; the function returned
    // closes it unanswered.
    std::function<void()> showDialog(WebKitPrintOperation *operation, std::function<void()> closed);

private:
    std::function<WebKitWebView *()> m_view;
    std::function<Gtk::Window *()> m_parent;
    std::function<void(const std::string &)> m_failed;
    std::unique_ptr<PrintPreview> m_preview;
    // The print dialog while one is open.
    GtkWidget *m_dialog = nullptr;
};
