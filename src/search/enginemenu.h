#pragma once

#include <gtkmm/checkmenuitem.h>
#include <string>
#include <vector>

class SettingsStore;

// The "Integrated Search Engine" menu: a choice stores the item's engine id
// and leaves that item the only one marked, hidden items included. Nothing
// else happens; the next search reads the stored id. When the id cannot be
// stored the marks stay as they were (the window tells the user once).
class EngineMenu : public sigc::trackable
{
public:
    struct Item
    {
        Gtk::CheckMenuItem *item;
        std::string engineId;
    };

    EngineMenu(SettingsStore &settings, std::vector<Item> items);

private:
    // Runs after GTK has flipped the chosen item's own mark.
    void chosen(Gtk::CheckMenuItem *item, std::string engineId);
    // Sets a mark from code; GTK reports that as an activation too.
    void mark(Gtk::CheckMenuItem &item, bool on);

    SettingsStore &m_settings;
    std::vector<Item> m_items;
    bool m_marking = false;
};
