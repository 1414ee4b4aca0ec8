#pragma once

#include <QObject>
#include <QString>

class Dialogs;
class QWidget;

// Adds a page to the user's Favorites folder through our add-favourite dialog.
class ShellUIHelper : public QObject
{
    Q_OBJECT
public:
    ShellUIHelper(Dialogs *dialogs, QWidget *owner, QObject *parent = nullptr);

    // Asks for the name (prefilled with the title) and writes a shortcut file
    // into the Favorites folder, never over an existing one. False on Cancel
    // or any failure.
    bool addFavorite(const QString &address, const QString &title);

    // The Favorites folder; the user's own unless set otherwise.
    QString favoritesFolder() const { return m_folder; }
    void setFavoritesFolder(const QString &folder) { m_folder = folder; }

private:
    Dialogs *m_dialogs;
    QWidget *m_owner;
    QString m_folder;
};
