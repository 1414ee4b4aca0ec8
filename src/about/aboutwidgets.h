#pragma once

#include <QLabel>
#include <QPoint>
#include <QPushButton>

// The small widget kinds the About box needs beyond Qt's own.

// The private type of what the About box's icon carries when dragged.
inline constexpr char AboutIconMimeType[] = "application/x-skimlark-about-icon";

// A label that reports a left click, for the picture and text links.
class ClickableLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};

// A picture the user can pick up and drag.
class DraggableIcon : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QPoint m_pressPos;
    bool m_pressed = false;
};

// A push button that takes the dragged icon.
class IconDropButton : public QPushButton
{
    Q_OBJECT
public:
    explicit IconDropButton(const QString &text, QWidget *parent = nullptr);

Q_SIGNALS:
    void iconDropped();

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};
