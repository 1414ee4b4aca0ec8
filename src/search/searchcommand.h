#pragma once

#include <gtkmm/entry.h>
#include <string>

class PageView;
class SettingsStore;

// The Search command: sends the search box's words to the engine last chosen
// in the menu. The engine id is read from the settings at every run, so a
// choice takes effect at the next search.
class SearchCommand
{
public:
    SearchCommand(Gtk::Entry &searchBox, SettingsStore &settings, PageView &view);

    // Searches the search box's words; says whether it navigated.
    bool run();
    // Navigates once per catalogue row of the stored engine id; an id no row
    // carries does nothing. Says whether it navigated.
    bool searchFor(const std::string &words);
    // The address a search for the words ends on ("" for an engine id no
    // row carries).
    std::string queryAddress(const std::string &words) const;
    // Whether the stored engine id names an engine to search with.
    bool engineChosen() const { return !queryAddress("").empty(); }

private:
    Gtk::Entry &m_searchBox;
    SettingsStore &m_settings;
    PageView &m_view;
};
