#include "search/searchcommand.h"

#include "interfaces/pageview.h"
#include "search/enginecatalogue.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"

SearchCommand::SearchCommand(Gtk::Entry &searchBox, SettingsStore &settings, PageView &view)
    : m_searchBox(searchBox), m_settings(settings), m_view(view)
{
}

void SearchCommand::run()
{
    const std::string engine = m_settings.read(keys::App, keys::Home, keys::Engine, "google");
    // For an id with two rows the second request replaces the first.
    for (const std::string &address : enginecatalogue::queryAddresses(engine, m_searchBox.get_text()))
        m_view.navigate(address);
}
