#pragma once

#include <QObject>
#include <QString>

class frmBrowser;

// Open, Save, Print and Print Preview of the File menu: each hands its job to
// the page view.
class FileCommands : public QObject
{
    Q_OBJECT
public:
    // The file picker's one entry as the menu has always described it:
    // the text shown, a bar, then the patterns.
    static const QString OpenFilter;
    // "text | a;b" as Qt's file dialogs want it: the text shown, then "(a b)".
    static QString qtFilter(const QString &textAndPatterns);

    explicit FileCommands(frmBrowser &window);

    void open();
    void save();
    void print();
    void printPreview();

private:
    frmBrowser &m_window;
};
