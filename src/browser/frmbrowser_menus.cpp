// The menu tree and the navigation toolbar of the main window, as designed.
#include "frmbrowser.h"

#include "search/enginemenuitems.h"

#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {
struct ToolbarButton { const char *key; const char *tooltip; };
// Positions 1 to 23; a null key is a separator.
const ToolbarButton ToolbarButtons[23] = {
    {"back", "Back"}, {"forward", "Forward"}, {"stop", "Stop"}, {"refresh", "Refresh"},
    {"home", "Home"}, {nullptr, nullptr}, {nullptr, nullptr}, {nullptr, nullptr},
    {nullptr, nullptr}, {nullptr, nullptr}, {nullptr, nullptr}, {nullptr, nullptr},
    {nullptr, nullptr},
    {"one", "My favorite site"}, {"two", "My 2nd favorite site"},
    {"three", "My 3rd favorite site"}, {"four", "My 4th favorite site"},
    {"five", "My 5th favorite site"}, {"six", "My 6th favorite site"},
    {"seven", "My 7th favorite site"}, {"eight", "My 8th favorite site"},
    {"nine", "My 9th favorite site"}, {"ten", "My 10th favorite site"},
};
} // namespace

void frmBrowser::buildToolbar()
{
    Toolbar1 = new QToolBar(clientArea());
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setAccessibleName(tr("Navigation"));
    Toolbar1->setMovable(false);
    Toolbar1->setIconSize(QSize(24, 24));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (int position = 1; position <= 23; ++position) {
        const ToolbarButton &button = ToolbarButtons[position - 1];
        QAction *action = nullptr;
        if (!button.key) {
            action = Toolbar1->addSeparator();
            // One visible divider between the navigation and the favorite groups.
            action->setVisible(position == 6);
        } else {
            action = Toolbar1->addAction(tr(button.tooltip));
            action->setObjectName(QLatin1String(button.key));
            action->setToolTip(tr(button.tooltip));
        }
        m_toolbarButtons[position] = action;
    }
    Toolbar1->setGeometry(0, 0, px(17160), px(660));
}

void frmBrowser::buildMenus()
{
    QMenuBar *bar = menuBar();
    auto item = [this](QMenu *menu, const char *name, const QString &caption) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        m_menuItems.insert(action->objectName(), action);
        return action;
    };
    auto separator = [this](QMenu *menu, const char *name) {
        QAction *action = menu->addSeparator();
        action->setObjectName(QLatin1String(name));
        m_menuItems.insert(action->objectName(), action);
        return action;
    };
    auto submenu = [this](QWidget *owner, const char *name, const QString &caption) {
        auto *menu = new QMenu(caption, owner);
        menu->setObjectName(QLatin1String(name));
        menu->menuAction()->setObjectName(QLatin1String(name));
        m_menuItems.insert(menu->objectName(), menu->menuAction());
        if (auto *bar = qobject_cast<QMenuBar *>(owner))
            bar->addMenu(menu);
        else
            static_cast<QMenu *>(owner)->addMenu(menu);
        return menu;
    };

    QMenu *file = submenu(bar, "mnufile", tr("File"));
    item(file, "mnusetmypage", tr("&Set My Home Page"));
    separator(file, "mnusepo");
    item(file, "mnuopen", tr("Open"));
    item(file, "mnusave", tr("Save"));
    separator(file, "mnusepos");
    item(file, "mnuiefavorites", tr("IE Favorites"));
    item(file, "mnuaddtoiefavorites", tr("Add to IE Favorites"));
    separator(file, "mnusepie");
    item(file, "mnuprintpreview", tr("Print Preview"));
    item(file, "mnuprint", tr("Print"));
    separator(file, "mnusepset");
    QMenu *colours = submenu(file, "mnuchangecolorscheme", tr("Change color scheme"));
    QMenu *addressBar = submenu(colours, "mnuaddressbar", tr("Address Bar"));
    item(addressBar, "mnuchangefontcoloraddressbar", tr("Change Font Color"));
    item(addressBar, "mnuchangebackgroundcoloraddressbar", tr("Change Background Color"));
    QMenu *searchBox = submenu(colours, "mnusearchbox", tr("Search Box"));
    item(searchBox, "mnuchangefontcolorsearchbox", tr("Change Font Color"));
    item(searchBox, "mnuchangebackgroundcolorsearchbox", tr("Change Background Color"));
    separator(file, "mnusepieprop");
    item(file, "mnuinternetproperites", tr("Internet Properties"));
    separator(file, "mnusepcustomizexit");
    QAction *exit = item(file, "mnuexit", tr("E&xit"));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu *engines = submenu(bar, "mnuintegratedsearchengine", tr("Integrated &Search Engine"));
    for (const EngineMenuItem &engine : EngineMenuItems) {
        QAction *action = item(engines, engine.name, tr(engine.caption));
        action->setCheckable(true);
        action->setVisible(engine.visible);
        if (engine.separatorAfter)
            separator(engines, engine.separatorAfter);
    }

    QMenu *edit = submenu(bar, "mnueditmyfavorites", tr("&Edit My Favorite Buttons"));
    QMenu *favorites = submenu(bar, "mnufavoritebuttons", tr("&Favorite Buttons"));
    for (int n = 1; n <= 10; ++n) {
        const QString caption = n < 10 ? QStringLiteral("&%1").arg(n) : QStringLiteral("1&0");
        item(edit, QStringLiteral("mnu%1").arg(n).toLatin1().constData(), caption);
        item(favorites, QStringLiteral("mnuf%1").arg(n).toLatin1().constData(), caption);
    }

    QMenu *help = submenu(bar, "mnua", tr("&Help"));
    item(help, "mnumarrowgatehelp", tr("Skimlark &Help"));
    separator(help, "sepwr");
    item(help, "mnuaboutquendle", tr("&About Skimlark"));
}
