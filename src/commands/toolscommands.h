#pragma once

#include <memory>
#include <string>

namespace Gtk { class ComboBoxText; class Window; }
class Dialogs;
class AboutBox;
class InternetSettingsPanel;
class PageView;
class SettingsStore;

// Internet Properties and About: one window each, brought forward when open.
class ToolsCommands
{
public:
    // `addressBar` holds the visited-address list that Internet Properties
    // deletes; `mainWindow` places the About box and owns the panel;
    // `engineText` names the page engine and its version for the About box.
    ToolsCommands(PageView &view, SettingsStore &settings, Dialogs &dialogs,
                  Gtk::ComboBoxText &addressBar, Gtk::Window &mainWindow, std::string engineText);
    ~ToolsCommands();

    void showInternetProperties();
    void showAbout();

private:
    PageView &m_view;
    SettingsStore &m_settings;
    Dialogs &m_dialogs;
    Gtk::ComboBoxText &m_addressBar;
    Gtk::Window &m_mainWindow;
    std::string m_engineText;
    std::unique_ptr<AboutBox> m_about;
    std::unique_ptr<InternetSettingsPanel> m_internetPanel;
};
