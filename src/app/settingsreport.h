#pragma once

#include "settings/settingsstore.h"

#include <gtkmm/infobar.h>
#include <gtkmm/label.h>
#include <sigc++/trackable.h>
#include <string>

namespace Gtk { class Window; }
class Dialogs;

// Tells the user the truth about the settings file, without flooding: a
// store that cannot be written or a damaged file is told once the window is
// on screen, and every change that could not be saved is told, since it was
// not made. The first news of a run comes in a box; all of it stays in a bar
// over the page, which page events do not touch, until the user closes it.
class SettingsReport : public sigc::trackable
{
public:
    SettingsReport(SettingsStore &settings, Dialogs &dialogs, Gtk::Window &window);

    // The window is on screen: the state of the file is told now.
    void windowShown();

    // The bar, for the window to place over the page.
    Gtk::InfoBar &bar() { return m_bar; }

private:
    void writeFailed(const std::string &path, SettingsStore::Problem problem, SettingsStore::Purpose purpose);
    void keptAside(const std::string &path, const std::string &aside);
    // `text` in the bar, and in a box with `more` the first time in a run.
    void tell(const std::string &text, const std::string &more, Gtk::MessageType type);
    void showBox(const std::string &text);

    SettingsStore &m_settings;
    Dialogs &m_dialogs;
    Gtk::Window &m_window;
    Gtk::InfoBar m_bar;
    Gtk::Label m_barText;
    // What the bar says, and how many times in a row it happened.
    std::string m_told;
    int m_times = 0;
    bool m_boxShown = false;
    bool m_damageTold = false;
};
