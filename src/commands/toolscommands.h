#pragma once

#include <QObject>
#include <QPointer>

class frmAbout;
class frmBrowser;
class InternetSettingsPanel;

// The Favorites folder, Add to Favorites, Internet Properties, Help and About.
class ToolsCommands : public QObject
{
    Q_OBJECT
public:
    explicit ToolsCommands(frmBrowser &window);
    ~ToolsCommands() override;

    void showFavorites();
    void addToFavorites();
    void showInternetProperties();
    void showHelp();
    void showAbout();

    // The open About box and Internet settings panel, if any.
    frmAbout *aboutDialog() const;
    InternetSettingsPanel *internetPanel() const;

private:
    frmBrowser &m_window;
    QPointer<frmAbout> m_about;
    QPointer<InternetSettingsPanel> m_internetPanel;
};
