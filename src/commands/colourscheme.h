#pragma once

#include <QObject>

class frmBrowser;

// The four colour commands of the File menu: the shared colour picker, the
// colour applied to its field at once, then stored.
class ColourScheme : public QObject
{
    Q_OBJECT
public:
    enum class Target { AddressBarText, AddressBarBackground, SearchBoxText, SearchBoxBackground };

    explicit ColourScheme(frmBrowser &window);

    // One command: Cancel changes nothing.
    void change(Target target);

private:
    frmBrowser &m_window;
};
