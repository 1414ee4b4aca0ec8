#include "toolscommands.h"

#include "about/frmabout.h"
#include "browser/frmbrowser.h"
#include "browser/makeraddresses.h"
#include "browser/pageview.h"
#include "browser/shelluihelper.h"
#include "favoritesfolder.h"
#include "internetsettingspanel.h"

#include <QAction>
#include <QComboBox>
#include <QDir>

ToolsCommands::ToolsCommands(frmBrowser &window) : QObject(&window), m_window(window)
{
    const struct { const char *item; void (ToolsCommands::*command)(); } items[] = {
        {"mnuiefavorites", &ToolsCommands::showFavorites},
        {"mnuaddtoiefavorites", &ToolsCommands::addToFavorites},
        {"mnuinternetproperites", &ToolsCommands::showInternetProperties},
        {"mnumarrowgatehelp", &ToolsCommands::showHelp},
        {"mnuaboutquendle", &ToolsCommands::showAbout},
    };
    for (const auto &entry : items) {
        if (QAction *action = window.menuItem(QLatin1String(entry.item)))
            connect(action, &QAction::triggered, this, entry.command);
    }
}

ToolsCommands::~ToolsCommands()
{
    // The About box has no owner; it must not outlive the window whose page it drives.
    delete m_about.data();
}

frmAbout *ToolsCommands::aboutDialog() const
{
    return m_about.data();
}

InternetSettingsPanel *ToolsCommands::internetPanel() const
{
    return m_internetPanel.data();
}

void ToolsCommands::showFavorites()
{
    ShellUIHelper *shell = m_window.shellHelper();
    if (!shell)
        return;
    const QString folder = shell->favoritesFolder();
    QDir().mkpath(folder);
    m_window.WebBrowser1->showHtml(
        favoritesfolder::listingHtml(favoritesfolder::list(folder)),
        favoritesfolder::folderAddress(folder));
    m_window.WebBrowser1->show();
}

void ToolsCommands::addToFavorites()
{
    // Typed text that was never surfed is offered as it stands; failures end silently.
    if (ShellUIHelper *shell = m_window.shellHelper())
        shell->addFavorite(m_window.Combo1->currentText(), m_window.WebBrowser1->currentTitle());
}

void ToolsCommands::showInternetProperties()
{
    if (!m_internetPanel) {
        m_internetPanel = new InternetSettingsPanel(m_window.settings(), m_window.dialogs(),
                                                    m_window.WebBrowser1, &m_window);
    }
    m_internetPanel->setWindowState(m_internetPanel->windowState() & ~Qt::WindowMinimized);
    m_internetPanel->show();
    m_internetPanel->raise();
    m_internetPanel->activateWindow();
}

void ToolsCommands::showHelp()
{
    m_window.WebBrowser1->navigate(maker::HelpPage);
}

void ToolsCommands::showAbout()
{
    if (!m_about) {
        m_about = new frmAbout;
        m_about->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_about, &frmAbout::visitRequested, &m_window,
                [this] { m_window.WebBrowser1->navigate(maker::OwnAddress); });
    }
    m_about->setWindowState(m_about->windowState() & ~Qt::WindowMinimized);
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}
