#include "defaultbuttonrule.h"

#include <QKeyEvent>
#include <QPushButton>

void DefaultButtonRule::setDefault(QPushButton *button)
{
    if (m_default == button)
        return;
    if (m_default)
        m_default->setDefault(false);
    m_default = button;
    if (m_default)
        m_default->setDefault(true);
}

bool DefaultButtonRule::activate()
{
    if (!m_default)
        return false;
    m_default->click();
    return true;
}

bool DefaultButtonRule::isEnter(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

QPushButton *DefaultButtonRule::defaultButton() const
{
    return m_default;
}
