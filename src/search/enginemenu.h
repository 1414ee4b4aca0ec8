#pragma once

#include <QList>
#include <QObject>

class QAction;
class frmBrowser;

// The "Integrated Search Engine" menu: a choice stores the item's engine id
// and leaves that item the only one marked. Nothing else happens, the next
// search reads the stored id.
class EngineMenu : public QObject
{
    Q_OBJECT
public:
    explicit EngineMenu(frmBrowser &window);

    void choose(QAction *item, const QString &engineId);

private:
    frmBrowser &m_window;
    QList<QAction *> m_items;
};
