#pragma once

#include <string>

namespace Gtk { class ComboBoxText; class Window; }
class Dialogs;
class PageView;

// "IE Favorites" shows the Favorites folder as a page; "Add to IE Favorites"
// adds the address bar's address to it, named through our own dialog.
class FavoritesFolderCommands
{
public:
    // `addressBar` is read for its text, typed or not; `folder` is normally
    // favoritesfolder::defaultFolder().
    FavoritesFolderCommands(PageView &view, Dialogs &dialogs, Gtk::ComboBoxText &addressBar,
                            std::string folder, Gtk::Window *parent = nullptr);

    // Says whether the page now shows the folder.
    bool showFolder();
    void addToFavorites();

private:
    PageView &m_view;
    Dialogs &m_dialogs;
    Gtk::ComboBoxText &m_addressBar;
    std::string m_folder;
    Gtk::Window *m_parent;
};
