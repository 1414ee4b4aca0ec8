#include "aboutwidgets.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>

void ClickableLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton
                       && rect().contains(event->position().toPoint());
    m_pressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        Q_EMIT clicked();
}

void DraggableIcon::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    m_pressPos = event->position().toPoint();
    QLabel::mousePressEvent(event);
}

void DraggableIcon::mouseMoveEvent(QMouseEvent *event)
{
    QLabel::mouseMoveEvent(event);
    if (!m_pressed || !(event->buttons() & Qt::LeftButton))
        return;
    if ((event->position().toPoint() - m_pressPos).manhattanLength()
        < QApplication::startDragDistance())
        return;
    m_pressed = false;
    auto *drag = new QDrag(this);
    auto *data = new QMimeData;
    data->setData(QString::fromLatin1(AboutIconMimeType), QByteArray());
    drag->setMimeData(data);
    drag->setPixmap(pixmap());
    drag->setHotSpot(m_pressPos);
    drag->exec(Qt::MoveAction);
}

IconDropButton::IconDropButton(const QString &text, QWidget *parent) : QPushButton(text, parent)
{
    setAcceptDrops(true);
}

void IconDropButton::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasFormat(QString::fromLatin1(AboutIconMimeType)))
        event->acceptProposedAction();
}

void IconDropButton::dragMoveEvent(QDragMoveEvent *event)
{
    if (event->mimeData()->hasFormat(QString::fromLatin1(AboutIconMimeType)))
        event->acceptProposedAction();
}

void IconDropButton::dropEvent(QDropEvent *event)
{
    if (!event->mimeData()->hasFormat(QString::fromLatin1(AboutIconMimeType)))
        return;
    event->acceptProposedAction();
    Q_EMIT iconDropped();
}
