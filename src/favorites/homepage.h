#pragma once

#include <functional>
#include <string>

namespace Gtk { class Window; }
class Dialogs;
class SettingsStore;

// "Set My Home Page": stores the typed address as the home address and points
// the Home Page tab at it at once. The Home button reads the store itself.
class HomePage
{
public:
    // `retarget` gives the Home Page tab its new target and tooltip.
    HomePage(SettingsStore &settings, Dialogs &dialogs,
             std::function<void(const std::string &address)> retarget,
             Gtk::Window *parent = nullptr);

    void set();

private:
    SettingsStore &m_settings;
    Dialogs &m_dialogs;
    std::function<void(const std::string &)> m_retarget;
    Gtk::Window *m_parent;
};
