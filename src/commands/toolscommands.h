#pragma once

#include <functional>
#include <memory>
#include <string>

namespace Gtk { class Window; }
class Dialogs;
class AboutBox;
class InternetSettingsPanel;
class PageView;
class SettingsStore;

// Internet Properties and About: one window each, brought forward when open.
class ToolsCommands
{
public:
    // `forgetSurfed` deletes the surfed addresses with the browsing data (see
    // InternetSettingsPanel); `mainWindow` places the About box and owns the
    // panel; `engineText` names the page engine and its version for the About box.
    ToolsCommands(PageView &view, SettingsStore &settings, Dialogs &dialogs,
                  std::function<bool()> forgetSurfed, Gtk::Window &mainWindow, std::string engineText);
    ~ToolsCommands();

    void showInternetProperties();
    void showAbout();

private:
    PageView &m_view;
    SettingsStore &m_settings;
    Dialogs &m_dialogs;
    std::function<bool()> m_forgetSurfed;
    Gtk::Window &m_mainWindow;
    std::string m_engineText;
    std::unique_ptr<AboutBox> m_about;
    std::unique_ptr<InternetSettingsPanel> m_internetPanel;
};
