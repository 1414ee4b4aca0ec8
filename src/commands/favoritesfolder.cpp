#include "favoritesfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

#include <algorithm>

namespace favoritesfolder {

namespace {
// A shortcut file is a few lines; anything much bigger is not one.
constexpr qint64 MaxShortcutBytes = 64 * 1024;
constexpr int MaxNumberedCopies = 999;

bool isForbidden(QChar c)
{
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        break;
    }
    return QStringLiteral("/\\:*?\"<>|").contains(c);
}

bool isBidiControl(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069) || u == 0x200E
           || u == 0x200F;
}

QString trimDotsAndSpaces(QString text)
{
    int start = 0;
    while (start < text.size() && (text.at(start) == u'.' || text.at(start) == u' '))
        ++start;
    int end = text.size();
    while (end > start && (text.at(end - 1) == u'.' || text.at(end - 1) == u' '))
        --end;
    return text.mid(start, end - start);
}

QString clean(const QString &name)
{
    QString out;
    out.reserve(name.size());
    for (QChar c : name) {
        if (isBidiControl(c))
            continue;
        out.append(isForbidden(c) ? QChar(u' ') : c);
    }
    out = trimDotsAndSpaces(out.simplified());
    while (out.contains(QLatin1String("..")))
        out.replace(QLatin1String(".."), QLatin1String("."));

    // Cap the length in bytes without cutting a character in two.
    while (out.toUtf8().size() > MaxNameBytes) {
        out.chop(1);
        if (!out.isEmpty() && out.back().isHighSurrogate())
            out.chop(1);
        out = trimDotsAndSpaces(out);
    }
    return out;
}

bool isLinkable(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid()
           && (scheme == QLatin1String("http") || scheme == QLatin1String("https")
               || scheme == QLatin1String("ftp") || scheme == QLatin1String("file"));
}

QString readAddress(const QString &path)
{
    QFile file(path);
    if (file.size() > MaxShortcutBytes || !file.open(QIODevice::ReadOnly))
        return QString();
    const QString text = QString::fromUtf8(file.read(MaxShortcutBytes));
    bool inShortcut = false;
    for (QString line : text.split(u'\n')) {
        line = line.trimmed();
        if (line.startsWith(u'[')) {
            inShortcut = line.compare(QLatin1String("[InternetShortcut]"), Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inShortcut)
            continue;
        const int equals = line.indexOf(u'=');
        if (equals > 0 && line.left(equals).trimmed().compare(QLatin1String("URL"), Qt::CaseInsensitive) == 0)
            return line.mid(equals + 1).trimmed();
    }
    return QString();
}
} // namespace

QString defaultFolder()
{
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty() || QDir::isRelativePath(dataHome))
        dataHome = QDir::homePath() + QLatin1String("/.local/share");
    return dataHome + QLatin1String("/Velmora/Skimlark/Favorites");
}

QList<Favorite> list(const QString &folder)
{
    QList<Favorite> result;
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return result;
    const QFileInfoList files =
        dir.entryInfoList({QStringLiteral("*.url")}, QDir::Files | QDir::Readable, QDir::NoSort);
    for (const QFileInfo &info : files) {
        const QString fileName = info.fileName();
        result.append({fileName.left(fileName.size() - 4), readAddress(info.filePath())});
    }
    // By the names shown, so "News" comes before "News (2)".
    std::sort(result.begin(), result.end(), [](const Favorite &a, const Favorite &b) {
        const int folded = a.name.compare(b.name, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a.name < b.name;
    });
    return result;
}

QString folderAddress(const QString &folder)
{
    return QUrl::fromLocalFile(QDir(folder).absolutePath() + u'/').toString();
}

QString listingHtml(const QList<Favorite> &favorites)
{
    QString html = QStringLiteral(
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n"
        // The listing is ours and static: nothing in it may run.
        "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
        "style-src 'unsafe-inline'\">\n"
        "<title>Favorites</title>\n"
        "<style>body{font-family:sans-serif;margin:1.5em} li{margin:.35em 0}"
        " .inert{color:#666}</style>\n"
        "</head><body>\n<h1>Favorites</h1>\n");
    if (favorites.isEmpty())
        html += QStringLiteral("<p>There are no favorites yet.</p>\n");
    html += QStringLiteral("<ul>\n");
    for (const Favorite &favorite : favorites) {
        const QString name = favorite.name.toHtmlEscaped();
        QUrl url(favorite.address);
        if (url.scheme().isEmpty() && !favorite.address.isEmpty())
            url = QUrl::fromUserInput(favorite.address);
        if (isLinkable(url)) {
            html += QStringLiteral("<li><a href=\"%1\">%2</a></li>\n")
                        .arg(url.toString(QUrl::FullyEncoded).toHtmlEscaped(), name);
        } else {
            html += QStringLiteral("<li><span class=\"inert\" title=\"%1\">%2</span></li>\n")
                        .arg(favorite.address.toHtmlEscaped(), name);
        }
    }
    html += QStringLiteral("</ul>\n</body></html>\n");
    return html;
}

QString safeName(const QString &name, const QString &address)
{
    QString result = clean(name);
    if (result.isEmpty())
        result = clean(QUrl(address).host());
    if (result.isEmpty())
        result = QStringLiteral("Untitled");
    return result;
}

QString freePath(const QString &folder, const QString &baseName)
{
    const QDir dir(folder);
    auto taken = [](const QString &path) {
        const QFileInfo info(path);
        return info.exists() || info.isSymLink();
    };
    QString path = dir.filePath(baseName + QLatin1String(".url"));
    for (int n = 2; taken(path); ++n) {
        if (n > MaxNumberedCopies)
            return QString();
        path = dir.filePath(QStringLiteral("%1 (%2).url").arg(baseName).arg(n));
    }
    // The name was cleaned, but make sure the file lands in the folder itself.
    if (QFileInfo(path).absoluteDir() != QDir(dir.absolutePath()))
        return QString();
    return path;
}

QByteArray shortcutContents(const QString &address)
{
    // A line break in the address would start a new line of the file.
    QByteArray url;
    for (char c : address.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            url += '%' + QByteArray::number(byte, 16).rightJustified(2, '0').toUpper();
        else
            url += c;
    }
    return QByteArrayLiteral("[InternetShortcut]\r\nURL=") + url + QByteArrayLiteral("\r\n");
}

QString add(const QString &folder, const QString &name, const QString &address)
{
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return QString();
    const QString path = freePath(folder, safeName(name, address));
    if (path.isEmpty())
        return QString();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(shortcutContents(address));
    return file.commit() ? path : QString();
}

} // namespace favoritesfolder
