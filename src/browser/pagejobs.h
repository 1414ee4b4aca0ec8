#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class Dialogs;
class QPrinter;
class QWebEngineView;

// Print, print preview and save of the page shown in a QWebEngineView.
class PageJobs : public QObject
{
    Q_OBJECT
public:
    PageJobs(QWebEngineView *view, Dialogs *dialogs, QObject *parent = nullptr);
    ~PageJobs() override;

    // Asks for a printer, then prints; false when nothing was started.
    bool print();
    // Opens the print preview; false when it could not be shown.
    bool printPreview();
    // Asks for a file and saves the page there; false on Cancel.
    bool saveAs();

    // Prints onto `printer` and waits for the engine to finish; true on success.
    bool printAndWait(QPrinter *printer);

    // Replaceable for tests: the printer dialog, true when the user chose to print.
    std::function<bool(QPrinter *printer, QWidget *parent)> choosePrinter;

private:
    QPointer<QWebEngineView> m_view;
    Dialogs *m_dialogs;
    // Kept alive until the engine says the print job is done.
    std::unique_ptr<QPrinter> m_printer;
    bool m_printing = false;
};
