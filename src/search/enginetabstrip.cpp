#include "search/enginetabstrip.h"

#include "window/enginetabbar.h"
#include "interfaces/pageview.h"
#include "search/enginecatalogue.h"
#include "util/urlinput.h"

namespace {
constexpr int HomePageTab = 0;
}

EngineTabStrip::EngineTabStrip(EngineTabBar &tabs, Gtk::Entry &searchBox, PageView &view)
    : m_tabs(tabs), m_searchBox(searchBox), m_view(view)
{
    for (const std::string &caption : enginecatalogue::tabCaptions())
        m_tabs.addTab(caption);
}

bool EngineTabStrip::open(int index)
{
    if (index < 0 || index >= m_tabs.count())
        return false;
    for (const enginecatalogue::EngineRow *tab : enginecatalogue::engineTabs()) {
        const int tabIndex = tab->tab.position - 1;
        if (tabIndex < m_tabs.count())
            m_tabs.setTag(tabIndex, enginecatalogue::tabTarget(*tab, m_searchBox.get_text()));
    }
    // The Home Page tab holds the home address as the user typed it; the
    // engine tabs hold finished addresses.
    const std::string tag = m_tabs.tag(index);
    m_view.navigate(index == HomePageTab ? urlinput::fromUserInput(tag) : tag);
    return true;
}
