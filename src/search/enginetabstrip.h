#pragma once

#include <QObject>

class frmBrowser;

// The tab strip's selection handling: rebuilds the nine engine tabs' targets
// from the search box text, then opens the selected tab's target. The Home
// Page tab keeps the target its owners give it.
class EngineTabStrip : public QObject
{
    Q_OBJECT
public:
    explicit EngineTabStrip(frmBrowser &window);

    void tabSelected(int index);
    // Rewrites the engine tabs' targets from the current search box text.
    void rebuildTargets();

private:
    frmBrowser &m_window;
};
