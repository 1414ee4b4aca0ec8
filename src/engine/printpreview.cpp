#include "engine/printpreview.h"

#include <glib/gstdio.h>
#include <gtkmm/box.h>
#include <poppler.h>

namespace {
constexpr double Scale = 1.0;
constexpr int Margin = 12;
}

PrintPreview::PrintPreview(const std::string &pdfPath, std::function<void()> print)
    : m_path(pdfPath)
{
    set_title("Print Preview");
    get_accessible()->set_name("Print Preview");
    set_default_size(700, 800);
    gchar *uri = g_filename_to_uri(pdfPath.c_str(), nullptr, nullptr);
    m_document = uri ? poppler_document_new_from_file(uri, nullptr, nullptr) : nullptr;
    g_free(uri);

    auto *bar = Gtk::manage(new Gtk::Box(Gtk::ORIENTATION_HORIZONTAL, 6));
    bar->set_border_width(6);
    for (Gtk::Button *button : {&printButton, &previousButton, &nextButton})
        bar->pack_start(*button, Gtk::PACK_SHRINK);
    bar->pack_start(pageLabel, Gtk::PACK_SHRINK);
    printButton.get_accessible()->set_name("Print");
    previousButton.get_accessible()->set_name("Previous Page");
    nextButton.get_accessible()->set_name("Next Page");
    m_sheet.get_accessible()->set_name("Page");
    printButton.signal_clicked().connect([this, print] {
        hide();
        if (print)
            print();
    });
    previousButton.signal_clicked().connect([this] { showPage(m_page - 1); });
    nextButton.signal_clicked().connect([this] { showPage(m_page + 1); });
    m_sheet.signal_draw().connect(sigc::mem_fun(*this, &PrintPreview::draw));

    auto *layout = Gtk::manage(new Gtk::Box(Gtk::ORIENTATION_VERTICAL));
    layout->pack_start(*bar, Gtk::PACK_SHRINK);
    m_scroller.add(m_sheet);
    layout->pack_start(m_scroller, Gtk::PACK_EXPAND_WIDGET);
    add(*layout);
    showPage(0);
    show_all_children();
}

PrintPreview::~PrintPreview()
{
    if (m_document)
        g_object_unref(m_document);
    g_unlink(m_path.c_str());
}

int PrintPreview::pageCount() const
{
    return m_document ? poppler_document_get_n_pages(m_document) : 0;
}

void PrintPreview::showPage(int index)
{
    const int count = pageCount();
    m_page = std::max(0, std::min(index, count - 1));
    previousButton.set_sensitive(m_page > 0);
    nextButton.set_sensitive(m_page + 1 < count);
    pageLabel.set_text(count ? "Page " + std::to_string(m_page + 1) + " of " + std::to_string(count)
                             : "Nothing to print");
    double width = 0, height = 0;
    if (count) {
        PopplerPage *page = poppler_document_get_page(m_document, m_page);
        poppler_page_get_size(page, &width, &height);
        g_object_unref(page);
    }
    m_sheet.set_size_request(int(width * Scale) + 2 * Margin, int(height * Scale) + 2 * Margin);
    m_sheet.queue_draw();
}

bool PrintPreview::draw(const Cairo::RefPtr<Cairo::Context> &cr)
{
    cr->set_source_rgb(0.5, 0.5, 0.5);
    cr->paint();
    if (!pageCount())
        return true;
    PopplerPage *page = poppler_document_get_page(m_document, m_page);
    double width = 0, height = 0;
    poppler_page_get_size(page, &width, &height);
    cr->translate(Margin, Margin);
    cr->scale(Scale, Scale);
    cr->set_source_rgb(1, 1, 1);
    cr->rectangle(0, 0, width, height);
    cr->fill();
    poppler_page_render_for_printing(page, cr->cobj());
    g_object_unref(page);
    return true;
}
