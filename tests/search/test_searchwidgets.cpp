#include "browserfixture.h"

#include "search/enginemenuitems.h"

#include <glib/gstdio.h>

using testutil::spinUntil;
using Strings = std::vector<std::string>;

namespace {

struct Search : BrowserFixture
{
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
};

} // namespace

TEST_F(Search, EnterRunsTheCommandOfTheFieldTypedIn)
{
    MainWindow &w = shown();
    enter(w.searchBox(), "C++ & C#");
    EXPECT_EQ(view.navigations, Strings{"https://www.google.com/search?q=C%2B%2B%20%26%20C%23"});
    // Surf did not run: nothing listed, nothing stored.
    EXPECT_EQ(visitedList(), Strings{""});
    EXPECT_EQ(stored("MRURL", "0"), "<missing>");
    // The engine is read at each search.
    seed("Home", "Engine", "excite");
    enter(w.searchBox(), "x");
    EXPECT_EQ(view.navigations, Strings{"https://search.msn.com/results.asp?RS=CHECKED&FORM=MSNH&v=1&q=x"});
    // Once the focus is in the address bar, Enter surfs instead.
    enter(*w.addressCombo().get_entry(), "http://a.test/");
    EXPECT_EQ(view.navigations, Strings{"http://a.test/"});
}

TEST_F(Search, AMenuChoiceMovesTheOneMarkOnlyWhenItIsStored)
{
    const struct { bool writable; const char *start; Strings choices, marks; std::string stored; } cases[] = {
        {true, "seekways", {"mnugoogle"}, {"mnugoogle"}, "google"},
        {true, "google", {"mnuyahoo", "mnuseekways", "mnufoxnewssearch", "mnuexcite", "mnuexcite"}, {"mnuexcite"}, "excite"},
        {false, "google", {"mnuyahoo"}, {"mnugoogle"}, "<missing>"},
        {false, "google", {"mnugoogle"}, {"mnugoogle"}, "<missing>"},
    };
    const std::string file = settings.filePath("Skimlark");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.choices.back());
        g_unlink(file.c_str());
        g_rmdir(file.c_str());
        // A folder where the file should be: nothing can be stored.
        if (c.writable)
            seed("Home", "Engine", c.start);
        else
            ASSERT_EQ(g_mkdir_with_parents(file.c_str(), 0700), 0);
        loaded();
        for (const std::string &choice : c.choices)
            engineItem(choice)->activate();
        EXPECT_EQ(markedEngineItems(), c.marks);
        EXPECT_EQ(stored("Home", "Engine"), c.stored);
    }
}

namespace {

// Where a click lands instead of a tab: the scroll arrows of a narrow strip.
constexpr int BackArrow = -1, OnArrow = -2;

struct TabRow
{
    const char *name;
    std::string searchText;
    int button; // a mouse button on the tab (4 and 5: the wheel), 0: the Right key, -1: select()
    int tab;    // or an arrow
    Strings navigations;
    bool narrow = false; // a window too narrow for every tab, so the strip scrolls
};

Gtk::Button &arrow(Gtk::Widget &window, int which)
{
    return *findwidget::named<Gtk::Button>(window, which == BackArrow ? "Scroll the tabs back" : "Scroll the tabs on");
}

// Whether the tab shows whole in the strip's part of the window.
bool wholeInSight(EngineTabBar &tabs, int index)
{
    Gtk::Widget &label = *tabs.get_tab_label(*tabs.get_nth_page(index));
    Gtk::Widget &view = *tabs.get_parent()->get_parent();
    int x = 0, y = 0;
    label.translate_coordinates(view, 0, 0, x, y);
    return x >= 0 && x + label.get_allocated_width() <= view.get_allocated_width();
}

void PrintTo(const TabRow &row, std::ostream *out)
{
    *out << row.name;
}

class TabStripInput : public BrowserFixture, public testing::WithParamInterface<TabRow>
{
};

} // namespace

TEST_P(TabStripInput, OpensAPageOnlyWhenTheUserChoosesATab)
{
    const TabRow &row = GetParam();
    seed("Home", "Address", "http://home.test/");
    MainWindow &w = shown();
    EngineTabBar &tabs = w.engineTabs();
    if (row.narrow) {
        // Too narrow for every tab: the strip scrolls, its last tab out of sight.
        w.resize(500, 600);
        Gtk::Button &on = arrow(w, OnArrow);
        ASSERT_TRUE(spinUntil([&] {
            return !wholeInSight(tabs, tabs.get_n_pages() - 1) && on.get_mapped() && on.get_allocated_width() > 1;
        }));
    }
    int chosen = 0;
    tabs.chosen.connect([&chosen](int) { ++chosen; });
    w.searchBox().set_text(row.searchText);
    if (row.tab < 0) {
        // Three clicks, as a user looking for the last tab makes.
        for (int click = 0; click < 3; ++click)
            widgetinput::click(arrow(w, row.tab), guint(row.button));
    } else if (row.button > 0) {
        widgetinput::click(*tabs.get_tab_label(*tabs.get_nth_page(row.tab)), row.button);
    } else if (row.button == 0) {
        widgetinput::focus(tabs);
        widgetinput::key(tabs, GDK_KEY_Right);
    } else {
        tabs.select(row.tab);
    }
    // Everything the display server sent for the input is handled once a
    // round trip to it has returned.
    gdk_display_sync(gdk_display_get_default());
    testutil::spin();
    EXPECT_EQ(view.navigations, row.navigations);
    EXPECT_EQ(chosen, int(row.navigations.size()));
    // An arrow scrolls (with the first button) and leaves the selected tab as it was.
    if (row.tab < 0) {
        EXPECT_EQ(tabs.get_current_page(), 0);
        EXPECT_EQ(wholeInSight(tabs, 0), row.button != 1);
    }
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
        TabRow{"MiddleClickOnAnotherTab", "", 2, 2, {}},
        TabRow{"NarrowClickOnAnotherTab", "", 1, 1, {"https://www.dmoz.org"}, true},
        TabRow{"ClicksOnTheOnArrow", "cats", 1, OnArrow, {}, true},
        TabRow{"RightClicksOnTheOnArrow", "cats", 3, OnArrow, {}, true}),
    [](const testing::TestParamInfo<TabRow> &info) { return std::string(info.param.name); });

// Each engine tab says which engine it is, and searches that engine for the
// search box's words, or opens its front page when there are none.
TEST_F(Search, EveryTabSearchesTheEngineItNames)
{
    const struct { const char *caption, *searches, *front; } tabs[] = {
        {"  DMOZ - Open Directory Project  ", "https://search.dmoz.org/", "https://www.dmoz.org"},
        {"  Yahoo  ", "https://search.yahoo.com/", "https://www.yahoo.com"},
        {"  Google  ", "https://www.google.com/", "https://www.google.com"},
        {"  MSN  ", "https://search.msn.com/", "https://www.msn.com"},
        {"  Lycos  ", "https://search.lycos.com/", "https://www.lycos.com"},
        {"  HotBot  ", "https://hotbot.lycos.com/", "https://www.hotbot.com"},
        {"  WebCrawler  ", "https://search.webcrawler.com/", "https://www.webcrawler.com"},
        {"  Alta Vista  ", "https://www.altavista.com/", "https://www.altavista.com"},
        {"  All The Web  ", "https://www.alltheweb.com/", "https://www.alltheweb.com/"},
    };
    MainWindow &w = shown();
    EngineTabBar &strip = w.engineTabs();
    ASSERT_EQ(strip.get_n_pages(), 10);
    for (int tab = 1; tab <= 9; ++tab) {
        const auto &expected = tabs[tab - 1];
        SCOPED_TRACE(expected.caption);
        const auto *label = dynamic_cast<const Gtk::Label *>(strip.get_tab_label(*strip.get_nth_page(tab)));
        ASSERT_TRUE(label);
        EXPECT_EQ(label->get_text(), expected.caption);
        for (const std::string words : {"cats", ""}) {
            view.navigations.clear();
            w.searchBox().set_text(words);
            strip.select(tab);
            ASSERT_TRUE(spinUntil([this] { return !view.navigations.empty(); }));
            testutil::spin();
            ASSERT_EQ(view.navigations.size(), 1u);
            const std::string &opened = view.navigations.front();
            if (words.empty()) {
                EXPECT_EQ(opened, expected.front);
            } else {
                EXPECT_EQ(opened.rfind(expected.searches, 0), 0u) << opened;
                EXPECT_NE(opened.find("cats"), std::string::npos) << opened;
            }
        }
    }
}

TEST_F(Search, TabStripIsAnAccessiblePageTabList)
{
    MainWindow &w = loaded();
    auto strip = w.engineTabs().get_accessible();
    EXPECT_EQ(strip->get_role(), Atk::ROLE_PAGE_TAB_LIST);
    EXPECT_EQ(strip->get_name(), "Search engines");
    ASSERT_EQ(strip->get_n_accessible_children(), 10);
    EXPECT_EQ(strip->get_accessible_child(0)->get_name(), "Home Page");
}
