#pragma once

#include <sigc++/trackable.h>
#include <string>

namespace Gtk { class Label; class Window; }
class Dialogs;
class SettingsStore;

// Tells the user the truth about the settings file, without flooding: a
// store that cannot be written or a damaged file is told in a box once the
// window is on screen; every change that could not be saved is told too (in
// a box the first time, then in the status bar), since it was not made.
class SettingsReport : public sigc::trackable
{
public:
    SettingsReport(SettingsStore &settings, Dialogs &dialogs, Gtk::Window &window, Gtk::Label &statusPanel);

    // The window is on screen: the state of the file is told now.
    void windowShown();

private:
    void writeFailed(const std::string &path);
    void keptAside(const std::string &path, const std::string &aside);
    void box(const std::string &text);
    void showBox(const std::string &text);

    SettingsStore &m_settings;
    Dialogs &m_dialogs;
    Gtk::Window &m_window;
    Gtk::Label &m_statusPanel;
    bool m_boxShown = false;
    bool m_damageTold = false;
};
