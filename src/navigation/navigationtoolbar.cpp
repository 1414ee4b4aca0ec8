#include "navigation/navigationtoolbar.h"

#include "interfaces/dialogs.h"
#include "interfaces/pageview.h"
#include "pagerules/makersite.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"
#include "util/urlinput.h"

NavigationToolbar::NavigationToolbar(SettingsStore &settings, PageView &view, Dialogs &dialogs,
                                     Gtk::Window *parent)
    : m_settings(settings), m_view(view), m_dialogs(dialogs), m_parent(parent)
{
}

bool NavigationToolbar::back()
{
    if (m_view.goBack())
        return true;
    m_dialogs.message(m_parent, "You're as back as you're gonna get!", "Skimlark");
    return false;
}

bool NavigationToolbar::forward()
{
    if (m_view.goForward())
        return true;
    m_dialogs.message(m_parent, "You're as foward as you're gonna get!", "Skimlark");
    return false;
}

void NavigationToolbar::stop()
{
    m_view.stop();
}

bool NavigationToolbar::refresh()
{
    m_view.refresh();
    return true;
}

bool NavigationToolbar::home()
{
    // Read afresh, so a home page set a moment ago applies at once.
    m_view.navigate(urlinput::fromUserInput(
        m_settings.read(keys::App, keys::Home, keys::Address, makersite::StartPage)));
    return true;
}
