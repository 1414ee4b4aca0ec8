#pragma once

#include <string>

namespace Gtk { class Widget; class Window; }
class Dialogs;
class EngineTabBar;
class SettingsStore;

// The home address. Built, it points the Home Page tab at the stored home
// address (or the maker's referral address) and shows the home address as
// the Search button's tooltip, as the window has always done at start-up.
// "Set My Home Page" stores a typed address and retargets the tab at once,
// with the address as its tooltip. The Home button reads the store itself.
class HomePage
{
public:
    HomePage(SettingsStore &settings, Dialogs &dialogs, EngineTabBar &tabs, Gtk::Widget &searchButton,
             Gtk::Window *parent = nullptr);

    void set();

    // What the Home Page tab opens: the stored home address as the user
    // typed it, or the maker's referral address.
    static std::string tabTarget(const SettingsStore &settings);

private:
    SettingsStore &m_settings;
    Dialogs &m_dialogs;
    EngineTabBar &m_tabs;
    Gtk::Window *m_parent;
};
