#include "search/enginemenu.h"

#include "settings/settingskeys.h"
#include "settings/settingsstore.h"

EngineMenu::EngineMenu(SettingsStore &settings, std::vector<Item> items)
    : m_settings(settings), m_items(std::move(items))
{
    for (const Item &entry : m_items)
        entry.item->signal_activate().connect(
            sigc::bind(sigc::mem_fun(*this, &EngineMenu::chosen), entry.item, entry.engineId));
}

void EngineMenu::chosen(Gtk::CheckMenuItem *item, std::string engineId)
{
    if (m_marking)
        return;
    if (!m_settings.write(keys::App, keys::Home, keys::Engine, engineId)) {
        // Undo GTK's flip: the marks keep showing what is stored.
        mark(*item, !item->get_active());
        return;
    }
    for (const Item &entry : m_items)
        mark(*entry.item, entry.item == item);
}

void EngineMenu::mark(Gtk::CheckMenuItem &item, bool on)
{
    m_marking = true;
    item.set_active(on);
    m_marking = false;
}
