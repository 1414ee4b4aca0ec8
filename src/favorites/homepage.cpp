#include "favorites/homepage.h"

#include "interfaces/dialogs.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"

HomePage::HomePage(SettingsStore &settings, Dialogs &dialogs,
                   std::function<void(const std::string &)> retarget, Gtk::Window *parent)
    : m_settings(settings), m_dialogs(dialogs), m_retarget(std::move(retarget)), m_parent(parent)
{
}

void HomePage::set()
{
    // The current home address is deliberately not offered: the box starts empty.
    const std::string typed = m_dialogs.input(m_parent, "Enter the URL of your homepage ",
                                              "Enter the URL of your homepage", std::string());
    if (typed.empty())
        return;
    // The tab follows the store, so a write that failed (reported by the
    // store's owner) leaves it where the next start will put it.
    if (!m_settings.write(keys::App, keys::Home, keys::Address, typed))
        return;
    if (m_retarget)
        m_retarget(typed);
}
