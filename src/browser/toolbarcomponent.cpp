#include "toolbarcomponent.h"

#include "pageview.h"

#include <QProgressBar>
#include <QToolBar>

ToolbarComponent::ToolbarComponent(QObject *parent)
    : QObject(parent)
{
}

void ToolbarComponent::attach(QToolBar *inner, PageView *application)
{
    if (!inner || !application)
        return;
    m_view = application;
    m_progress = new QProgressBar(inner);
    m_progress->setObjectName(QStringLiteral("loadProgress"));
    m_progress->setAccessibleName(tr("Page load progress"));
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(false);
    m_progress->setMaximumHeight(6);
    m_progress->setFixedWidth(200);
    m_progress->hide();
    inner->addWidget(m_progress);
    connect(application, &PageView::downloadBegun, this, [this] {
        if (m_mode == 1 && m_progress) {
            m_progress->setValue(0);
            m_progress->show();
        }
    });
    connect(application, &PageView::progressChanged, this, [this](int percent) {
        if (m_progress)
            m_progress->setValue(percent);
    });
    connect(application, &PageView::downloadComplete, this, [this] {
        if (m_progress)
            m_progress->hide();
    });
}

void ToolbarComponent::setMode(int mode)
{
    m_mode = mode;
}

void ToolbarComponent::release()
{
    if (m_view)
        disconnect(m_view, nullptr, this, nullptr);
    m_view = nullptr;
    delete m_progress;
}
