#include "navigation/navigationtoolbar.h"

#include "interfaces/dialogs.h"
#include "util/makeraddresses.h"
#include "interfaces/pageview.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"
#include "util/urlinput.h"

#include <exception>
#include <gtkmm/window.h>

NavigationToolbar::NavigationToolbar(Gtk::ToolButton &back, Gtk::ToolButton &forward,
                                     Gtk::ToolButton &stop, Gtk::ToolButton &refresh,
                                     Gtk::ToolButton &home, SettingsStore &settings,
                                     PageView &view, Dialogs &dialogs)
    : m_settings(settings), m_view(view), m_dialogs(dialogs)
{
    const std::pair<Gtk::ToolButton *, const char *> buttons[] = {
        {&back, "back"}, {&forward, "forward"}, {&stop, "stop"}, {&refresh, "refresh"}, {&home, "home"}};
    for (const auto &[button, key] : buttons)
        button->signal_clicked().connect(
            sigc::bind(sigc::mem_fun(*this, &NavigationToolbar::clicked), button, key));
}

void NavigationToolbar::clicked(Gtk::ToolButton *button, const char *key)
{
    bool done = false;
    try {
        done = act(key);
    } catch (const std::exception &) {
        // A failing button ends its click; only Back and Forward say why.
    }
    if (done)
        return;
    auto *parent = dynamic_cast<Gtk::Window *>(button->get_toplevel());
    const std::string k = key;
    if (k == "forward")
        m_dialogs.message(parent, "You're as foward as you're gonna get!", "Skimlark");
    else if (k == "back")
        m_dialogs.message(parent, "You're as back as you're gonna get!", "Skimlark");
}

bool NavigationToolbar::act(const std::string &key)
{
    if (key == "back")
        return m_view.goBack();
    if (key == "forward")
        return m_view.goForward();
    if (key == "stop")
        m_view.stop();
    else if (key == "refresh")
        m_view.refresh();
    else if (key == "home")
        // Read afresh, so a home page set a moment ago applies at once.
        m_view.navigate(urlinput::fromUserInput(
            m_settings.read(keys::App, keys::Home, keys::Address, maker::StartPage)));
    return true;
}
