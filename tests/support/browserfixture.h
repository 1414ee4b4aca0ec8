#pragma once

#include "app/browser.h"
#include "fakedialogs.h"
#include "fakepageview.h"
#include "findwidget.h"
#include "settings/settingsstore.h"
#include "testutil.h"
#include "widgetinput.h"
#include "window/mainwindow.h"

#include <glib.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// The main window as the program builds and wires it, over a fake page view,
// scripted boxes and a settings store in a fresh folder.
struct BrowserFixture : testing::Test
{
    BrowserFixture() : root(g_dir_make_tmp("skimlark-window-XXXXXX", nullptr)), settings(root) {}
    ~BrowserFixture() override
    {
        browser.reset();
        testutil::removeTree(root);
    }

    void seed(const std::string &section, const std::string &key, const std::string &value)
    {
        ASSERT_TRUE(settings.write("Skimlark", section, key, value));
    }
    std::string stored(const std::string &section, const std::string &key) const
    {
        return settings.read("Skimlark", section, key, "<missing>");
    }
    // `firstPageAsked`: what Browser::requestFirstPage() asked for before, if it ran.
    MainWindow &build(const std::string &firstPageAsked = std::string())
    {
        // One window holds the page view at a time.
        browser.reset();
        browser = std::make_unique<Browser>(settings, dialogs, view, firstPageAsked);
        return browser->window();
    }
    MainWindow &loaded()
    {
        build().load();
        return browser->window();
    }
    // On screen, its first page asked for as at a start; the record of what
    // the page view was asked so far is cleared.
    MainWindow &shown()
    {
        loaded().show();
        EXPECT_TRUE(testutil::spinUntil([this] { return browser->window().get_mapped(); }));
        browser->window().ensureFirstActivation();
        testutil::spin();
        view.navigations.clear();
        view.calls.clear();
        return browser->window();
    }
    MainWindow &w() { return browser->window(); }

    // A click as the user's: the command runs once the click has returned.
    static void click(Gtk::Widget &button)
    {
        g_signal_emit_by_name(button.gobj(), "clicked");
        testutil::spin();
    }
    // A menu item by its name (`mnufile`, `mnusepo` ...); nullptr if none.
    Gtk::MenuItem *menuItem(const std::string &name) { return findwidget::withId<Gtk::MenuItem>(w(), name); }
    // A toolbar button by its name ("back" ... "home", "one" ... "ten"); nullptr if none.
    Gtk::ToolButton *toolbarButton(const std::string &name) { return findwidget::withId<Gtk::ToolButton>(w(), name); }
    void choose(const std::string &name)
    {
        Gtk::MenuItem *item = menuItem(name);
        ASSERT_TRUE(item) << name;
        item->activate();
        testutil::spin();
    }
    // An item of the search engine menu by its name.
    Gtk::CheckMenuItem *engineItem(const std::string &name)
    {
        for (Gtk::Widget *child : w().engineMenu().get_children()) {
            if (child->get_name() == name)
                return dynamic_cast<Gtk::CheckMenuItem *>(child);
        }
        return nullptr;
    }
    // The names of the marked engine items, in menu order.
    std::vector<std::string> markedEngineItems()
    {
        std::vector<std::string> names;
        for (Gtk::Widget *child : w().engineMenu().get_children()) {
            auto *item = dynamic_cast<Gtk::CheckMenuItem *>(child);
            if (item && item->get_active())
                names.push_back(item->get_name());
        }
        return names;
    }
    // The address bar's list, in order.
    std::vector<std::string> visitedList()
    {
        std::vector<std::string> list;
        for (const auto &row : w().addressCombo().get_model()->children()) {
            Glib::ustring text;
            row.get_value(0, text);
            list.push_back(text);
        }
        return list;
    }

    std::string root;
    SettingsStore settings;
    FakeDialogs dialogs;
    FakePageView view;
    std::unique_ptr<Browser> browser;
};
