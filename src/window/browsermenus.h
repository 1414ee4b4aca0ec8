#pragma once

#include "window/commandtable.h"

#include <functional>
#include <gtkmm/accelgroup.h>
#include <gtkmm/menu.h>
#include <gtkmm/menubar.h>
#include <gtkmm/menuitem.h>
#include <map>
#include <string>

// The main window's menu tree, built from its one table. Every item runs its
// command through `run`; the search engine menu's items are its own, added
// to engineMenu() by the search engine menu.
class BrowserMenus
{
public:
    using Run = std::function<void(Command command, int argument)>;

    BrowserMenus(Gtk::MenuBar &bar, const Glib::RefPtr<Gtk::AccelGroup> &keys, Run run);

    // The menu the engine items go into.
    Gtk::Menu &engineMenu() const { return *m_engineMenu; }

private:
    Gtk::MenuItem *add(Gtk::MenuShell &shell, const MenuRow &row, const std::string &name,
                       const std::string &caption, const Glib::RefPtr<Gtk::AccelGroup> &keys, const Run &run);

    Gtk::Menu *m_engineMenu = nullptr;
};
