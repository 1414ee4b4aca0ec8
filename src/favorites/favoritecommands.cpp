#include "favoritecommands.h"

#include "browser/dialogs.h"
#include "browser/frmbrowser.h"
#include "browser/pageview.h"
#include "favoritetexts.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"

#include <QAction>

FavoriteCommands::FavoriteCommands(frmBrowser &window)
    : QObject(&window), m_window(window)
{
}

QString FavoriteCommands::slot(int n) const
{
    return m_window.settings().read(keys::App, keys::Home, keys::favoriteSlot(n), QString());
}

bool FavoriteCommands::store(int n, const QString &address)
{
    // A failed write is reported by the window; nothing here may then pretend
    // the slot changed.
    return m_window.settings().write(keys::App, keys::Home, keys::favoriteSlot(n), address);
}

void FavoriteCommands::showInTooltip(int n, const QString &address)
{
    // An empty tooltip would fall back to the button's caption; an empty slot
    // says instead what a click on it does.
    m_window.favoriteButton(n)->setToolTip(address.isEmpty() ? favoritetexts::invitation(n)
                                                             : address);
}

void FavoriteCommands::edit(int n)
{
    if (n < 1 || n > favoritetexts::Count)
        return;
    const QString typed = m_window.dialogs().input(&m_window, favoritetexts::editPrompt(n),
                                                   favoritetexts::editTitle(n), slot(n));
    // Cancel and an empty box look the same: neither empties a filled slot.
    if (typed.isEmpty())
        return;
    if (!store(n, typed))
        return;
    showInTooltip(n, typed);
}

void FavoriteCommands::activate(int n)
{
    if (n < 1 || n > favoritetexts::Count)
        return;
    const QString stored = slot(n);
    if (!stored.isEmpty()) {
        m_window.WebBrowser1->navigate(stored);
        return;
    }

    PageView *view = m_window.WebBrowser1;
    const QString address = view->currentAddress();
    if (!store(n, address))
        return;
    m_window.dialogs().message(&m_window,
                               tr("You added ") + address + favoritetexts::addedSentence(n),
                               view->currentTitle() + tr(" was added to your favorites"));
    // The page may have moved on while the box was open.
    showInTooltip(n, view->currentAddress());
}
