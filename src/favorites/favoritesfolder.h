#pragma once

#include <string>
#include <vector>

// The user's Favorites folder: one Internet Shortcut file ("Name.url", an INI
// file with [InternetShortcut] and URL=) per favorite. Names and addresses in
// it are hostile input: anything may have written them.
namespace favoritesfolder {

struct Favorite
{
    std::string name;     // the file name without ".url", as UTF-8
    std::string address;  // the URL= value, empty when the file has none
};

// $XDG_DATA_HOME/Velmora/Skimlark/Favorites.
std::string defaultFolder();

// Makes the folder (and its parents) readable by the user only when missing.
// False when it is not there afterwards, with the reason in `why`.
bool ensureFolder(const std::string &folder, std::string &why);

// The favorites in the folder, sorted by name; a missing folder has none.
std::vector<Favorite> list(const std::string &folder);
// A page listing the favorites; addresses that could run code are shown, not linked.
std::string listingHtml(const std::vector<Favorite> &favorites);
// The folder's file: address, for the listing page's base.
std::string folderAddress(const std::string &folder);

// A safe file name (without ".url") for a favorite called `name`: no path
// separators, no control characters, no "..", not empty, at most MaxNameBytes
// bytes. An empty result falls back to the address's host, then "Untitled".
std::string safeName(const std::string &name, const std::string &address);
inline constexpr std::size_t MaxNameBytes = 200;

// "Name.url" in the folder, or "Name (2).url" ... when taken; empty when no
// free name is left.
std::string freePath(const std::string &folder, const std::string &baseName);

// The file's text: [InternetShortcut] / URL=address, control characters escaped.
std::string shortcutContents(const std::string &address);

// Adds a favorite: picks a free file name in the existing folder and writes a
// new file (0600), never over an existing one. Returns the file's path, or ""
// with the reason in `why`.
std::string add(const std::string &folder, const std::string &name, const std::string &address,
                std::string &why);

} // namespace favoritesfolder
