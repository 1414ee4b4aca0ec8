#include "window/browsermenus.h"

#include "util/menucaption.h"

#include <gtkmm/separatormenuitem.h>

BrowserMenus::BrowserMenus(Gtk::MenuBar &bar, const Glib::RefPtr<Gtk::AccelGroup> &keys, Run run)
{
    std::map<std::string, Gtk::Menu *> menus;
    for (const MenuRow &row : MenuRows) {
        Gtk::MenuShell &shell = row.parent ? static_cast<Gtk::MenuShell &>(*menus.at(row.parent))
                                           : static_cast<Gtk::MenuShell &>(bar);
        if (row.kind == MenuKind::Engines) {
            m_engineMenu = static_cast<Gtk::Menu *>(&shell);
            continue;
        }
        if (row.kind == MenuKind::Slots) {
            for (int n = 1; n <= FavoriteSlots; ++n) {
                // "&1" ... "&9", then "1&0".
                const std::string number = std::to_string(n);
                const std::string caption = number.substr(0, number.size() - 1) + "&" + number.back();
                MenuRow slot = row;
                slot.kind = MenuKind::Item;
                slot.argument = n;
                add(shell, slot, row.name + number, caption, keys, run);
            }
            continue;
        }
        Gtk::MenuItem *item = add(shell, row, row.name, row.caption ? row.caption : "", keys, run);
        if (row.kind == MenuKind::Menu) {
            auto *menu = Gtk::manage(new Gtk::Menu);
            menu->set_accel_group(keys);
            item->set_submenu(*menu);
            // An assistive tool may choose an item of a menu never opened:
            // GTK then takes its grab on the menu's window, which must exist.
            gtk_widget_realize(GTK_WIDGET(menu->get_toplevel()->gobj()));
            menus[row.name] = menu;
        }
    }
}

Gtk::MenuItem *BrowserMenus::add(Gtk::MenuShell &shell, const MenuRow &row, const std::string &name,
                                 const std::string &caption, const Glib::RefPtr<Gtk::AccelGroup> &keys,
                                 const Run &run)
{
    Gtk::MenuItem *item = row.kind == MenuKind::Separator
                              ? Gtk::manage(new Gtk::SeparatorMenuItem)
                              : Gtk::manage(new Gtk::MenuItem(menucaption::mnemonic(caption), true));
    item->set_name(name);
    if (!caption.empty())
        item->get_accessible()->set_name(menucaption::plain(caption));
    shell.append(*item);
    item->show();
    if (row.kind != MenuKind::Item)
        return item;
    if (row.key.keyval)
        item->add_accelerator("activate", keys, row.key.keyval, Gdk::ModifierType(row.key.modifiers),
                              Gtk::ACCEL_VISIBLE);
    const Command command = row.command;
    const int argument = row.argument;
    item->signal_activate().connect([run, command, argument] { run(command, argument); });
    return item;
}

