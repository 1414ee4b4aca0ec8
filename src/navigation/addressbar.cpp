#include "navigation/addressbar.h"

#include "interfaces/dialogs.h"
#include "interfaces/pageview.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"
#include "util/defaultbuttonrule.h"
#include "util/urlinput.h"

#include <gtkmm/cellrenderertext.h>
#include <gtkmm/entry.h>
#include <gtkmm/window.h>

const std::string AddressBar::HiddenPhrase = "Copper kettle is brave";

namespace {

// What a GTK entry holds at most; it drops whatever goes beyond.
constexpr size_t FieldBytes = 65534;
// The key the last surfed address is kept under, and the count kept with it.
const std::string LastSurfedKey = "0";

} // namespace

AddressBar::AddressBar(Gtk::ComboBoxText &combo, Gtk::Button &surfButton, SettingsStore &settings,
                       PageView &view, Dialogs &dialogs, std::function<void(const std::string &)> search,
                       std::function<bool()> canSearch)
    : m_combo(combo), m_surfButton(surfButton), m_settings(settings), m_view(view), m_dialogs(dialogs),
      m_search(std::move(search)), m_canSearch(std::move(canSearch))
{
    // The remembered address is the list's one entry, also when empty.
    m_combo.append(m_settings.read(keys::App, keys::MRURL, LastSurfedKey, ""));
    writeText("");
    DefaultButtonRule::hand(entry(), surfButton);
    m_combo.signal_changed().connect(sigc::mem_fun(*this, &AddressBar::listChanged));
    m_combo.signal_scroll_event().connect(sigc::mem_fun(*this, &AddressBar::wheelTurned), false);
    entry().signal_changed().connect(sigc::mem_fun(*this, &AddressBar::textChanged));
    // Before the field takes the text, while its whole length is known.
    entry().signal_insert_text().connect(sigc::mem_fun(*this, &AddressBar::textInserted), false);
    entry().signal_focus_out_event().connect(sigc::mem_fun(*this, &AddressBar::focusLeft), false);
    entry().signal_key_press_event().connect(sigc::mem_fun(*this, &AddressBar::keyPressed), false);
    fitListToWindow();
}

void AddressBar::fitListToWindow()
{
    // A long address would make the list as wide as the screen: it is no
    // wider than the window, its entries cut in the middle, each whole in
    // its tooltip.
    auto *text = dynamic_cast<Gtk::CellRendererText *>(m_combo.get_first_cell());
    if (!text)
        return;
    text->property_ellipsize() = Pango::ELLIPSIZE_MIDDLE;
    auto follow = [this, text](Gtk::Allocation &window) {
        // The clock's tick lays the window out again: only a new width counts.
        if (window.get_width() == m_listWidthFor)
            return;
        m_listWidthFor = window.get_width();
        auto metrics = m_combo.get_pango_context()->get_metrics(m_combo.get_style_context()->get_font());
        const int charWidth = std::max(1, std::max(metrics.get_approximate_char_width(),
                                                   metrics.get_approximate_digit_width()) / PANGO_SCALE);
        const int chars = std::max(8, (window.get_width() - 48) / charWidth);
        if (text->property_max_width_chars().get_value() != chars)
            text->property_max_width_chars() = chars;
    };
    m_combo.signal_map().connect([this, follow] {
        if (auto *window = m_combo.get_toplevel(); window && !m_followingWindow) {
            m_followingWindow = true;
            window->signal_size_allocate().connect(follow);
            Gtk::Allocation now = window->get_allocation();
            follow(now);
        }
    });
    m_combo.property_popup_shown().signal_changed().connect([this] {
        auto *popup = gtk_combo_box_get_popup_accessible(GTK_COMBO_BOX(m_combo.gobj()));
        GtkWidget *menu = popup && GTK_IS_ACCESSIBLE(popup) ? gtk_accessible_get_widget(GTK_ACCESSIBLE(popup)) : nullptr;
        if (!m_combo.property_popup_shown().get_value() || !menu || !GTK_IS_MENU(menu))
            return;
        GList *items = gtk_container_get_children(GTK_CONTAINER(menu));
        auto rows = m_combo.get_model()->children();
        auto row = rows.begin();
        for (GList *item = items; item && row != rows.end(); item = item->next, ++row) {
            Glib::ustring whole;
            row->get_value(0, whole);
            gtk_widget_set_tooltip_text(GTK_WIDGET(item->data), whole.empty() ? nullptr : whole.c_str());
        }
        g_list_free(items);
    });
}

Gtk::Entry &AddressBar::entry()
{
    return *m_combo.get_entry();
}

void AddressBar::surf()
{
    DefaultButtonRule::makeDefault(m_surfButton);
    const std::string address = entry().get_text();
    if (address == HiddenPhrase) {
        m_dialogs.message(dynamic_cast<Gtk::Window *>(m_combo.get_toplevel()), "hell yeah", "Skimlark");
        return;
    }
    if (m_cut) {
        notice.emit("Not opened: the address was cut short to fit the address bar.");
        return;
    }
    // Words with a blank in them can never name a host: looking them up as
    // one could only fail.
    const bool words = urlinput::isSearchWords(address) && m_search;
    if (words && m_canSearch && !m_canSearch()) {
        notice.emit("Not searched: no search engine is chosen. Choose one in the Integrated Search Engine menu.");
        return;
    }
    m_edited = false;
    surfing.emit();
    if (words)
        m_search(address);
    else if (const std::string target = urlinput::fromUserInput(address);
             urlinput::lacksScheme(address) && target.rfind("http://", 0) == 0)
        // Typed without a scheme: over https first, as users expect now.
        m_view.navigateSecureFirst("https://" + target.substr(7));
    else
        m_view.navigate(target);
    m_combo.append(address);
    // The page opens whether or not its address can be kept; a failure is
    // told as such. The count goes with the address it counts.
    if (m_settings.write(keys::App, keys::MRURL, LastSurfedKey, address, SettingsStore::Purpose::SurfedAddress))
        m_settings.write(keys::App, keys::CboCount, keys::Count, LastSurfedKey,
                         SettingsStore::Purpose::SurfedAddress);
}

void AddressBar::surfAddress(const std::string &address)
{
    writeText(address);
    surf();
}

void AddressBar::showPageAddress(const std::string &address)
{
    if (m_edited && entry().has_focus())
        return;
    writeText(address);
}

void AddressBar::userNavigated()
{
    writeText(m_view.currentAddress());
}

bool AddressBar::forgetSurfed()
{
    m_combo.remove_all();
    return m_settings.write(keys::App, keys::MRURL, LastSurfedKey, "");
}

void AddressBar::writeText(const std::string &text)
{
    m_writing = true;
    entry().set_text(text);
    m_writing = false;
    m_edited = false;
    typingEnded.emit();
}

void AddressBar::listChanged()
{
    // Typing and text written from code leave no entry active: only a
    // choice from the list does.
    if (m_combo.get_active_row_number() == -1)
        return;
    surf();
    // So that choosing the same entry again is a choice too; the text stays.
    m_combo.set_active(-1);
}

void AddressBar::textChanged()
{
    if (entry().get_text_length() == 0)
        m_cut = false;
    if (m_writing)
        return;
    m_edited = true;
    typed.emit(entry().get_text());
}

void AddressBar::textInserted(const Glib::ustring &text, int *)
{
    const size_t held = entry().get_buffer()->get_bytes();
    // Text put into an empty field is all there is: it starts afresh.
    if (held == 0)
        m_cut = false;
    if (held + text.bytes() <= FieldBytes)
        return;
    m_cut = true;
    // A page's own long address is cut without a word: it was not typed.
    if (!m_writing)
        notice.emit("Too long for the address bar: the text was cut short, and Surf will not open it.");
}

bool AddressBar::focusLeft(GdkEventFocus *)
{
    m_edited = false;
    typingEnded.emit();
    return false;
}

bool AddressBar::wheelTurned(GdkEventScroll *)
{
    // The wheel over the bar would step through the list and surf each entry.
    return true;
}

bool AddressBar::keyPressed(GdkEventKey *event)
{
    if (event->keyval != GDK_KEY_Escape)
        return false;
    writeText(m_view.currentAddress());
    return true;
}
