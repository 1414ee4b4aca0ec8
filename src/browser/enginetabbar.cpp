#include "enginetabbar.h"

EngineTabBar::EngineTabBar(QWidget *parent)
    : QTabBar(parent)
{
    setExpanding(false);
    setDrawBase(true);
    // A click on a tab that is already current changes nothing in QTabBar, yet
    // it still opens that tab's target here.
    connect(this, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0 && index == currentIndex())
            Q_EMIT selected(index);
    });
    connect(this, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0 && !m_selectingFromCode)
            Q_EMIT selected(index);
    });
}

void EngineTabBar::select(int index)
{
    if (index < 0 || index >= count())
        return;
    m_selectingFromCode = true;
    setCurrentIndex(index);
    m_selectingFromCode = false;
    Q_EMIT selected(index);
}

QString EngineTabBar::tag(int index) const
{
    return tabData(index).toString();
}

void EngineTabBar::setTag(int index, const QString &tag)
{
    setTabData(index, tag);
}
