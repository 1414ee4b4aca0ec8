#include "navigation/navigationwiring.h"

#include "navigation/addressbar.h"
#include "window/frmbrowser.h"
#include "navigation/navigationtoolbar.h"
#include "navigation/pagestatus.h"

void wireNavigation(frmBrowser &window)
{
    AddressBar &addressBar = window.keep(std::make_unique<AddressBar>(
        window.Combo1, window.Command2, window.settings(), window.WebBrowser1, window.dialogs(),
        window.visitedAddressCounter()));

    Gtk::ToolButton *back = window.toolbarButton("back");
    Gtk::ToolButton *forward = window.toolbarButton("forward");
    Gtk::ToolButton *stop = window.toolbarButton("stop");
    Gtk::ToolButton *refresh = window.toolbarButton("refresh");
    Gtk::ToolButton *home = window.toolbarButton("home");
    if (back && forward && stop && refresh && home)
        window.keep(std::make_unique<NavigationToolbar>(*back, *forward, *stop, *refresh, *home,
                                                        window.settings(), window.WebBrowser1,
                                                        window.dialogs()));

    PageStatus &status = window.keep(
        std::make_unique<PageStatus>(window.WebBrowser1, window.panels, window, addressBar));
    window.Timer3 = status.clockTimer();
}
