#pragma once

#include <QObject>
#include <QPointer>

class QKeyEvent;
class QPushButton;

// The window's default button. QPushButton's own default role only acts
// inside dialogs, so this keeps it for the main window: at most one button
// holds the role (and is drawn as default), and Enter typed in one of the
// text fields clicks it.
class DefaultButtonRule : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Gives the role to `button`, taking it from the other; nullptr leaves none.
    void setDefault(QPushButton *button);
    QPushButton *defaultButton() const;

    // Clicks the default button. False when no button holds the role.
    bool activate();

    static bool isEnter(const QKeyEvent *event);

private:
    QPointer<QPushButton> m_default;
};
