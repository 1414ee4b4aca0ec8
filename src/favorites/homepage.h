#pragma once

#include <QObject>

class frmBrowser;

// "Set My Home Page": stores the typed address as the home address and points
// the Home Page tab at it at once. The Home button reads the store itself.
class HomePage : public QObject
{
    Q_OBJECT
public:
    explicit HomePage(frmBrowser &window);

    void set();

private:
    frmBrowser &m_window;
};
