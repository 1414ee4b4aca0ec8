#pragma once

#include <string>

namespace Gtk { class Window; }
class Dialogs;
class PageView;
class SettingsStore;

// What the five navigation buttons of the toolbar do: history, stop, refresh
// and home. Back and Forward say so when there is no step to take.
class NavigationToolbar
{
public:
    NavigationToolbar(SettingsStore &settings, PageView &view, Dialogs &dialogs,
                      Gtk::Window *parent = nullptr);

    void back();
    void forward();
    void stop();
    void refresh();
    void home();

private:
    SettingsStore &m_settings;
    PageView &m_view;
    Dialogs &m_dialogs;
    Gtk::Window *m_parent;
};
