#pragma once

#include <QObject>
#include <QString>

// The per-user store of named strings. Every read goes to the file (no cache
// here), every write reaches the disk atomically before write() returns.
// Files live at <configRoot>/Velmora/<application>.conf; the root defaults to
// $XDG_CONFIG_HOME (or ~/.config) so tests can point it at a temporary folder.
class SettingsStore : public QObject
{
    Q_OBJECT
public:
    explicit SettingsStore(QObject *parent = nullptr);
    explicit SettingsStore(const QString &configRoot, QObject *parent = nullptr);

    QString read(const QString &application, const QString &section, const QString &key,
                 const QString &defaultValue) const;
    // Returns false when the value could not be stored; writeFailed() is emitted then.
    bool write(const QString &application, const QString &section, const QString &key,
               const QString &value);

    // Whether a write would reach the disk now (the folder and file are writable).
    bool isWritable(const QString &application) const;

    QString filePath(const QString &application) const;
    QString configRoot() const { return m_root; }

    static QString defaultConfigRoot();

Q_SIGNALS:
    void writeFailed(const QString &path);

private:
    QString m_root;
};
