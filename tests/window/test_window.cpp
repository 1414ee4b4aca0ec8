#include "browserfixture.h"

#include "pagerules/makersite.h"
#include "search/enginecatalogue.h"
#include "search/enginemenuitems.h"
#include "util/windowplacement.h"
#include "window/commandtable.h"

#include <atk/atk.h>

using Strings = std::vector<std::string>;

namespace {

bool hasState(Gtk::Widget &widget, AtkStateType state)
{
    AtkStateSet *set = atk_object_ref_state_set(widget.get_accessible()->gobj());
    const bool has = atk_state_set_contains_state(set, state);
    g_object_unref(set);
    return has;
}

AtkRole role(Gtk::Widget &widget) { return atk_object_get_role(widget.get_accessible()->gobj()); }

} // namespace

using Window = BrowserFixture;

TEST_F(Window, FirstRunLoadsTheDesignState)
{
    MainWindow &w = loaded();
    EXPECT_EQ(markedEngineItems(), Strings{"mnugoogle"});
    for (int n : {1, 10}) {
        const std::string invitation = "Click here to add current website to favorite #" + std::to_string(n);
        EXPECT_EQ(w.favoriteButton(n)->get_tooltip_text(), invitation);
        EXPECT_STREQ(atk_object_get_description(w.favoriteButton(n)->get_child()->get_accessible()->gobj()),
                     invitation.c_str());
    }
    EXPECT_EQ(w.searchButton().get_tooltip_text(), "");
    ASSERT_EQ(w.engineTabs().count(), 10);
    EXPECT_EQ(w.engineTabs().caption(0), "Home Page");
    EXPECT_EQ(w.engineTabs().tag(0), makersite::ReferralAddress);
    EXPECT_EQ(w.engineTabs().tag(1), "");
    EXPECT_EQ(visitedList(), Strings{""});
    EXPECT_EQ(w.addressCombo().get_entry_text(), "");
    EXPECT_EQ(w.searchBox().get_text(), "Enter your search keyword here");
    // The second toolbar shows the page's load progress.
    EXPECT_TRUE(findwidget::named<Gtk::ProgressBar>(w, "Page load progress"));
    // The load navigates nowhere, writes nothing and says nothing.
    EXPECT_TRUE(view.navigations.empty());
    EXPECT_FALSE(g_file_test(settings.filePath("Skimlark").c_str(), G_FILE_TEST_EXISTS));
    testutil::spin();
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Window, StoredAddressesReachTheirControls)
{
    seed("Home", "Address", "http://home.test/");
    seed("Home", "Address3", " spaced ");
    seed("MRURL", "0", "http://last.test/");
    MainWindow &w = loaded();
    EXPECT_EQ(w.searchButton().get_tooltip_text(), "http://home.test/");
    EXPECT_EQ(w.engineTabs().tag(0), "http://home.test/");
    EXPECT_EQ(w.favoriteButton(3)->get_tooltip_text(), " spaced ");
    EXPECT_EQ(visitedList(), Strings{"http://last.test/"});
    EXPECT_EQ(w.addressCombo().get_entry_text(), "");
}

struct EngineRow { const char *name; const char *stored; Strings marked; };
class EngineMarks : public Window, public testing::WithParamInterface<EngineRow> {};

TEST_P(EngineMarks, MarkTheItemsOfTheStoredId)
{
    seed("Home", "Engine", GetParam().stored);
    loaded();
    EXPECT_EQ(markedEngineItems(), GetParam().marked);
    for (const std::string &name : GetParam().marked) {
        EXPECT_TRUE(hasState(*engineItem(name), ATK_STATE_CHECKED)) << name;
        const auto row = std::find_if(EngineMenuItems.begin(), EngineMenuItems.end(),
                                      [&name](const EngineMenuItem &item) { return name == item.name; });
        EXPECT_EQ(hasState(*engineItem(name), ATK_STATE_VISIBLE), row->visible) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, EngineMarks, testing::Values(
    EngineRow{"SeekwaysMarksBothHiddenItems", "seekways", {"mnuaskjeeves", "mnuseekways"}},
    EngineRow{"EmptyMarksThePortal", "", {"mnusearchcom"}},
    EngineRow{"HotBot", "hotbot", {"mnudogpile"}},
    EngineRow{"CasedIdMarksNothing", "Google", {}}),
    [](const testing::TestParamInfo<EngineRow> &info) { return info.param.name; });

// A menu item nobody answers, or an engine the catalogue cannot search, would
// do nothing when chosen.
TEST_F(Window, EveryMenuItemAndKeyRunsACommandAndEveryEngineItemSearches)
{
    MainWindow &w = loaded();
    for (const MenuRow &row : MenuRows) {
        if (row.kind == MenuKind::Item) {
            EXPECT_TRUE(w.isBound(row.command) && menuItem(row.name)) << row.name;
        }
        if (row.kind == MenuKind::Slots) {
            EXPECT_TRUE(w.isBound(row.command) && menuItem(row.name + std::string("10"))) << row.name;
        }
    }
    for (const KeyRow &row : KeyRows)
        EXPECT_TRUE(w.isBound(row.command)) << gdk_keyval_name(row.keys[0].keyval);
    for (const EngineMenuItem &item : EngineMenuItems) {
        EXPECT_TRUE(engineItem(item.name)) << item.name;
        EXPECT_FALSE(enginecatalogue::queryAddresses(item.engineId, "x").empty()) << item.engineId;
    }
    EXPECT_FALSE(enginecatalogue::queryAddresses(enginecatalogue::DefaultEngine, "x").empty());
}

// The page's questions are drawn in a layer over the whole window, so they
// can reach above the page over the window's own controls.
TEST_F(Window, PageQuestionsAreDrawnOverTheControlsAndThePage)
{
    MainWindow &w = loaded();
    ASSERT_TRUE(view.questionLayer);
    EXPECT_TRUE(toolbarButton("back")->is_ancestor(*view.questionLayer));
    EXPECT_TRUE(w.engineTabs().is_ancestor(*view.questionLayer));
    EXPECT_TRUE(view.widget().is_ancestor(*view.questionLayer));
}

TEST_F(Window, AccessibleNamesAndRoles)
{
    MainWindow &w = loaded();
    struct Row { Gtk::Widget *widget; AtkRole role; const char *name; };
    const Row rows[] = {
        {&w, ATK_ROLE_FRAME, "Skimlark"},
        {&w.searchBox(), ATK_ROLE_TEXT, "Search the Internet:"},
        {&w.addressCombo(), ATK_ROLE_COMBO_BOX, "Location:"},
        {w.addressCombo().get_entry(), ATK_ROLE_TEXT, "Location:"},
        {&w.searchButton(), ATK_ROLE_PUSH_BUTTON, "Search"},
        {&w.surfButton(), ATK_ROLE_PUSH_BUTTON, "Surf"},
        {&w.engineTabs(), ATK_ROLE_PAGE_TAB_LIST, "Search engines"},
        {toolbarButton("back")->get_child(), ATK_ROLE_PUSH_BUTTON, "Back"},
        {w.favoriteButton(2)->get_child(), ATK_ROLE_PUSH_BUTTON, "My 2nd favorite site"},
        {menuItem("mnuexit"), ATK_ROLE_MENU_ITEM, "Exit"},
        {menuItem("mnuintegratedsearchengine"), ATK_ROLE_MENU, "Integrated Search Engine"},
        {menuItem("mnuf10"), ATK_ROLE_MENU_ITEM, "10"},
        {engineItem("mnugoogle"), ATK_ROLE_CHECK_MENU_ITEM, "Google"},
        {engineItem("mnunewscomsearch"), ATK_ROLE_CHECK_MENU_ITEM, "CNET News.com Search"},
        {findwidget::named(w, "Status"), ATK_ROLE_STATUSBAR, "Status"},
    };
    for (const Row &row : rows) {
        ASSERT_TRUE(row.widget) << row.name;
        EXPECT_EQ(role(*row.widget), row.role) << row.name;
        EXPECT_STREQ(atk_object_get_name(row.widget->get_accessible()->gobj()), row.name);
    }
    // The status bar holds the three panels, in order.
    AtkObject *bar = findwidget::named(w, "Status")->get_accessible()->gobj();
    ASSERT_EQ(atk_object_get_n_accessible_children(bar), 3);
    for (int i = 0; i < 3; ++i) {
        AtkObject *child = atk_object_ref_accessible_child(bar, i);
        EXPECT_EQ(child, w.panels()[i].get_accessible()->gobj());
        g_object_unref(child);
    }
    EXPECT_EQ(menuItem("mnuexit")->get_label(), "E_xit");
    // A tooltip set later, by either route, is the button's description.
    w.favoriteButton(4)->set_tooltip_text("http://four.test/");
    EXPECT_EQ(w.favoriteButton(4)->get_tooltip_text(), "http://four.test/");
    EXPECT_STREQ(atk_object_get_description(w.favoriteButton(4)->get_child()->get_accessible()->gobj()),
                 "http://four.test/");
}

// The window starts in the search box with its text selected, ready to be
// typed over, and shows the text's beginning.
TEST_F(Window, TheSearchBoxStartsShowingTheBeginningOfItsText)
{
    MainWindow &w = shown();
    Gtk::Entry &box = w.searchBox();
    ASSERT_EQ(w.get_focus(), &box);
    int start = 0, end = 0;
    EXPECT_TRUE(box.get_selection_bounds(start, end));
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, box.get_text_length());
    EXPECT_EQ(box.get_position(), 0);
    EXPECT_EQ(box.property_scroll_offset().get_value(), 0);
}

// A long text in a panel is cut: the panels, and the window, keep their widths.
TEST_F(Window, LongStatusTextsAreCutAndMoveNothing)
{
    MainWindow &w = shown();
    auto widths = [&w] {
        std::vector<int> widths{w.get_allocated_width()};
        for (int i = 0; i < 3; ++i)
            widths.push_back(w.panels()[i].get_allocated_width());
        return widths;
    };
    const std::vector<int> before = widths();
    for (int i = 0; i < 3; ++i)
        w.panels()[i].set_text(std::string(400, 'x'));
    // Laid out again: two whole frames on.
    GdkFrameClock *clock = gtk_widget_get_frame_clock(GTK_WIDGET(w.gobj()));
    const gint64 frame = gdk_frame_clock_get_frame_counter(clock);
    ASSERT_TRUE(testutil::spinUntil([&] {
        w.queue_draw();
        return gdk_frame_clock_get_frame_counter(clock) > frame + 1;
    }));
    EXPECT_EQ(widths(), before);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(w.panels()[i].get_layout()->is_ellipsized()) << i;
    // The page area takes what is left.
    EXPECT_GT(w.pageArea().get_allocated_height(), 200);
}

// The panels keep their widths while the window has room; a narrower window
// takes from the long panel first. The page area follows the window.
TEST_F(Window, StatusPanelsKeepTheirWidthsWhileTheyFit)
{
    MainWindow &w = shown();
    int least = 0, wanted = 0;
    w.get_preferred_width(least, wanted);
    EXPECT_LE(least, 400);
    w.panels()[1].set_text(std::string(400, 'x'));
    const struct { int width; int panels[3]; } rows[] = {
        {1144, {96, 629, 96}},
        {500, {96, -1, 96}}, // -1: narrower than its design width
    };
    for (const auto &row : rows) {
        w.resize(row.width, 560);
        ASSERT_TRUE(testutil::spinUntil([&] { return w.get_allocated_width() == row.width; })) << row.width;
        testutil::spin();
        for (int i = 0; i < 3; ++i) {
            if (row.panels[i] < 0)
                EXPECT_LT(w.panels()[i].get_allocated_width(), 629) << row.width;
            else
                EXPECT_EQ(w.panels()[i].get_allocated_width(), row.panels[i]) << row.width << " " << i;
        }
        int x = 0, y = 0;
        w.panels()[2].translate_coordinates(w, w.panels()[2].get_allocated_width(), 0, x, y);
        EXPECT_LE(x, row.width);
        EXPECT_EQ(w.pageArea().get_allocated_width(), row.width);
        EXPECT_GT(w.pageArea().get_allocated_height(), 200);
    }
}

// Right to left, the search row and the status bar read from the right, as
// the rest of the window does; the list's arrow has a name, and the toolbar
// is reached with Tab (it comes before the search box).
TEST_F(Window, RightToLeftMirrorsTheRowAndTheToolbarIsInTabsReach)
{
    Gtk::Widget::set_default_direction(Gtk::TEXT_DIR_RTL);
    MainWindow &w = shown();
    Gtk::Widget::set_default_direction(Gtk::TEXT_DIR_LTR);
    auto left = [&w](Gtk::Widget &widget) {
        int x = 0, y = 0;
        widget.translate_coordinates(w, 0, 0, x, y);
        return x;
    };
    EXPECT_GT(left(w.searchBox()), left(w.searchButton()));
    EXPECT_GT(left(w.addressCombo()), left(w.surfButton()));
    EXPECT_GT(left(w.searchButton()), left(w.addressCombo()));
    EXPECT_GT(left(w.panels()[0]), left(w.panels()[2]));
    EXPECT_GT(left(w.searchBox()), w.get_allocated_width() / 2);

    std::string arrowName;
    for (Gtk::ToggleButton *arrow : findwidget::every<Gtk::ToggleButton>(w.addressCombo()))
        arrowName = findwidget::nameOf(*arrow);
    EXPECT_EQ(arrowName, "Visited addresses");

    ASSERT_EQ(w.get_focus(), &w.searchBox());
    bool reached = false;
    for (int step = 0; step < 60 && !reached; ++step) {
        w.child_focus(Gtk::DIR_TAB_FORWARD);
        reached = w.get_focus() && w.get_focus()->is_ancestor(*toolbarButton("back")->get_parent());
    }
    EXPECT_TRUE(reached);
}

TEST(WindowPlacement, CentredAboveTheMiddleOrAtTheTopLeftCorner)
{
    using windowplacement::Point;
    struct Row { windowplacement::Rect area; int width, height; Point expected; };
    const Row rows[] = {
        // 85 twips are 5.67 pixels: (1080 - 571) / 2 - 5.67 = 248.83.
        {{0, 0, 1920, 1080}, 1144, 571, {388, 249}},
        // A panel at the top moves the work area down.
        {{0, 27, 1920, 1053}, 1144, 571, {388, 262}},
        {{1920, 0, 1280, 1024}, 1144, 571, {1988, 221}},
        // Larger than a small screen: the work area's corner, never off screen.
        {{0, 0, 1024, 768}, 1144, 571, {0, 0}},
        {{0, 24, 1280, 500}, 1144, 571, {0, 24}},
    };
    for (const Row &row : rows)
        EXPECT_EQ(windowplacement::centred(row.area, row.width, row.height, 85), row.expected)
            << row.area.width << "x" << row.area.height;
}

TEST_F(Window, FirstActivationOpensTheHomePageTabOnce)
{
    MainWindow &w = build();
    // Before the load there is no Home Page tab to open.
    w.ensureFirstActivation();
    EXPECT_TRUE(view.navigations.empty());
    w.load();
    gtk_widget_realize(GTK_WIDGET(w.gobj()));
    // Activated, switched away from and back: only the first activation opens a page.
    for (bool in : {true, false, true}) {
        GdkEvent *focus = gdk_event_new(GDK_FOCUS_CHANGE);
        focus->focus_change.window = GDK_WINDOW(g_object_ref(w.get_window()->gobj()));
        focus->focus_change.in = in;
        gtk_widget_send_focus_change(GTK_WIDGET(w.gobj()), focus);
        gdk_event_free(focus);
    }
    w.ensureFirstActivation();
    testutil::spin();
    EXPECT_EQ(view.navigations, Strings{makersite::ReferralAddress});
    // The stored engine choices were handed over first.
    EXPECT_EQ(view.calls.front(), "javaScript:1");
}

class Closing : public Window, public testing::WithParamInterface<bool> {};

TEST_P(Closing, ClosesTheOtherWindowsAndWritesNothing)
{
    seed("Home", "Address", "http://home.test/");
    const std::string before = testutil::fileContents(settings.filePath("Skimlark"));
    MainWindow &w = shown();
    Gtk::Window about;
    about.show();
    int closing = 0;
    w.signal_closing().connect([&closing] { ++closing; });
    if (GetParam())
        choose("mnuexit");
    else
        w.close();
    testutil::spin();
    EXPECT_EQ(closing, 1);
    EXPECT_FALSE(w.get_visible());
    EXPECT_FALSE(about.get_visible());
    EXPECT_FALSE(findwidget::named(w, "Page load progress"));
    EXPECT_EQ(testutil::fileContents(settings.filePath("Skimlark")), before);
}

INSTANTIATE_TEST_SUITE_P(Routes, Closing, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool> &info) { return info.param ? "Exit" : "CloseBox"; });

