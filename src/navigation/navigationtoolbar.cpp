#include "navigationtoolbar.h"

#include "browser/dialogs.h"
#include "browser/frmbrowser.h"
#include "browser/makeraddresses.h"
#include "browser/pageview.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"

#include <QAction>
#include <QToolBar>
#include <exception>

namespace {
const char *const FavoriteKeys[] = {"one", "two", "three", "four", "five",
                                    "six", "seven", "eight", "nine", "ten"};

int favoriteNumber(const QString &key)
{
    for (int n = 1; n <= 10; ++n) {
        if (key == QLatin1String(FavoriteKeys[n - 1]))
            return n;
    }
    return 0;
}
} // namespace

NavigationToolbar::NavigationToolbar(frmBrowser &window)
    : QObject(&window), m_window(window)
{
    connect(window.Toolbar1, &QToolBar::actionTriggered, this, &NavigationToolbar::onButtonClicked);
}

void NavigationToolbar::onButtonClicked(QAction *button)
{
    if (!button || button->isSeparator())
        return;
    const QString key = button->objectName();
    bool done = false;
    try {
        done = act(key);
    } catch (const std::exception &) {
        // A failing button ends its click; only Back and Forward say why.
        done = false;
    }
    if (!done)
        reportFailure(key);
}

bool NavigationToolbar::act(const QString &key)
{
    PageView *view = m_window.WebBrowser1;
    if (key == QLatin1String("back"))
        return view->goBack();
    if (key == QLatin1String("forward"))
        return view->goForward();
    if (key == QLatin1String("stop")) {
        view->stop();
    } else if (key == QLatin1String("refresh")) {
        view->refresh();
    } else if (key == QLatin1String("home")) {
        // Read afresh, so a home page set a moment ago applies at once.
        view->navigate(m_window.settings().read(keys::App, keys::Home, keys::Address,
                                                maker::StartPage));
    } else if (const int n = favoriteNumber(key)) {
        // The same command as the Favorite Buttons menu's item N.
        if (QAction *item = m_window.menuItem(QStringLiteral("mnuf%1").arg(n)))
            item->trigger();
    }
    return true;
}

void NavigationToolbar::reportFailure(const QString &key)
{
    if (key == QLatin1String("forward"))
        m_window.dialogs().message(&m_window, tr("You're as foward as you're gonna get!"),
                                   QStringLiteral("Skimlark"));
    else if (key == QLatin1String("back"))
        m_window.dialogs().message(&m_window, tr("You're as back as you're gonna get!"),
                                   QStringLiteral("Skimlark"));
}
