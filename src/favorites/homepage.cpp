#include "favorites/homepage.h"

#include "interfaces/dialogs.h"
#include "pagerules/makersite.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"
#include "window/enginetabbar.h"

namespace {
constexpr int HomePageTab = 0;
}

HomePage::HomePage(SettingsStore &settings, Dialogs &dialogs, EngineTabBar &tabs, Gtk::Widget &searchButton,
                   Gtk::Window *parent)
    : m_settings(settings), m_dialogs(dialogs), m_tabs(tabs), m_parent(parent)
{
    searchButton.set_tooltip_text(m_settings.read(keys::App, keys::Home, keys::Address, ""));
    // No tooltip on the tab until the user sets a home page in this run.
    m_tabs.setTag(HomePageTab, tabTarget(m_settings));
}

std::string HomePage::tabTarget(const SettingsStore &settings)
{
    return settings.read(keys::App, keys::Home, keys::Address, makersite::ReferralAddress);
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
    m_tabs.setTag(HomePageTab, typed);
    if (Gtk::Widget *page = m_tabs.get_nth_page(HomePageTab)) {
        if (Gtk::Widget *label = m_tabs.get_tab_label(*page))
            label->set_tooltip_text(typed);
    }
}
