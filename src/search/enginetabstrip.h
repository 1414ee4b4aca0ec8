#pragma once

#include <gtkmm/entry.h>

class EngineTabBar;
class PageView;

// The tab strip's choice handling: rebuilds the nine engine tabs' targets
// from the search box text, then opens the chosen tab's target. The Home Page
// tab keeps the target its owners give it.
class EngineTabStrip : public sigc::trackable
{
public:
    EngineTabStrip(EngineTabBar &tabs, Gtk::Entry &searchBox, PageView &view);

private:
    void tabChosen(int index);

    EngineTabBar &m_tabs;
    Gtk::Entry &m_searchBox;
    PageView &m_view;
};
