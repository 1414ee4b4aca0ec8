#include "enginetabstrip.h"

#include "browser/frmbrowser.h"
#include "browser/pageview.h"
#include "enginecatalogue.h"

#include <QLineEdit>

EngineTabStrip::EngineTabStrip(frmBrowser &window)
    : QObject(&window), m_window(window)
{
    setObjectName(QStringLiteral("engineTabStrip"));
    connect(window.TabStrip1, &EngineTabBar::selected, this, &EngineTabStrip::tabSelected);
}

void EngineTabStrip::rebuildTargets()
{
    EngineTabBar *tabs = m_window.TabStrip1;
    for (const enginecatalogue::EngineTab &tab : enginecatalogue::engineTabs()) {
        const int index = tab.position - 1;
        if (index < tabs->count())
            tabs->setTag(index, enginecatalogue::tabTarget(tab, m_window.Text1->text()));
    }
}

void EngineTabStrip::tabSelected(int index)
{
    if (index < 0 || index >= m_window.TabStrip1->count())
        return;
    rebuildTargets();
    m_window.WebBrowser1->navigate(m_window.TabStrip1->tag(index));
}
