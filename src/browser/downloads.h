#pragma once

#include <QObject>
#include <QPointer>

class Dialogs;
class QWebEngineDownloadRequest;
class QWebEnginePage;
#include <QWidget>

// Files a page hands over: asks where to save them and reports progress and
// the end (done, failed, cancelled) as status texts. Saving the page itself
// arrives here too, already under way, and is only reported.
class Downloads : public QObject
{
    Q_OBJECT
public:
    Downloads(QWebEnginePage *page, Dialogs *dialogs, QWidget *dialogParent,
              QObject *parent = nullptr);

    // `wanted` if no file has that name, else "name (2).ext", "name (3).ext" ...
    static QString unusedPath(const QString &wanted);
    // Where a file of this name is offered to be saved: the Downloads folder.
    static QString suggestedPath(const QString &fileName);

Q_SIGNALS:
    void statusText(const QString &text);

private:
    void handleRequest(QWebEngineDownloadRequest *download);
    void track(QWebEngineDownloadRequest *download);
    void report(QWebEngineDownloadRequest *download);

    QWebEnginePage *m_page;
    Dialogs *m_dialogs;
    QPointer<QWidget> m_dialogParent;
};
