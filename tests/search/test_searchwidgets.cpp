#include "window/enginetabbar.h"
#include "fakedialogs.h"
#include "fakepageview.h"
#include "navigation/addressbar.h"
#include "util/defaultbuttonrule.h"
#include "search/enginecatalogue.h"
#include "search/enginemenu.h"
#include "search/enginemenuitems.h"
#include "search/enginetabstrip.h"
#include "search/searchcommand.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"
#include "widgetinput.h"

#include <gtest/gtest.h>
#include <gtkmm.h>

using testutil::spinUntil;
using Strings = std::vector<std::string>;

namespace {

// The search box, the address bar and the tab strip wired as the main window
// wires them, in a plain window wide enough for every tab.
struct SearchWindow
{
    SearchWindow()
    {
        for (Gtk::Widget *w : std::initializer_list<Gtk::Widget *>{&Text1, &Command1, &Combo1, &Command2,
                                                                    &TabStrip1, &other})
            box.pack_start(*w, Gtk::PACK_SHRINK);
        window.add(box);
        window.set_default_size(1400, 300);
        DefaultButtonRule::hand(Text1, Command1);
        Command1.signal_clicked().connect(sigc::mem_fun(search, &SearchCommand::run));
        TabStrip1.addTab("Home Page");
        TabStrip1.setTag(0, "http://home.test/");
        for (const std::string &caption : enginecatalogue::tabCaptions())
            TabStrip1.addTab(caption);
        TabStrip1.chosen.connect([this](int) { ++chosen; });
    }

    // Presses Enter in `field` and waits for the navigation it starts.
    void enter(Gtk::Entry &field, const std::string &text)
    {
        view.navigations.clear();
        field.set_text(text);
        widgetinput::focus(field);
        widgetinput::key(field, GDK_KEY_Return);
        spinUntil([this] { return !view.navigations.empty(); });
        testutil::spin();
    }

    Gtk::Window window;
    Gtk::Box box{Gtk::ORIENTATION_VERTICAL};
    Gtk::Entry Text1;
    Gtk::Button Command1{"Search"}, Command2{"Surf"}, other{"Elsewhere"};
    Gtk::ComboBoxText Combo1{true};
    EngineTabBar TabStrip1;
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
    w.enter(w.Text1, "C++ & C#");
    EXPECT_EQ(w.view.navigations, Strings{"https://www.google.com/search?q=C%2B%2B%20%26%20C%23"});
    // Surf did not run: nothing listed, nothing stored.
    EXPECT_EQ(w.Combo1.get_model()->children().size(), 0u);
    EXPECT_EQ(w.settings.read(keys::App, keys::MRURL, "0", "<missing>"), "<missing>");
    // The engine is read at each search.
    w.settings.write(keys::App, keys::Home, keys::Engine, "excite");
    w.enter(w.Text1, "x");
    EXPECT_EQ(w.view.navigations, Strings{"https://search.msn.com/results.asp?RS=CHECKED&FORM=MSNH&v=1&q=x"});
    // Once the focus is in the address bar, Enter surfs instead.
    w.enter(*w.Combo1.get_entry(), "http://a.test/");
    EXPECT_EQ(w.view.navigations, Strings{"http://a.test/"});
}

TEST(SearchWidgets, AMenuChoiceMovesTheOneMarkOnlyWhenItIsStored)
{
    // A store whose folder would have to be made under a regular file.
    const std::string blocker = std::string(g_get_user_config_dir()) + "/file";
    ASSERT_TRUE(g_file_set_contents(blocker.c_str(), "", 0, nullptr));
    const struct { bool writable; const char *start; Strings choices, marks; std::string stored; } cases[] = {
        {true, "seekways", {"mnugoogle"}, {"mnugoogle"}, "google"},
        {true, "google", {"mnuyahoo", "mnuseekways", "mnufoxnewssearch", "mnuexcite", "mnuexcite"}, {"mnuexcite"}, "excite"},
        {false, "google", {"mnuyahoo"}, {"mnugoogle"}, "<missing>"},
        {false, "google", {"mnugoogle"}, {"mnugoogle"}, "<missing>"},
    };
    for (const auto &c : cases) {
        SettingsStore settings = c.writable ? SettingsStore() : SettingsStore(blocker);
        Gtk::Menu menu;
        std::map<std::string, Gtk::CheckMenuItem *> byName;
        std::vector<EngineMenu::Item> items;
        for (const EngineMenuItem &entry : EngineMenuItems) {
            auto *item = byName[entry.name] = Gtk::manage(new Gtk::CheckMenuItem(entry.caption));
            item->set_visible(entry.visible);
            menu.append(*item);
            items.push_back({item, entry.engineId});
        }
        for (const EngineMark &mark : StartupEngineMarks) {
            if (c.start == mark.engineId)
                byName[mark.item]->set_active(true);
        }
        EngineMenu engineMenu(settings, items);
        for (const std::string &choice : c.choices)
            byName[choice]->activate();
        Strings marks;
        for (const EngineMenuItem &entry : EngineMenuItems) {
            if (byName[entry.name]->get_active())
                marks.push_back(entry.name);
        }
        EXPECT_EQ(marks, c.marks) << c.choices.back();
        EXPECT_EQ(settings.read(keys::App, keys::Home, keys::Engine, "<missing>"), c.stored);
    }
}

namespace {

struct TabRow
{
    const char *name;
    std::string searchText;
    int button; // a mouse button on the tab (4 and 5: the wheel), 0: the Right key, -1: select()
    int tab;
    Strings navigations;
};

void PrintTo(const TabRow &row, std::ostream *out)
{
    *out << row.name;
}

class TabStripInput : public testing::TestWithParam<TabRow>
{
};

} // namespace

TEST_P(TabStripInput, OpensAPageOnlyWhenTheUserChoosesATab)
{
    const TabRow &row = GetParam();
    SearchWindow w;
    widgetinput::show(w.window);
    w.Text1.set_text(row.searchText);
    if (row.button > 0) {
        widgetinput::click(*w.TabStrip1.get_tab_label(*w.TabStrip1.get_nth_page(row.tab)), row.button);
    } else if (row.button == 0) {
        widgetinput::focus(w.TabStrip1);
        widgetinput::key(w.TabStrip1, GDK_KEY_Right);
    } else {
        w.TabStrip1.select(row.tab);
    }
    // Input arrives in order: once a later click is in, this one was handled.
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
        TabRow{"ClickOnAnotherTab", "", 1, 3, {"https://www.google.com"}},
        TabRow{"ClickSearchesTheBoxText", "cats", 1, 1, {"https://search.dmoz.org/cgi-bin/search?search=cats"}},
        TabRow{"ClickSearchesBlanksToo", " ", 1, 3, {"https://www.google.com/search?q=%20"}},
        TabRow{"ClickOnTheSelectedTab", "cats", 1, 0, {"http://home.test/"}},
        TabRow{"KeyboardMove", "", 0, 0, {"https://www.dmoz.org"}},
        TabRow{"SelectFromCode", "a b", -1, 8, {"https://www.altavista.com/sites/search/web?q=a%20b&pg=q&kl=XX"}},
        TabRow{"WheelDown", "", 5, 0, {}},
        TabRow{"WheelUp", "", 4, 3, {}},
        TabRow{"RightClickOnTheSelectedTab", "", 3, 0, {}},
        TabRow{"RightClickOnAnotherTab", "", 3, 4, {}},
        TabRow{"MiddleClickOnTheSelectedTab", "", 2, 0, {}},
        TabRow{"MiddleClickOnAnotherTab", "", 2, 2, {}}),
    [](const testing::TestParamInfo<TabRow> &info) { return std::string(info.param.name); });

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
