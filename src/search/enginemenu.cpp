#include "search/enginemenu.h"

#include "search/enginecatalogue.h"
#include "search/enginemenuitems.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"
#include "util/menucaption.h"

#include <gtkmm/separatormenuitem.h>

EngineMenu::EngineMenu(SettingsStore &settings, Gtk::Menu &menu) : m_settings(settings)
{
    for (const EngineMenuItem &entry : EngineMenuItems) {
        auto *item = Gtk::manage(new Gtk::CheckMenuItem(menucaption::mnemonic(entry.caption), true));
        item->set_name(entry.name);
        item->get_accessible()->set_name(menucaption::plain(entry.caption));
        item->set_no_show_all(true);
        item->set_visible(entry.visible);
        menu.append(*item);
        m_items.push_back({item, entry.name, entry.engineId});
        if (entry.separatorAfter) {
            auto *separator = Gtk::manage(new Gtk::SeparatorMenuItem);
            separator->set_name(entry.separatorAfter);
            separator->show();
            menu.append(*separator);
        }
    }
    markStored();
    for (const Item &entry : m_items)
        entry.item->signal_activate().connect(
            sigc::bind(sigc::mem_fun(*this, &EngineMenu::chosen), entry.item, entry.engineId));
}

Gtk::CheckMenuItem *EngineMenu::item(const std::string &name) const
{
    for (const Item &entry : m_items) {
        if (entry.name == name)
            return entry.item;
    }
    return nullptr;
}

void EngineMenu::markStored()
{
    // Every item of the stored id is marked, none removed: an id no row
    // carries marks nothing.
    const std::string engine =
        m_settings.read(keys::App, keys::Home, keys::Engine, enginecatalogue::DefaultEngine);
    for (const EngineMark &startMark : StartupEngineMarks) {
        if (engine == startMark.engineId) {
            if (Gtk::CheckMenuItem *marked = item(startMark.item))
                mark(*marked, true);
        }
    }
}

void EngineMenu::chosen(Gtk::CheckMenuItem *item, const std::string &engineId)
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
