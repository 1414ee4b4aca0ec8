#include "navigation/navigationtoolbar.h"

#include "interfaces/dialogs.h"
#include "interfaces/pageview.h"
#include "pagerules/makersite.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"
#include "util/urlinput.h"

#include <exception>

NavigationToolbar::NavigationToolbar(SettingsStore &settings, PageView &view, Dialogs &dialogs,
                                     Gtk::Window *parent)
    : m_settings(settings), m_view(view), m_dialogs(dialogs), m_parent(parent)
{
}

template <class Action> bool NavigationToolbar::attempt(Action action)
{
    try {
        return action();
    } catch (const std::exception &) {
        // Only Back and Forward say why they did nothing, and only for a missing step.
        return true;
    }
}

void NavigationToolbar::back()
{
    if (!attempt([this] { return m_view.goBack(); }))
        m_dialogs.message(m_parent, "You're as back as you're gonna get!", "Skimlark");
}

void NavigationToolbar::forward()
{
    if (!attempt([this] { return m_view.goForward(); }))
        m_dialogs.message(m_parent, "You're as foward as you're gonna get!", "Skimlark");
}

void NavigationToolbar::stop()
{
    attempt([this] { m_view.stop(); return true; });
}

void NavigationToolbar::refresh()
{
    attempt([this] { m_view.refresh(); return true; });
}

void NavigationToolbar::home()
{
    attempt([this] {
        // Read afresh, so a home page set a moment ago applies at once.
        m_view.navigate(urlinput::fromUserInput(
            m_settings.read(keys::App, keys::Home, keys::Address, makersite::StartPage)));
        return true;
    });
}
