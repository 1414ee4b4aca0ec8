#include "favorites/favoritecommands.h"

#include "interfaces/dialogs.h"
#include "interfaces/pageview.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"
#include "util/urlinput.h"

#include <gtkmm/widget.h>

FavoriteCommands::FavoriteCommands(SettingsStore &settings, Dialogs &dialogs, PageView &view,
                                   Buttons buttons, Gtk::Window *parent)
    : m_settings(settings), m_dialogs(dialogs), m_view(view), m_buttons(buttons),
      m_parent(parent)
{
    for (int n = 1; n <= favoritetexts::Count; ++n)
        showInTooltip(n, slot(n));
}

std::string FavoriteCommands::slot(int n) const
{
    return m_settings.read(keys::App, keys::Home, keys::favoriteSlot(n), std::string());
}

bool FavoriteCommands::store(int n, const std::string &address)
{
    // A failed write is reported by the store's owner; nothing here may then
    // pretend the slot changed.
    return m_settings.write(keys::App, keys::Home, keys::favoriteSlot(n), address);
}

void FavoriteCommands::showInTooltip(int n, const std::string &address)
{
    // An empty slot invites a click. The toolbar keeps the button's
    // accessible description in step with its tooltip.
    if (Gtk::Widget *button = m_buttons[n - 1])
        button->set_tooltip_text(address.empty() ? favoritetexts::invitation(n) : address);
}

void FavoriteCommands::edit(int n)
{
    if (n < 1 || n > favoritetexts::Count)
        return;
    const std::string typed = m_dialogs.input(m_parent, favoritetexts::editPrompt(n),
                                              favoritetexts::editTitle(n), slot(n));
    // Cancel and an empty box look the same: neither empties a filled slot.
    if (typed.empty() || !store(n, typed))
        return;
    showInTooltip(n, typed);
}

bool FavoriteCommands::activate(int n)
{
    if (n < 1 || n > favoritetexts::Count)
        return false;
    const std::string stored = slot(n);
    if (!stored.empty()) {
        m_view.navigate(urlinput::fromUserInput(stored));
        return true;
    }

    const std::string address = m_view.currentAddress();
    if (!store(n, address))
        return false;
    m_dialogs.message(m_parent, "You added " + address + favoritetexts::addedSentence(n),
                      m_view.currentTitle() + " was added to your favorites");
    // The page may have moved on while the box was open: the tooltip names
    // what the button will open, which is what was stored.
    showInTooltip(n, address);
    return false;
}

void FavoriteCommands::addCurrentPage()
{
    for (int n = 1; n <= favoritetexts::Count; ++n) {
        if (slot(n).empty()) {
            activate(n);
            return;
        }
    }
    m_dialogs.message(m_parent,
                      "All ten favorite buttons hold an address. Choose a button under "
                      "\"Edit My Favorite Buttons\" to change its address.",
                      "Skimlark");
}
