#pragma once

#include <QColor>
#include <QHash>
#include <QMainWindow>
#include <array>

#include "enginetabbar.h"

class Dialogs;
class PageView;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTimer;
class QToolBar;
class SettingsStore;
class ShellUIHelper;
class ToolbarComponent;

// The main window. It builds its controls and menu tree, runs the load that
// restores the stored settings, lays itself out and ends the program when
// closed. The subsystems wire their behaviour onto the controls it exposes.
class frmBrowser : public QMainWindow
{
    Q_OBJECT
public:
    frmBrowser(SettingsStore &settings, Dialogs &dialogs, PageView *pageView,
               QWidget *parent = nullptr);
    ~frmBrowser() override;

    // The main window load: restores the settings onto the controls. Runs once,
    // before the window is first shown.
    void load();

    // A menu item or separator by its name (`mnugoogle`, `mnusepo` ...).
    QAction *menuItem(const QString &name) const;
    // Toolbar1 button by its 1-based position (1..23) or by key ("back", "one" ...).
    QAction *toolbarButton(int position) const { return m_toolbarButtons.at(position); }
    QAction *toolbarButton(const QString &key) const;
    // Favorite button N (1..10): position 13 + N.
    QAction *favoriteButton(int n) const { return m_toolbarButtons.at(13 + n); }

    SettingsStore &settings() const { return m_settings; }
    Dialogs &dialogs() const { return m_dialogs; }
    ShellUIHelper *shellHelper() const { return m_shell; }
    ToolbarComponent *toolbarComponent() const { return m_toolbarComponent; }

    // Window fields.
    int visitedAddressCounter() const { return m_visitedCounter; }
    bool firstActivationPending() const { return m_firstActivation; }
    bool firstMouseMoveDone() const { return m_firstMouseMove; }

    // The common dialog's current colour: black when the window opens, then the
    // colour last accepted in the colour picker.
    QColor commonDialogColour = QColor(Qt::black);

    // Controls, by their design names.
    QToolBar *Toolbar1 = nullptr;
    QToolBar *UCmoreToolbar = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QPushButton *Command1 = nullptr;
    QLabel *Label2 = nullptr;
    QComboBox *Combo1 = nullptr;
    QPushButton *Command2 = nullptr;
    EngineTabBar *TabStrip1 = nullptr;
    QWidget *Picture1 = nullptr;
    PageView *WebBrowser1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    std::array<QLabel *, 3> panels{};
    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;
    QTimer *Timer3 = nullptr;

    // The client area everything is placed in (design places are relative to it).
    QWidget *clientArea() const { return m_client; }
    // Re-runs the resize steps on the current client size.
    void layoutControls();
    // The first activation (selects the Home Page tab); later calls do nothing.
    // Runs on the first WindowActivate, or from start-up where no window
    // manager activates the window.
    void ensureFirstActivation();
    // Applies a text or background colour to the address bar or search box.
    static void setFieldColour(QWidget *field, QPalette::ColorRole role, const QColor &colour);

    // Twips to logical pixels, 15 to a pixel.
    static int px(int twips);

Q_SIGNALS:
    // The first activation: the Home Page tab is selected right after this.
    void firstActivated();
    void closing();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildToolbar();
    void buildStatusBar();
    void buildMenus();
    void centreOnScreen();
    void applyStoredColours();
    void reportWriteFailure(const QString &path);

    SettingsStore &m_settings;
    Dialogs &m_dialogs;
    QWidget *m_client = nullptr;
    QHash<QString, QAction *> m_menuItems;
    std::array<QAction *, 24> m_toolbarButtons{};
    ShellUIHelper *m_shell = nullptr;
    ToolbarComponent *m_toolbarComponent = nullptr;
    int m_visitedCounter = 0;
    bool m_firstActivation = false;
    bool m_firstMouseMove = false;
    bool m_writeFailureReported = false;
    bool m_unloaded = false;
};
