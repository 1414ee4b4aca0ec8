#pragma once

#include <string>

namespace Gtk { class Window; }
class Dialogs;
class PageView;
class SettingsStore;

// What the five navigation buttons of the toolbar do: history, stop, refresh
// and home. Back and Forward say so when there is no step to take. Each of
// the four that navigate says whether it did.
class NavigationToolbar
{
public:
    NavigationToolbar(SettingsStore &settings, PageView &view, Dialogs &dialogs,
                      Gtk::Window *parent = nullptr);

    bool back();
    bool forward();
    void stop();
    bool refresh();
    bool home();

private:
    SettingsStore &m_settings;
    PageView &m_view;
    Dialogs &m_dialogs;
    Gtk::Window *m_parent;
};
