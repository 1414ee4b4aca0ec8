#include "favoriteswiring.h"

#include "browser/frmbrowser.h"
#include "favoritecommands.h"
#include "favoritetexts.h"
#include "homepage.h"

#include <QAction>

void wireFavorites(frmBrowser &window)
{
    auto *favorites = new FavoriteCommands(window);
    for (int n = 1; n <= favoritetexts::Count; ++n) {
        // The toolbar's favorite buttons run these same menu items.
        QObject::connect(window.menuItem(QStringLiteral("mnu%1").arg(n)), &QAction::triggered,
                         favorites, [favorites, n] { favorites->edit(n); });
        QObject::connect(window.menuItem(QStringLiteral("mnuf%1").arg(n)), &QAction::triggered,
                         favorites, [favorites, n] { favorites->activate(n); });
    }

    auto *homePage = new HomePage(window);
    QObject::connect(window.menuItem(QStringLiteral("mnusetmypage")), &QAction::triggered,
                     homePage, &HomePage::set);
}
