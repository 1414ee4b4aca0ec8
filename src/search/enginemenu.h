#pragma once

#include <gtkmm/checkmenuitem.h>
#include <gtkmm/menu.h>
#include <string>
#include <vector>

class SettingsStore;

// The "Integrated Search Engine" menu's items. Built marked as the stored
// engine id says; a choice stores the item's engine id and leaves that item
// the only one marked, hidden items included. Nothing else happens; the next
// search reads the stored id. When the id cannot be stored the marks stay as
// they were (the user is told elsewhere).
class EngineMenu : public sigc::trackable
{
public:
    // Adds the items to `menu`.
    EngineMenu(SettingsStore &settings, Gtk::Menu &menu);

    // An engine item by its name (`mnugoogle` ...); nullptr if none.
    Gtk::CheckMenuItem *item(const std::string &name) const;

private:
    struct Item
    {
        Gtk::CheckMenuItem *item;
        std::string name;
        std::string engineId;
    };

    void markStored();
    // Runs after GTK has flipped the chosen item's own mark.
    void chosen(Gtk::CheckMenuItem *item, const std::string &engineId);
    // Sets a mark from code; GTK reports that as an activation too.
    void mark(Gtk::CheckMenuItem &item, bool on);

    SettingsStore &m_settings;
    std::vector<Item> m_items;
    bool m_marking = false;
};
