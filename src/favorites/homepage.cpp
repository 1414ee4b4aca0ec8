#include "homepage.h"

#include "browser/dialogs.h"
#include "browser/frmbrowser.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"

namespace {
constexpr int HomePageTab = 0;
}

HomePage::HomePage(frmBrowser &window)
    : QObject(&window), m_window(window)
{
}

void HomePage::set()
{
    // The current home address is deliberately not offered: the box starts empty.
    const QString typed = m_window.dialogs().input(&m_window, tr("Enter the URL of your homepage "),
                                                   tr("Enter the URL of your homepage"),
                                                   QString());
    if (typed.isEmpty())
        return;
    // The tab follows the store, so a write that failed (reported by the
    // window) leaves it where the next start will put it.
    if (!m_window.settings().write(keys::App, keys::Home, keys::Address, typed))
        return;
    m_window.TabStrip1->setTag(HomePageTab, typed);
    m_window.TabStrip1->setTabToolTip(HomePageTab, typed);
}
