#include "enginemenu.h"

#include "browser/frmbrowser.h"
#include "enginemenuitems.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"

#include <QAction>

EngineMenu::EngineMenu(frmBrowser &window)
    : QObject(&window), m_window(window)
{
    setObjectName(QStringLiteral("engineMenu"));
    for (const EngineMenuItem &entry : EngineMenuItems) {
        QAction *item = window.menuItem(QLatin1String(entry.name));
        if (!item)
            continue;
        m_items << item;
        const QString engineId = QLatin1String(entry.engineId);
        connect(item, &QAction::triggered, this, [this, item, engineId] { choose(item, engineId); });
    }
}

void EngineMenu::choose(QAction *item, const QString &engineId)
{
    m_window.settings().write(keys::App, keys::Home, keys::Engine, engineId);
    // Hidden items lose their marks too: there is one mark after a choice.
    for (QAction *other : std::as_const(m_items))
        other->setChecked(other == item);
}
