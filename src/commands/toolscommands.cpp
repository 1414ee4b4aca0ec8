#include "commands/toolscommands.h"

#include "about/aboutbox.h"
#include "commands/internetsettingspanel.h"
#include "interfaces/pageview.h"
#include "pagerules/makersite.h"

ToolsCommands::ToolsCommands(PageView &view, SettingsStore &settings, Dialogs &dialogs,
                             std::function<bool()> forgetSurfed, Gtk::Window &mainWindow,
                             std::string engineText)
    : m_view(view), m_settings(settings), m_dialogs(dialogs), m_forgetSurfed(std::move(forgetSurfed)),
      m_mainWindow(mainWindow), m_engineText(std::move(engineText))
{
}

// The About box has no owner: it must not outlive the window whose page it drives.
ToolsCommands::~ToolsCommands() = default;

void ToolsCommands::showInternetProperties()
{
    if (!m_internetPanel) {
        m_internetPanel = std::make_unique<InternetSettingsPanel>(m_settings, m_dialogs, m_view,
                                                                  m_forgetSurfed, &m_mainWindow);
    }
    m_internetPanel->present();
}

void ToolsCommands::showAbout()
{
    // An open box comes forward as it is; a closed one is built afresh.
    if (m_about && m_about->get_visible()) {
        m_about->present();
        return;
    }
    m_about = std::make_unique<AboutBox>(m_mainWindow, m_engineText);
    m_about->visitRequested.connect([this] { m_view.navigate(makersite::OwnAddress); });
    m_about->present();
}
