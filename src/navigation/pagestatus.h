#pragma once

#include <QLocale>
#include <QObject>
#include <QString>

class frmBrowser;

// Turns the page view's events into what the user sees around the page: the
// three status bar panels, the window caption and the address bar's text. It
// also runs the clock in the last panel and sends the maker's referral
// address on to the maker's start page.
class PageStatus : public QObject
{
    Q_OBJECT
public:
    explicit PageStatus(frmBrowser &window);

    // The locale's long time format (hours, minutes and seconds) without the
    // time zone, which would not fit the clock's panel.
    static QString clockFormat(const QLocale &locale);

    void onStatusTextChanged(const QString &text);
    void onCommandStateChanged();
    void onDownloadBegun();
    void onDownloadComplete();
    void onDocumentComplete();
    void onClockTick();

private:
    frmBrowser &m_window;
};
