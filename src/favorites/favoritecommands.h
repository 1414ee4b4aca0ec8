#pragma once

#include <QObject>

class frmBrowser;

// The two commands on favorite slot N (1..10): edit asks for the address,
// activate opens it, or fills an empty slot with the page now shown. Each
// keeps favorite button N's tooltip in step with what the slot holds.
class FavoriteCommands : public QObject
{
    Q_OBJECT
public:
    // Lives as long as the window it works on.
    explicit FavoriteCommands(frmBrowser &window);

    void edit(int n);
    void activate(int n);

private:
    QString slot(int n) const;
    bool store(int n, const QString &address);
    void showInTooltip(int n, const QString &address);

    frmBrowser &m_window;
};
