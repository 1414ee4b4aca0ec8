#pragma once

#include <QList>
#include <QString>

// The user's Favorites folder: one Internet Shortcut file ("Name.url", an INI
// file with [InternetShortcut] and URL=) per favorite.
namespace favoritesfolder {

struct Favorite
{
    QString name;     // the file name without ".url"
    QString address;  // the URL= value, empty when the file has none
};

// $XDG_DATA_HOME/Velmora/Skimlark/Favorites (XDG_DATA_HOME defaults to ~/.local/share).
QString defaultFolder();

// The favorites in the folder, sorted by name; a missing folder has none.
QList<Favorite> list(const QString &folder);
// A page listing the favorites as links; addresses that could run code are shown, not linked.
QString listingHtml(const QList<Favorite> &favorites);
// The address of the folder, for the listing page's base.
QString folderAddress(const QString &folder);

// A safe file name (without ".url") for a favorite called `name`: no path
// separators, no control characters, no "..", not empty, at most MaxNameBytes
// bytes. An empty result falls back to the address's host, then "Untitled".
QString safeName(const QString &name, const QString &address);
constexpr int MaxNameBytes = 200;

// "Name.url" in the folder, or "Name (2).url" ... when taken; empty when no
// free name is left.
QString freePath(const QString &folder, const QString &baseName);

// The file's text: [InternetShortcut] / URL=address, control characters escaped.
QByteArray shortcutContents(const QString &address);

// Adds a favorite: creates the folder, picks a free file name and writes the
// file in one step. Returns the file's path, empty on failure.
QString add(const QString &folder, const QString &name, const QString &address);

} // namespace favoritesfolder
