#include "pagejobs.h"

#include "dialogs.h"
#include "downloads.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {
// The engine hands over a rasterised page; this keeps text sharp on paper.
constexpr int PrintResolution = 300;

QString saveNameFor(const QString &title)
{
    QString name = title.trimmed();
    static const QString unsafe = QStringLiteral("/\\:*?\"<>|");
    for (QChar &c : name) {
        if (unsafe.contains(c) || c.unicode() < 32)
            c = QLatin1Char('_');
    }
    if (name.isEmpty())
        name = QStringLiteral("page");
    return name.left(100) + QStringLiteral(".html");
}
} // namespace

PageJobs::PageJobs(QWebEngineView *view, Dialogs *dialogs, QObject *parent)
    : QObject(parent), m_view(view), m_dialogs(dialogs)
{
    choosePrinter = [](QPrinter *printer, QWidget *parent) {
        QPrintDialog dialog(printer, parent);
        return dialog.exec() == QDialog::Accepted;
    };
}

PageJobs::~PageJobs() = default;

bool PageJobs::print()
{
    if (!m_view || m_printing)
        return false;
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printer->setResolution(PrintResolution);
    if (!choosePrinter(m_printer.get(), m_view))
        return false;
    m_printing = true;
    connect(m_view, &QWebEngineView::printFinished, this, [this] {
        disconnect(m_view, &QWebEngineView::printFinished, this, nullptr);
        m_printing = false;
        m_printer.reset();
    });
    m_view->print(m_printer.get());
    return true;
}

bool PageJobs::printAndWait(QPrinter *printer)
{
    if (!m_view)
        return false;
    QEventLoop loop;
    bool result = false;
    const auto connection = connect(m_view, &QWebEngineView::printFinished, &loop,
                                    [&loop, &result](bool success) {
                                        result = success;
                                        loop.quit();
                                    });
    m_view->print(printer);
    loop.exec();
    disconnect(connection);
    return result;
}

bool PageJobs::printPreview()
{
    if (!m_view || m_printing)
        return false;
    QPrinter printer(QPrinter::HighResolution);
    printer.setResolution(PrintResolution);
    QPrintPreviewDialog preview(&printer, m_view);
    preview.setObjectName(QStringLiteral("printPreview"));
    preview.setWindowTitle(tr("Print Preview"));
    m_printing = true;
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter *target) { printAndWait(target); });
    preview.exec();
    m_printing = false;
    return true;
}

bool PageJobs::saveAs()
{
    if (!m_view)
        return false;
    const QString path = m_dialogs->saveFile(m_view, tr("Save Page"),
                                             Downloads::suggestedPath(saveNameFor(m_view->title())));
    if (path.isEmpty())
        return false;
    const QString suffix = QFileInfo(path).suffix().toLower();
    const auto format = suffix == QLatin1String("mht") || suffix == QLatin1String("mhtml")
                            ? QWebEngineDownloadRequest::MimeHtmlSaveFormat
                            : QWebEngineDownloadRequest::SingleHtmlSaveFormat;
    m_view->page()->save(path, format);
    return true;
}
