#pragma once

#include <gtkmm/entry.h>

class EngineTabBar;
class PageView;

// The engine tabs: adds the nine tabs after the Home Page tab, and opens a
// chosen tab's target, rebuilding the engine tabs' targets from the search
// box's text first. The Home Page tab keeps the target its owner gives it.
class EngineTabStrip
{
public:
    EngineTabStrip(EngineTabBar &tabs, Gtk::Entry &searchBox, PageView &view);

    // Says whether it navigated (a tab there is).
    bool open(int index);

private:
    EngineTabBar &m_tabs;
    Gtk::Entry &m_searchBox;
    PageView &m_view;
};
