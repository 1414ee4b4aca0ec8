#include "search/searchcommand.h"

#include "interfaces/pageview.h"
#include "search/enginecatalogue.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"

SearchCommand::SearchCommand(Gtk::Entry &searchBox, SettingsStore &settings, PageView &view)
    : m_searchBox(searchBox), m_settings(settings), m_view(view)
{
}

bool SearchCommand::run()
{
    return searchFor(m_searchBox.get_text());
}

std::string SearchCommand::queryAddress(const std::string &words) const
{
    const std::string engine =
        m_settings.read(keys::App, keys::Home, keys::Engine, enginecatalogue::DefaultEngine);
    const auto addresses = enginecatalogue::queryAddresses(engine, words);
    return addresses.empty() ? std::string() : addresses.back();
}

bool SearchCommand::searchFor(const std::string &words)
{
    const std::string engine =
        m_settings.read(keys::App, keys::Home, keys::Engine, enginecatalogue::DefaultEngine);
    const auto addresses = enginecatalogue::queryAddresses(engine, words);
    // For an id with two rows the second request replaces the first.
    for (const std::string &address : addresses)
        m_view.navigate(address);
    return !addresses.empty();
}
