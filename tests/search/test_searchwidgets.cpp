#include "browser/enginetabbar.h"
#include "fakedialogs.h"
#include "fakepageview.h"
#include "navigation/addressbar.h"
#include "search/defaultbuttonrule.h"
#include "search/enginecatalogue.h"
#include "search/enginemenu.h"
#include "search/enginemenuitems.h"
#include "search/enginetabstrip.h"
#include "search/searchcommand.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"
#include "widgetinput.h"

#include <glib/gstdio.h>
#include <gtest/gtest.h>
#include <gtkmm.h>

using testutil::spin;
using testutil::spinUntil;

namespace {

// The search box, the address bar and the tab strip wired as the main window
// wires them, in a plain window.
struct SearchWindow
{
    SearchWindow()
    {
        for (Gtk::Widget *w : std::initializer_list<Gtk::Widget *>{&Text1, &Command1, &Combo1, &Command2,
                                                                    &TabStrip1, &other})
            box.pack_start(*w, Gtk::PACK_SHRINK);
        window.add(box);
        // Wide enough for every tab to show without scrolling.
        window.set_default_size(1400, 300);
        DefaultButtonRule::hand(Text1, Command1);
        Command1.signal_clicked().connect(sigc::mem_fun(search, &SearchCommand::run));
        TabStrip1.addTab("Home Page");
        TabStrip1.setTag(0, "http://home.test/");
        for (const std::string &caption : enginecatalogue::tabCaptions())
            TabStrip1.addTab(caption);
        TabStrip1.chosen.connect([this](int) { ++chosen; });
    }

    std::string stored(const std::string &section, const std::string &key)
    {
        return settings.read(keys::App, section, key, "<missing>");
    }

    Gtk::Window window;
    Gtk::Box box{Gtk::ORIENTATION_VERTICAL};
    Gtk::Entry Text1;
    Gtk::Button Command1{"Search"};
    Gtk::ComboBoxText Combo1{true};
    Gtk::Button Command2{"Surf"};
    EngineTabBar TabStrip1;
    Gtk::Button other{"Elsewhere"};
    FakePageView view;
    FakeDialogs dialogs;
    SettingsStore settings;
    SearchCommand search{Text1, settings, view};
    AddressBar addressBar{Combo1, Command2, settings, view, dialogs};
    EngineTabStrip tabStrip{TabStrip1, Text1, view};
    int chosen = 0;
};

} // namespace

TEST(SearchWidgets, EnterRunsTheCommandOfTheFieldTypedIn)
{
    SearchWindow w;
    widgetinput::show(w.window);
    w.Text1.set_text("C++ & C#");
    widgetinput::focus(w.Text1);
    widgetinput::key(w.Text1, GDK_KEY_Return);
    ASSERT_TRUE(spinUntil([&] { return !w.view.navigations.empty(); }));
    spin();
    EXPECT_EQ(w.view.navigations, std::vector<std::string>{"https://www.google.com/search?q=C%2B%2B%20%26%20C%23"});
    // Surf did not run: nothing listed, nothing stored.
    EXPECT_EQ(w.Combo1.get_model()->children().size(), 0u);
    EXPECT_EQ(w.stored(keys::MRURL, "0"), "<missing>");

    w.view.navigations.clear();
    w.Combo1.get_entry()->set_text("http://a.test/");
    widgetinput::focus(*w.Combo1.get_entry());
    widgetinput::key(*w.Combo1.get_entry(), GDK_KEY_Return);
    ASSERT_TRUE(spinUntil([&] { return !w.view.navigations.empty(); }));
    spin();
    // After the focus moved to the address bar, Enter surfs instead of searching.
    EXPECT_EQ(w.view.navigations, std::vector<std::string>{"http://a.test/"});
}

TEST(SearchWidgets, SearchReadsTheStoredEngineAtEachRun)
{
    const struct { const char *engine; const char *text; std::vector<std::string> navigations; } cases[] = {
        {nullptr, "Enter your search keyword here",
         {"https://www.google.com/search?q=Enter%20your%20search%20keyword%20here"}},
        {"cbsnews", "", {"https://search.atomz.com/search/?sp-q=&sp-k=CBS+News&sp-s=1&sp-p=all&sp-a=sp5d2e8a71"}},
        {"seekways", "x", {"https://www.seekways.example/cgi-bin/sponsors/smartsearch.cgi?keywords=x",
                           "https://www.seekways.example/search/search.cgi?Terms=x"}},
        {"Google", "x", {}},
    };
    SearchWindow w;
    for (const auto &c : cases) {
        w.view.navigations.clear();
        if (c.engine)
            w.settings.write(keys::App, keys::Home, keys::Engine, c.engine);
        w.Text1.set_text(c.text);
        w.Command1.clicked();
        EXPECT_EQ(w.view.navigations, c.navigations) << (c.engine ? c.engine : "nothing stored");
    }
    EXPECT_TRUE(w.dialogs.shown.empty());
}

namespace {

struct EngineMenuWindow
{
    explicit EngineMenuWindow(SettingsStore &store, const std::string &startEngine) : settings(store)
    {
        std::vector<EngineMenu::Item> entries;
        for (const EngineMenuItem &entry : EngineMenuItems) {
            auto *item = Gtk::manage(new Gtk::CheckMenuItem(entry.caption));
            item->set_name(entry.name);
            item->set_visible(entry.visible);
            menu.append(*item);
            items.push_back(item);
            entries.push_back({item, entry.engineId});
        }
        for (const EngineMark &mark : StartupEngineMarks) {
            if (startEngine == mark.engineId)
                item(mark.item)->set_active(true);
        }
        engineMenu = std::make_unique<EngineMenu>(settings, std::move(entries));
    }

    Gtk::CheckMenuItem *item(const std::string &name)
    {
        for (Gtk::CheckMenuItem *i : items) {
            if (i->get_name() == name)
                return i;
        }
        return nullptr;
    }

    std::vector<std::string> marked() const
    {
        std::vector<std::string> names;
        for (Gtk::CheckMenuItem *i : items) {
            if (i->get_active())
                names.push_back(i->get_name());
        }
        return names;
    }

    SettingsStore &settings;
    Gtk::Menu menu;
    std::vector<Gtk::CheckMenuItem *> items;
    std::unique_ptr<EngineMenu> engineMenu;
};

} // namespace

TEST(SearchWidgets, EveryMenuChoiceLeavesOneMarkAndStoresItsId)
{
    for (const char *start : {"google", "seekways"}) {
        SettingsStore settings;
        EngineMenuWindow w(settings, start);
        // Every item in turn, hidden ones included, and the first one twice.
        std::vector<EngineMenuItem> choices(EngineMenuItems.begin(), EngineMenuItems.end());
        choices.push_back(EngineMenuItems.front());
        for (const EngineMenuItem &choice : choices) {
            w.item(choice.name)->activate();
            EXPECT_EQ(w.marked(), std::vector<std::string>{choice.name}) << "from " << start;
            EXPECT_EQ(settings.read(keys::App, keys::Home, keys::Engine, ""), choice.engineId);
        }
    }
}

TEST(SearchWidgets, AChoiceThatCannotBeStoredKeepsTheMarks)
{
    // The store's folder would have to be made under a regular file.
    gchar *dir = g_dir_make_tmp("skimlark-unwritable-XXXXXX", nullptr);
    const std::string blocker = std::string(dir) + "/file";
    g_free(dir);
    ASSERT_TRUE(g_file_set_contents(blocker.c_str(), "", 0, nullptr));

    for (const char *choice : {"mnuyahoo", "mnugoogle", "mnuseekways"}) {
        SettingsStore settings(blocker);
        int failures = 0;
        settings.writeFailed.connect([&failures](const std::string &) { ++failures; });
        EngineMenuWindow w(settings, "google");
        w.item(choice)->activate();
        EXPECT_EQ(w.marked(), std::vector<std::string>{"mnugoogle"}) << choice;
        EXPECT_EQ(failures, 1);
    }
}

namespace {

enum class Input { LeftClick, RightClick, MiddleClick, Wheel, KeyRight, Select };

struct TabRow
{
    const char *name;
    std::string searchText;
    Input input;
    int tab; // 0-based
    std::vector<std::string> navigations;
};

void PrintTo(const TabRow &row, std::ostream *out)
{
    *out << row.name;
}

class TabStripInput : public testing::TestWithParam<TabRow>
{
};

std::string rowName(const testing::TestParamInfo<TabRow> &info)
{
    return info.param.name;
}

} // namespace

TEST_P(TabStripInput, OpensAPageOnlyWhenTheUserChoosesATab)
{
    const TabRow &row = GetParam();
    SearchWindow w;
    widgetinput::show(w.window);
    w.Text1.set_text(row.searchText);
    Gtk::Widget &tab = *w.TabStrip1.get_tab_label(*w.TabStrip1.get_nth_page(row.tab));
    switch (row.input) {
    case Input::LeftClick:
        widgetinput::click(tab, 1);
        break;
    case Input::RightClick:
        widgetinput::click(tab, 3);
        break;
    case Input::MiddleClick:
        widgetinput::click(tab, 2);
        break;
    case Input::Wheel:
        // Buttons 4 and 5 are the wheel's notches on this display.
        widgetinput::click(tab, 5);
        widgetinput::click(tab, 5);
        break;
    case Input::KeyRight:
        widgetinput::focus(w.TabStrip1);
        widgetinput::key(w.TabStrip1, GDK_KEY_Right);
        break;
    case Input::Select:
        w.TabStrip1.select(row.tab);
        break;
    }
    // Input reaches the window in order: once the next click has arrived, the
    // one under test has been handled.
    bool done = false;
    w.other.signal_clicked().connect([&done] { done = true; });
    widgetinput::click(w.other, 1);
    ASSERT_TRUE(spinUntil([&done] { return done; }));
    EXPECT_EQ(w.view.navigations, row.navigations);
    EXPECT_EQ(w.chosen, int(row.navigations.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TabStripInput,
    testing::Values(
        TabRow{"LeftClickOnAnotherTab", "", Input::LeftClick, 3, {"https://www.google.com"}},
        TabRow{"LeftClickSearchesTheBoxText", "cats", Input::LeftClick, 1,
               {"https://search.dmoz.org/cgi-bin/search?search=cats"}},
        TabRow{"LeftClickOnTheSelectedTab", "cats", Input::LeftClick, 0, {"http://home.test/"}},
        TabRow{"KeyboardMove", "", Input::KeyRight, 0, {"https://www.dmoz.org"}},
        TabRow{"SelectFromCode", "a b", Input::Select, 8,
               {"https://www.altavista.com/sites/search/web?q=a%20b&pg=q&kl=XX"}},
        TabRow{"WheelOverTheStrip", "", Input::Wheel, 0, {}},
        TabRow{"RightClickOnTheSelectedTab", "", Input::RightClick, 0, {}},
        TabRow{"RightClickOnAnotherTab", "", Input::RightClick, 4, {}},
        TabRow{"MiddleClickOnTheSelectedTab", "", Input::MiddleClick, 0, {}},
        TabRow{"MiddleClickOnAnotherTab", "", Input::MiddleClick, 2, {}}),
    rowName);

TEST(SearchWidgets, TabStripIsAnAccessiblePageTabList)
{
    SearchWindow w;
    auto strip = w.TabStrip1.get_accessible();
    EXPECT_EQ(strip->get_role(), Atk::ROLE_PAGE_TAB_LIST);
    EXPECT_EQ(strip->get_name(), "Search engines");
    ASSERT_EQ(strip->get_n_accessible_children(), 10);
    EXPECT_EQ(strip->get_accessible_child(0)->get_name(), "Home Page");
    EXPECT_EQ(strip->get_accessible_child(3)->get_name(), "  Google  ");
}
