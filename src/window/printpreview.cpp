#include "window/printpreview.h"

#include <glib/gstdio.h>
#include <gmodule.h>
#include <gtkmm/box.h>
#include <poppler.h>

namespace {
constexpr double Scale = 1.0;
constexpr int Margin = 12;

// The few calls the preview makes into poppler-glib. The library (with the
// PDF engine and the crypto libraries under it) is loaded when the first
// preview opens: linked into the program, every start would pay for
// loading and relocating it for a command most runs never use.
struct Poppler
{
    decltype(&poppler_document_new_from_file) openDocument = nullptr;
    decltype(&poppler_document_get_n_pages) pageCount = nullptr;
    decltype(&poppler_document_get_page) page = nullptr;
    decltype(&poppler_page_get_size) pageSize = nullptr;
    decltype(&poppler_page_render_for_printing) render = nullptr;
};

// Null when the library cannot be loaded. Loaded once, kept for the run.
const Poppler *poppler()
{
    static Poppler calls;
    static bool tried = false;
    static bool loaded = false;
    if (tried)
        return loaded ? &calls : nullptr;
    tried = true;
    GModule *library = g_module_open(SKIMLARK_POPPLER_LIBRARY, GModuleFlags(G_MODULE_BIND_LAZY | G_MODULE_BIND_LOCAL));
    if (!library) {
        g_warning("The print preview cannot draw pages: %s", g_module_error());
        return nullptr;
    }
    const auto find = [library](const char *name, auto &call) {
        gpointer symbol = nullptr;
        const bool found = g_module_symbol(library, name, &symbol) && symbol;
        call = reinterpret_cast<std::remove_reference_t<decltype(call)>>(symbol);
        return found;
    };
    loaded = find("poppler_document_new_from_file", calls.openDocument)
             && find("poppler_document_get_n_pages", calls.pageCount)
             && find("poppler_document_get_page", calls.page) && find("poppler_page_get_size", calls.pageSize)
             && find("poppler_page_render_for_printing", calls.render);
    // Kept open for the rest of the run: documents may outlive any one preview.
    g_module_make_resident(library);
    if (!loaded)
        g_warning("The print preview cannot draw pages: %s lacks a call it needs", SKIMLARK_POPPLER_LIBRARY);
    return loaded ? &calls : nullptr;
}
} // namespace

PrintPreview::PrintPreview(const std::string &pdfPath, std::function<void()> print)
    : m_path(pdfPath)
{
    set_title("Print Preview");
    get_accessible()->set_name("Print Preview");
    set_default_size(700, 800);
    // Over the main window, once it is made transient for it.
    set_position(Gtk::WIN_POS_CENTER_ON_PARENT);
    gchar *uri = g_filename_to_uri(pdfPath.c_str(), nullptr, nullptr);
    if (const Poppler *pdf = uri ? poppler() : nullptr)
        m_document = pdf->openDocument(uri, nullptr, nullptr);
    g_free(uri);

    auto *bar = Gtk::manage(new Gtk::Box(Gtk::ORIENTATION_HORIZONTAL, 6));
    bar->set_border_width(6);
    for (Gtk::Button *button : {&m_printButton, &m_previousButton, &m_nextButton})
        bar->pack_start(*button, Gtk::PACK_SHRINK);
    bar->pack_start(m_pageLabel, Gtk::PACK_SHRINK);
    bar->pack_end(m_closeButton, Gtk::PACK_SHRINK);
    m_printButton.get_accessible()->set_name("Print");
    m_previousButton.get_accessible()->set_name("Previous Page");
    m_nextButton.get_accessible()->set_name("Next Page");
    m_closeButton.get_accessible()->set_name("Close");
    m_sheet.get_accessible()->set_name("Page");
    m_printButton.signal_clicked().connect([this, print] {
        hide();
        if (print)
            print();
    });
    m_previousButton.signal_clicked().connect([this] { showPage(m_page - 1); });
    m_nextButton.signal_clicked().connect([this] { showPage(m_page + 1); });
    m_closeButton.signal_clicked().connect([this] { hide(); });
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

bool PrintPreview::on_key_press_event(GdkEventKey *event)
{
    if (event->keyval == GDK_KEY_Escape) {
        hide();
        return true;
    }
    return Gtk::Window::on_key_press_event(event);
}

int PrintPreview::pageCount() const
{
    return m_document ? poppler()->pageCount(m_document) : 0;
}

void PrintPreview::showPage(int index)
{
    const int count = pageCount();
    m_page = std::max(0, std::min(index, count - 1));
    m_previousButton.set_sensitive(m_page > 0);
    m_nextButton.set_sensitive(m_page + 1 < count);
    m_pageLabel.set_text(count ? "Page " + std::to_string(m_page + 1) + " of " + std::to_string(count)
                             : "Nothing to print");
    double width = 0, height = 0;
    if (count) {
        PopplerPage *page = poppler()->page(m_document, m_page);
        poppler()->pageSize(page, &width, &height);
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
    PopplerPage *page = poppler()->page(m_document, m_page);
    double width = 0, height = 0;
    poppler()->pageSize(page, &width, &height);
    cr->translate(Margin, Margin);
    cr->scale(Scale, Scale);
    cr->set_source_rgb(1, 1, 1);
    cr->rectangle(0, 0, width, height);
    cr->fill();
    poppler()->render(page, cr->cobj());
    g_object_unref(page);
    return true;
}
