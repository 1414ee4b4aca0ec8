#pragma once

#include <QObject>
#include <QString>

class QAction;
class frmBrowser;

// One handler for every click on the navigation toolbar, acting on the
// clicked button's key: history, stop, refresh, home and the ten favorites.
class NavigationToolbar : public QObject
{
    Q_OBJECT
public:
    explicit NavigationToolbar(frmBrowser &window);

    void onButtonClicked(QAction *button);

private:
    // Runs the button's action; false when the page view refused the step.
    bool act(const QString &key);
    void reportFailure(const QString &key);

    frmBrowser &m_window;
};
