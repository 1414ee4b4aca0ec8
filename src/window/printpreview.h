#pragma once

#include <functional>
#include <gtkmm/button.h>
#include <gtkmm/drawingarea.h>
#include <gtkmm/label.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/window.h>
#include <string>

typedef struct _PopplerDocument PopplerDocument;

// The print preview: the page as it will be printed (a PDF made by the real
// print), one sheet at a time, with page steps, a Print and a Close button.
// Esc closes it too. Opened centred over the window it is made transient for.
// The PDF library is loaded when the first preview opens, not at start-up.
class PrintPreview : public Gtk::Window
{
public:
    // Takes over the PDF file and deletes it when closed.
    PrintPreview(const std::string &pdfPath, std::function<void()> print);
    ~PrintPreview() override;

protected:
    bool on_key_press_event(GdkEventKey *event) override;

private:
    int pageCount() const;
    void showPage(int index);
    bool draw(const Cairo::RefPtr<Cairo::Context> &cr);

    Gtk::Button m_printButton{"_Print", true};
    Gtk::Button m_previousButton{"Pre_vious Page", true};
    Gtk::Button m_nextButton{"_Next Page", true};
    Gtk::Button m_closeButton{"_Close", true};
    Gtk::Label m_pageLabel;

    std::string m_path;
    PopplerDocument *m_document = nullptr;
    int m_page = 0;
    Gtk::DrawingArea m_sheet;
    Gtk::ScrolledWindow m_scroller;
};
