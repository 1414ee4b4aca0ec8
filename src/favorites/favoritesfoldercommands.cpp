#include "favorites/favoritesfoldercommands.h"

#include "interfaces/dialogs.h"
#include "interfaces/pageview.h"
#include "favorites/favoritesfolder.h"

#include <gtkmm/comboboxtext.h>
#include <gtkmm/entry.h>

FavoritesFolderCommands::FavoritesFolderCommands(PageView &view, Dialogs &dialogs,
                                                 Gtk::ComboBoxText &addressBar, std::string folder,
                                                 Gtk::Window *parent)
    : m_view(view), m_dialogs(dialogs), m_addressBar(addressBar), m_folder(std::move(folder)),
      m_parent(parent)
{
}

bool FavoritesFolderCommands::showFolder()
{
    std::string why;
    // Without a folder there is nothing to list: the page stays as it is.
    if (!favoritesfolder::ensureFolder(m_folder, why)) {
        m_dialogs.message(m_parent,
                          "The Favorites folder " + m_folder + " cannot be opened.\n" + why,
                          "IE Favorites");
        return false;
    }
    m_view.showHtml(favoritesfolder::listingHtml(favoritesfolder::list(m_folder)),
                    favoritesfolder::folderAddress(m_folder));
    return true;
}

void FavoritesFolderCommands::addToFavorites()
{
    // Typed text that was never surfed is offered as it stands.
    const Gtk::Entry *entry = m_addressBar.get_entry();
    const std::string address = entry ? std::string(entry->get_text()) : std::string();
    const auto name = m_dialogs.favoriteName(m_parent, m_view.currentTitle(), address);
    if (!name)
        return;
    std::string why;
    if (!favoritesfolder::ensureFolder(m_folder, why)
        || favoritesfolder::add(m_folder, *name, address, why).empty()) {
        m_dialogs.message(m_parent,
                          "The favorite could not be saved in " + m_folder + ".\n" + why,
                          "Add to IE Favorites");
    }
}
