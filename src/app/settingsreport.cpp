#include "app/settingsreport.h"

#include "interfaces/dialogs.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"

#include <glibmm/main.h>
#include <gtkmm/label.h>
#include <gtkmm/window.h>

SettingsReport::SettingsReport(SettingsStore &settings, Dialogs &dialogs, Gtk::Window &window,
                               Gtk::Label &statusPanel)
    : m_settings(settings), m_dialogs(dialogs), m_window(window), m_statusPanel(statusPanel)
{
    m_settings.writeFailed.connect(sigc::mem_fun(*this, &SettingsReport::writeFailed));
    m_settings.damaged.connect(sigc::mem_fun(*this, &SettingsReport::keptAside));
}

void SettingsReport::windowShown()
{
    const std::string path = m_settings.filePath(keys::App);
    if (m_settings.isDamaged(keys::App) && !m_damageTold) {
        m_damageTold = true;
        box("The settings file " + path + " is damaged: some of its lines cannot be read, and Skimlark "
            "goes on without them. The file will be kept aside as it is when a setting next changes.");
    }
    if (!m_settings.isWritable(keys::App))
        box("Settings cannot be saved to " + path + ": the file or its folder cannot be written. Until "
            "it can, a change of a setting is not made.");
}

void SettingsReport::writeFailed(const std::string &path)
{
    const std::string text = "This change was not made: it could not be saved to " + path + ".";
    m_statusPanel.set_text(text);
    box(text + " Check that the disk has room and that the file and its folder can be written.");
}

void SettingsReport::keptAside(const std::string &path, const std::string &aside)
{
    const std::string text = "The damaged settings file " + path + " was kept as " + aside + ".";
    if (m_damageTold) {
        m_statusPanel.set_text(text);
        return;
    }
    m_damageTold = true;
    box(text + " What could be read was kept.");
}

void SettingsReport::box(const std::string &text)
{
    // Once per run: later news goes to the status bar only.
    if (m_boxShown)
        return;
    m_boxShown = true;
    // Shown once the change that failed has returned: its handler may have
    // been run by an assistive tool, which can then answer the box.
    Glib::signal_idle().connect_once(sigc::bind(sigc::mem_fun(*this, &SettingsReport::showBox), text));
}

void SettingsReport::showBox(const std::string &text)
{
    m_dialogs.message(&m_window, text, "Skimlark");
}
