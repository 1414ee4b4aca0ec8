#pragma once

#include "testenv.h"

#include <QApplication>
#include <QtTest>

// Driving the shown window with real key and mouse events.
namespace windowdriver {

// Loads and shows the window as start-up does and forgets the home page
// request of its first activation.
inline bool start(TestBrowser &t)
{
    t.window->load();
    t.window->show();
    QApplication::setActiveWindow(t.window.get());
    if (!QTest::qWaitForWindowActive(t.window.get()))
        return false;
    t.window->ensureFirstActivation();
    t.view->navigations.clear();
    return true;
}

// Gives the field the keyboard focus and types into whatever widget holds it.
inline bool typeInto(QWidget *field, const QString &text)
{
    field->setFocus(Qt::MouseFocusReason);
    if (!QTest::qWaitFor([field] { return field->hasFocus(); }))
        return false;
    QTest::keyClicks(QApplication::focusWidget(), text);
    return true;
}

// The offscreen platform says what it cannot do (raise, grab, size hints);
// any other warning fails the test.
inline void failOnOtherWarnings()
{
    QTest::failOnWarning(QRegularExpression("^(?!This plugin does not support ).*"));
}

} // namespace windowdriver
