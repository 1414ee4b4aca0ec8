#pragma once

#include "history/addresssuggestions.h"

#include <functional>
#include <gtkmm/entry.h>
#include <gtkmm/liststore.h>
#include <gtkmm/treeview.h>
#include <gtkmm/window.h>
#include <string>

// What the address bar offers while the user types: visited pages whose
// address or title holds the typed words, in a list under the field, the
// typed text in bold. The lookup runs once the keys typed so far have been
// handled, so typing never waits for it, and the keyboard stays in the field:
// Down and Up move through the list, Enter surfs the one picked (without one
// picked, Enter surfs what was typed, as ever), Esc closes the list, and a
// click surfs the one clicked.
class SuggestionPopup : public sigc::trackable
{
public:
    // `choose` surfs an address as the Surf command does.
    SuggestionPopup(Gtk::Entry &field, AddressSuggestions &suggestions,
                    std::function<void(const std::string &address)> choose);
    ~SuggestionPopup();

    // The user typed: suggestions for `text` are looked up once the keys
    // waiting have been handled.
    void typed(const std::string &text);
    void hide();
    bool shown() const { return m_popup.get_visible(); }

    // `text` with the runs in bold, as Pango markup (the rest escaped).
    static std::string withBold(const std::string &text, const std::vector<textmatch::Range> &bold);

private:
    struct Columns : Gtk::TreeModelColumnRecord
    {
        Columns()
        {
            add(title);
            add(address);
            add(target);
        }
        Gtk::TreeModelColumn<Glib::ustring> title;   // markup
        Gtk::TreeModelColumn<Glib::ustring> address; // markup
        Gtk::TreeModelColumn<Glib::ustring> target;  // the address to surf
    };

    void lookUp();
    void place();
    bool keyPressed(GdkEventKey *event);
    void move(int step);
    void chooseRow(const Gtk::TreeModel::iterator &row);

    Gtk::Entry &m_field;
    AddressSuggestions &m_suggestions;
    std::function<void(const std::string &)> m_choose;
    Columns m_columns;
    Glib::RefPtr<Gtk::ListStore> m_model = Gtk::ListStore::create(m_columns);
    Gtk::Window m_popup{Gtk::WINDOW_POPUP};
    Gtk::TreeView m_list;
    std::string m_pending;
    sigc::connection m_lookup;
    sigc::connection m_moved;
};
