#include "navigation/suggestionpopup.h"

#include <algorithm>
#include <glibmm/main.h>
#include <glibmm/markup.h>
#include <gtkmm/frame.h>
#include <gtkmm/treeselection.h>

SuggestionPopup::SuggestionPopup(Gtk::Entry &field, AddressSuggestions &suggestions,
                                 std::function<void(const std::string &)> choose)
    : m_field(field), m_suggestions(suggestions), m_choose(std::move(choose))
{
    m_popup.set_type_hint(Gdk::WINDOW_TYPE_HINT_COMBO);
    m_popup.get_accessible()->set_name("Suggestions");
    m_list.set_model(m_model);
    m_list.set_headers_visible(false);
    m_list.set_enable_search(false);
    m_list.set_can_focus(false);
    // No selection under a resting pointer: Enter would open a page the user
    // never picked instead of what they typed.
    m_list.set_activate_on_single_click(true);
    m_list.get_accessible()->set_name("Suggestions");
    for (auto *column : {&m_columns.title, &m_columns.address}) {
        auto *cell = Gtk::manage(new Gtk::CellRendererText);
        cell->property_ellipsize() = Pango::ELLIPSIZE_END;
        auto *shown = Gtk::manage(new Gtk::TreeViewColumn);
        shown->pack_start(*cell, true);
        // Page text reaches here only escaped (withBold): the bold is ours alone.
        shown->add_attribute(cell->property_markup(), *column);
        shown->set_expand(true);
        m_list.append_column(*shown);
    }
    m_list.signal_row_activated().connect(
        [this](const Gtk::TreeModel::Path &path, Gtk::TreeViewColumn *) { chooseRow(m_model->get_iter(path)); });
    auto *frame = Gtk::manage(new Gtk::Frame);
    frame->set_shadow_type(Gtk::SHADOW_OUT);
    frame->add(m_list);
    m_popup.add(*frame);
    frame->show_all();

    m_field.signal_key_press_event().connect(sigc::mem_fun(*this, &SuggestionPopup::keyPressed), false);
}

SuggestionPopup::~SuggestionPopup()
{
    m_lookup.disconnect();
    m_moved.disconnect();
}

void SuggestionPopup::typed(const std::string &text)
{
    m_pending = text;
    if (text.empty()) {
        hide();
        return;
    }
    if (m_lookup.connected())
        return;
    // Ahead of drawing, behind every key already waiting: a burst of keys
    // costs one lookup, and the list comes with the frame that shows the text.
    m_lookup = Glib::signal_idle().connect(
        [this] {
            lookUp();
            return false;
        },
        Glib::PRIORITY_HIGH_IDLE);
}

void SuggestionPopup::hide()
{
    m_lookup.disconnect();
    m_moved.disconnect();
    m_popup.hide();
}

void SuggestionPopup::lookUp()
{
    if (!m_field.has_focus() || m_field.get_text() != m_pending) {
        hide();
        return;
    }
    const std::vector<Suggestion> found = m_suggestions.find(m_pending);
    if (found.empty()) {
        hide();
        return;
    }
    m_model->clear();
    for (const Suggestion &suggestion : found) {
        Gtk::TreeModel::Row row = *m_model->append();
        row[m_columns.title] = withBold(suggestion.title, suggestion.inTitle);
        row[m_columns.address] = withBold(suggestion.address, suggestion.inAddress);
        row[m_columns.target] = suggestion.address;
    }
    m_list.get_selection()->unselect_all();
    place();
    if (!m_popup.get_visible()) {
        m_popup.show();
        // The list stays under the field: moving the window closes it.
        if (auto *top = dynamic_cast<Gtk::Window *>(m_field.get_toplevel()))
            m_moved = top->signal_configure_event().connect(
                [this](GdkEventConfigure *) {
                    hide();
                    return false;
                },
                false);
    }
}

void SuggestionPopup::place()
{
    auto *top = dynamic_cast<Gtk::Window *>(m_field.get_toplevel());
    if (!top || !top->get_window())
        return;
    m_popup.set_transient_for(*top);
    m_popup.set_screen(top->get_screen());
    int x = 0, y = 0, originX = 0, originY = 0;
    m_field.translate_coordinates(*top, 0, 0, x, y);
    top->get_window()->get_origin(originX, originY);
    const int width = std::max(m_field.get_allocated_width(), 480);
    m_popup.set_size_request(width, -1);
    m_popup.resize(width, 1);
    m_popup.move(originX + x, originY + y + m_field.get_allocated_height());
}

bool SuggestionPopup::keyPressed(GdkEventKey *event)
{
    if (!shown())
        return false;
    switch (event->keyval) {
    case GDK_KEY_Down:
    case GDK_KEY_KP_Down:
        move(1);
        return true;
    case GDK_KEY_Up:
    case GDK_KEY_KP_Up:
        move(-1);
        return true;
    case GDK_KEY_Escape:
        hide();
        return true;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter:
        if (const auto row = m_list.get_selection()->get_selected()) {
            chooseRow(row);
            return true;
        }
        hide();
        return false;
    default:
        return false;
    }
}

void SuggestionPopup::move(int step)
{
    const int count = int(m_model->children().size());
    const auto selected = m_list.get_selection()->get_selected();
    int index = selected ? m_model->get_path(selected)[0] + step : step > 0 ? 0 : count - 1;
    // Up from the first row gives the typed text back its Enter.
    if (index < 0 || index >= count) {
        m_list.get_selection()->unselect_all();
        return;
    }
    const Gtk::TreeModel::Path path(std::to_string(index));
    m_list.get_selection()->select(path);
    m_list.scroll_to_row(path);
}

void SuggestionPopup::chooseRow(const Gtk::TreeModel::iterator &row)
{
    if (!row)
        return;
    const Glib::ustring target = (*row)[m_columns.target];
    hide();
    m_choose(target);
}

std::string SuggestionPopup::withBold(const std::string &text, const std::vector<textmatch::Range> &bold)
{
    std::string markup;
    std::size_t at = 0;
    for (const textmatch::Range &range : bold) {
        if (range.start < at || range.start + range.length > text.size())
            continue;
        markup += Glib::Markup::escape_text(text.substr(at, range.start - at));
        markup += "<b>" + Glib::Markup::escape_text(text.substr(range.start, range.length)) + "</b>";
        at = range.start + range.length;
    }
    return markup + Glib::Markup::escape_text(text.substr(at));
}
