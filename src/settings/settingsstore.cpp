#include "settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

SettingsStore::SettingsStore(QObject *parent)
    : SettingsStore(defaultConfigRoot(), parent)
{
}

SettingsStore::SettingsStore(const QString &configRoot, QObject *parent)
    : QObject(parent), m_root(configRoot)
{
}

QString SettingsStore::defaultConfigRoot()
{
    const QByteArray xdg = qgetenv("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(QString::fromLocal8Bit(xdg)))
        return QString::fromLocal8Bit(xdg);
    return QDir::homePath() + QStringLiteral("/.config");
}

QString SettingsStore::filePath(const QString &application) const
{
    return m_root + QStringLiteral("/Velmora/") + application + QStringLiteral(".conf");
}

static QString keyPath(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

// QSettings parses a file once per process and reports a format error only to
// the instance that parsed it; after any read, a probe of the file itself
// would look sound. A private copy is parsed afresh every time.
static bool isDamaged(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return false;
    if (!file.open(QIODevice::ReadOnly))
        return true;
    QTemporaryFile copy;
    if (!copy.open() || copy.write(file.readAll()) < 0 || !copy.flush())
        return false;
    QSettings probe(copy.fileName(), QSettings::IniFormat);
    probe.allKeys(); // sections are parsed on first access; parse them all
    return probe.status() == QSettings::FormatError;
}

QString SettingsStore::read(const QString &application, const QString &section,
                            const QString &key, const QString &defaultValue) const
{
    const QString path = filePath(application);
    // A folder or an unreadable file where the store should be gives the defaults.
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile() || !info.isReadable())
        return defaultValue;
    QSettings settings(path, QSettings::IniFormat);
    const QVariant value = settings.value(keyPath(section, key));
    if (!value.isValid())
        return defaultValue;
    // A hand-edited file may hold an unquoted list; keep its text as written.
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    if (!value.canConvert<QString>())
        return defaultValue;
    return value.toString();
}

bool SettingsStore::write(const QString &application, const QString &section,
                          const QString &key, const QString &value)
{
    const QString path = filePath(application);
    bool ok = QDir().mkpath(QFileInfo(path).absolutePath());
    if (ok && QFileInfo(path).isDir())
        ok = false;
    if (ok) {
        const bool damaged = isDamaged(path);
        // A damaged file would refuse every write; keep it beside the store for
        // the user and start a clean one.
        if (damaged) {
            const QString aside = path + QStringLiteral(".damaged");
            QFile::remove(aside);
            ok = QFile::rename(path, aside);
        }
    }
    if (ok) {
        QSettings settings(path, QSettings::IniFormat);
        settings.setValue(keyPath(section, key), value);
        // sync() writes through a temporary file renamed over the old one, so a
        // crash mid-write never leaves half a file.
        settings.sync();
        ok = settings.status() == QSettings::NoError;
    }
    if (!ok)
        Q_EMIT writeFailed(path);
    return ok;
}

bool SettingsStore::isWritable(const QString &application) const
{
    const QFileInfo file(filePath(application));
    if (!QDir().mkpath(file.absolutePath()))
        return false;
    const QFileInfo folder(file.absolutePath());
    if (!folder.isWritable())
        return false;
    return !file.exists() || (file.isFile() && file.isWritable());
}
