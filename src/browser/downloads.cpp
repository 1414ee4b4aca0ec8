#include "downloads.h"

#include "dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>

Downloads::Downloads(QWebEnginePage *page, Dialogs *dialogs, QWidget *dialogParent,
                     QObject *parent)
    : QObject(parent), m_page(page), m_dialogs(dialogs), m_dialogParent(dialogParent)
{
    connect(page->profile(), &QWebEngineProfile::downloadRequested, this,
            &Downloads::handleRequest);
}

QString Downloads::unusedPath(const QString &wanted)
{
    if (!QFileInfo::exists(wanted))
        return wanted;
    const QFileInfo info(wanted);
    const QString suffix = info.completeSuffix();
    const QString stem = suffix.isEmpty() ? info.fileName()
                                          : info.fileName().chopped(suffix.size() + 1);
    for (int n = 2;; ++n) {
        QString name = QStringLiteral("%1 (%2)").arg(stem).arg(n);
        if (!suffix.isEmpty())
            name += QLatin1Char('.') + suffix;
        const QString candidate = info.dir().filePath(name);
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

QString Downloads::suggestedPath(const QString &fileName)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    // A page cannot steer the name out of the folder.
    QString name = QFileInfo(fileName).fileName();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        name = QStringLiteral("download");
    return unusedPath(QDir(folder).filePath(name));
}

void Downloads::handleRequest(QWebEngineDownloadRequest *download)
{
    // The profile is shared; only this page's downloads are ours.
    if (download->page() != m_page)
        return;
    if (download->isSavePageDownload()
        || download->state() != QWebEngineDownloadRequest::DownloadRequested) {
        track(download);
        return;
    }
    // The engine needs the answer before this call returns: cancelled otherwise.
    const QString path = m_dialogs->saveFile(m_dialogParent, tr("Save File"),
                                             suggestedPath(download->downloadFileName()));
    if (path.isEmpty()) {
        download->cancel();
        Q_EMIT statusText(tr("Download cancelled: %1").arg(download->downloadFileName()));
        return;
    }
    // The save dialog asked before an existing file is replaced.
    const QFileInfo target(path);
    download->setDownloadDirectory(target.absolutePath());
    download->setDownloadFileName(target.fileName());
    track(download);
    download->accept();
}

void Downloads::track(QWebEngineDownloadRequest *download)
{
    connect(download, &QWebEngineDownloadRequest::receivedBytesChanged, this,
            [this, download] { report(download); });
    connect(download, &QWebEngineDownloadRequest::stateChanged, this,
            [this, download] { report(download); });
    report(download);
}

void Downloads::report(QWebEngineDownloadRequest *download)
{
    const QString name = download->downloadFileName();
    const QLocale locale;
    switch (download->state()) {
    case QWebEngineDownloadRequest::DownloadRequested:
        return;
    case QWebEngineDownloadRequest::DownloadInProgress: {
        const qint64 total = download->totalBytes();
        const qint64 received = download->receivedBytes();
        Q_EMIT statusText(total > 0 ? tr("Downloading %1: %2 of %3 (%4%)")
                                          .arg(name, locale.formattedDataSize(received),
                                               locale.formattedDataSize(total))
                                          .arg(received * 100 / total)
                                    : tr("Downloading %1: %2")
                                          .arg(name, locale.formattedDataSize(received)));
        return;
    }
    case QWebEngineDownloadRequest::DownloadCompleted:
        Q_EMIT statusText(tr("Download complete: %1")
                              .arg(QDir(download->downloadDirectory()).filePath(name)));
        break;
    case QWebEngineDownloadRequest::DownloadCancelled:
        Q_EMIT statusText(tr("Download cancelled: %1").arg(name));
        break;
    case QWebEngineDownloadRequest::DownloadInterrupted:
        Q_EMIT statusText(tr("Download failed: %1 (%2)").arg(name, download->interruptReasonString()));
        break;
    }
    disconnect(download, nullptr, this, nullptr);
}
