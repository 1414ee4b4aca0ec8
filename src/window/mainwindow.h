#pragma once

#include "window/browsermenus.h"
#include "window/commandtable.h"
#include "window/enginetabbar.h"
#include "window/toolbarcomponent.h"

#include <gtkmm.h>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class PageView;

// The status bar: its panels keep their design widths while the window has
// room for them; in a narrower one the long panel gives way first, then the
// others.
class StatusPanels : public Gtk::Box
{
public:
    StatusPanels() : Gtk::Box(Gtk::ORIENTATION_HORIZONTAL) {}
    void addPanel(Gtk::Widget &panel, int width);

protected:
    void get_preferred_width_vfunc(int &minimum, int &natural) const override;
    void on_size_allocate(Gtk::Allocation &allocation) override;

private:
    std::vector<std::pair<Gtk::Widget *, int>> m_panels;
};

// The search row: controls at fixed places, mirrored in a right-to-left
// locale as the rest of the window is.
class FixedRow : public Gtk::Fixed
{
protected:
    void on_size_allocate(Gtk::Allocation &allocation) override;
};

// The main window: its controls and menu tree, their layout and placement,
// the first activation and the close that ends the program. Behaviour is
// wired onto the controls from outside, through the accessors below; the
// menu items and keys run the commands bound to them.
class MainWindow : public Gtk::Window
{
public:
    explicit MainWindow(PageView &pageView);
    ~MainWindow() override;

    // The window's own part of the load: the page toolbar and its component,
    // the Home Page tab's caption, the first-activation flag and the place on
    // the screen. Runs once, before the window is first shown.
    void load();

    // The controls.
    Gtk::Entry &searchBox() { return m_searchBox; }
    Gtk::Button &searchButton() { return m_searchButton; }
    Gtk::ComboBoxText &addressCombo() { return m_addressCombo; }
    Gtk::Button &surfButton() { return m_surfButton; }
    EngineTabBar &engineTabs() { return m_engineTabs; }
    // The page area: the page view, and under it what the page needs (find).
    Gtk::Box &pageArea() { return m_pageArea; }
    std::array<Gtk::Label, 3> &panels() { return m_panels; }
    // Favorite button N (1..10), the toolbar's button at position 13 + N.
    Gtk::ToolButton *favoriteButton(int n) const;
    Gtk::Menu &engineMenu() const { return m_menus.engineMenu(); }

    // What a menu item, key or button runs; `argument` is the row's (a slot,
    // a colour).
    void bind(Command command, std::function<void(int argument)> run);
    bool isBound(Command command) const { return m_commands.count(command) != 0; }

    // The first activation, once. Later calls do nothing.
    void ensureFirstActivation();

    // The first activation: the first page is asked for now.
    sigc::signal<void()> &signal_first_activated() { return m_firstActivated; }
    // The window is closing; the program ends after this.
    sigc::signal<void()> &signal_closing() { return m_closing; }

protected:
    bool on_delete_event(GdkEventAny *event) override;
    bool on_focus_in_event(GdkEventFocus *event) override;
    bool on_motion_notify_event(GdkEventMotion *event) override;
    bool on_key_press_event(GdkEventKey *event) override;
    bool on_window_state_event(GdkEventWindowState *event) override;

private:
    void buildControls();
    // Menu items and buttons run their command once the click has returned
    // (so an assistive tool that clicked can answer the box it opens); not at
    // all once the window is gone.
    void runLater(Command command, int argument);
    void toggleFullScreen();
    void buildToolbar();
    void buildStatusBar();
    void placeOnScreen();
    void placeNow();
    void run(Command command, int argument);

    PageView &m_pageView;
    Glib::RefPtr<Gtk::AccelGroup> m_keys = Gtk::AccelGroup::create();
    // Over all the controls and the page: the page's questions are drawn here.
    Gtk::Overlay m_layer;
    Gtk::Box m_layout{Gtk::ORIENTATION_VERTICAL};
    Gtk::ScrolledWindow m_menuBarView;
    Gtk::MenuBar m_menuBar;
    BrowserMenus m_menus;
    Gtk::Toolbar m_toolbar;
    // The search row keeps its controls' places; a window narrower than the
    // row scrolls it, to the control that takes the focus.
    Gtk::ScrolledWindow m_searchRowView;
    FixedRow m_searchRow;
    Gtk::Label m_searchLabel;
    Gtk::Entry m_searchBox;
    Gtk::Button m_searchButton;
    Gtk::Label m_addressLabel;
    Gtk::ComboBoxText m_addressCombo{true};
    Gtk::Button m_surfButton;
    EngineTabBar m_engineTabs;
    ScrollingTabStrip m_tabStrip{m_engineTabs};
    Gtk::Toolbar m_progressToolbar;
    Gtk::Box m_pageArea{Gtk::ORIENTATION_VERTICAL};
    StatusPanels m_statusBar;
    std::array<Gtk::Label, 3> m_panels;
    ToolbarComponent m_toolbarComponent;
    std::array<Gtk::ToolButton *, 24> m_toolbarButtons{};
    std::map<Command, std::function<void(int)>> m_commands;
    sigc::signal<void()> m_firstActivated;
    sigc::signal<void()> m_closing;
    bool m_firstActivation = false;
    bool m_firstMouseMove = false;
    bool m_placedByFrame = false;
    bool m_unloaded = false;
    bool m_fullScreen = false;
};
