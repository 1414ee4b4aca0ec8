#pragma once

#include <gtkmm/toolbutton.h>

class Dialogs;
class PageView;
class SettingsStore;

// The five navigation buttons of the toolbar: history, stop, refresh and
// home. Back and Forward say so when there is no step to take.
class NavigationToolbar : public sigc::trackable
{
public:
    NavigationToolbar(Gtk::ToolButton &back, Gtk::ToolButton &forward, Gtk::ToolButton &stop,
                      Gtk::ToolButton &refresh, Gtk::ToolButton &home, SettingsStore &settings,
                      PageView &view, Dialogs &dialogs);

private:
    void clicked(Gtk::ToolButton *button, const char *key);
    // Runs the button's action; false when the page view refused the step.
    bool act(const std::string &key);

    SettingsStore &m_settings;
    PageView &m_view;
    Dialogs &m_dialogs;
};
