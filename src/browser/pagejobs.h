#pragma once

#include <QObject>

class Dialogs;
class QWebEngineView;

// Print, print preview and save of the page shown in a QWebEngineView.
class PageJobs : public QObject
{
    Q_OBJECT
public:
    PageJobs(QWebEngineView *view, Dialogs *dialogs, QObject *parent = nullptr);

    bool print();
    bool printPreview();
    bool saveAs();

private:
    QWebEngineView *m_view;
    Dialogs *m_dialogs;
};
