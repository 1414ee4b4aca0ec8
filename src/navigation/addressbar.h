#pragma once

#include <QObject>

class DefaultButtonRule;
class QKeyEvent;
class frmBrowser;

// The address bar (Combo1) and its "Surf" button. Surf sends the page view to
// the text as typed, appends it to the visited-address list and remembers it
// for the next start. Choosing a list entry surfs it; text written from code
// does not.
class AddressBar : public QObject
{
    Q_OBJECT
public:
    AddressBar(frmBrowser &window, DefaultButtonRule &defaults);

    void surf();

    // A phrase that shows a greeting instead of navigating.
    static QString hiddenPhrase();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void appendVisited(const QString &address);
    bool handleKey(QKeyEvent *event);

    frmBrowser &m_window;
    DefaultButtonRule &m_defaults;
};
