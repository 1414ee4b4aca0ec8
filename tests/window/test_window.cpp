#include "windowfixture.h"

#include "util/makeraddresses.h"
#include "util/windowplacement.h"
#include "util/colournumber.h"
#include "search/enginemenuitems.h"

#include <atk/atk.h>
#include <optional>

namespace {

std::vector<std::string> checkedEngineItems(frmBrowser &w)
{
    std::vector<std::string> names;
    for (const EngineMenuItem &item : EngineMenuItems) {
        if (w.checkItem(item.name)->get_active())
            names.push_back(item.name);
    }
    return names;
}

bool hasState(Gtk::Widget &widget, AtkStateType state)
{
    AtkStateSet *set = atk_object_ref_state_set(widget.get_accessible()->gobj());
    const bool has = atk_state_set_contains_state(set, state);
    g_object_unref(set);
    return has;
}

AtkRole role(Gtk::Widget &widget) { return atk_object_get_role(widget.get_accessible()->gobj()); }

Gtk::Widget &field(frmBrowser &w, bool address)
{
    return address ? static_cast<Gtk::Widget &>(*w.Combo1.get_entry()) : w.Text1;
}

Gdk::RGBA colourOf(Gtk::Widget &widget, bool background)
{
    auto style = widget.get_style_context();
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    return background ? style->get_background_color(style->get_state()) : style->get_color(style->get_state());
    G_GNUC_END_IGNORE_DEPRECATIONS
}

} // namespace

TEST_F(WindowFixture, FirstRunLoadsTheDesignState)
{
    frmBrowser &w = loaded();
    EXPECT_EQ(checkedEngineItems(w), std::vector<std::string>{"mnugoogle"});
    for (int n : {1, 10}) {
        const std::string invitation = "Click here to add current website to favorite #" + std::to_string(n);
        EXPECT_EQ(w.favoriteButton(n)->get_tooltip_text(), invitation);
        EXPECT_STREQ(atk_object_get_description(w.favoriteButton(n)->get_child()->get_accessible()->gobj()),
                     invitation.c_str());
    }
    EXPECT_EQ(w.Command1.get_tooltip_text(), "");
    ASSERT_EQ(w.TabStrip1.count(), 10);
    EXPECT_EQ(w.TabStrip1.caption(0), "Home Page");
    EXPECT_EQ(w.TabStrip1.tag(0), maker::ReferralAddress);
    EXPECT_EQ(w.TabStrip1.caption(1), "  DMOZ - Open Directory Project  ");
    EXPECT_EQ(w.TabStrip1.caption(9), "  All The Web  ");
    EXPECT_EQ(w.TabStrip1.tag(1), "");
    EXPECT_EQ(w.Combo1.get_model()->children().size(), 1u);
    EXPECT_EQ(w.Combo1.get_entry_text(), "");
    EXPECT_EQ(w.Text1.get_text(), "Enter your search keyword here");
    EXPECT_TRUE(w.firstActivationPending());
    // The load navigates nowhere, writes nothing and says nothing.
    EXPECT_TRUE(view.navigations.empty());
    EXPECT_FALSE(g_file_test(settings.filePath("Skimlark").c_str(), G_FILE_TEST_EXISTS));
    testutil::spin();
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(WindowFixture, StoredAddressesReachTheirControls)
{
    seed("Home", "Address", "http://home.test/");
    seed("Home", "Address3", " spaced ");
    seed("MRURL", "0", "http://last.test/");
    frmBrowser &w = loaded();
    EXPECT_EQ(w.Command1.get_tooltip_text(), "http://home.test/");
    EXPECT_EQ(w.TabStrip1.tag(0), "http://home.test/");
    EXPECT_EQ(w.favoriteButton(3)->get_tooltip_text(), " spaced ");
    EXPECT_EQ(w.Combo1.get_model()->children().size(), 1u);
    Glib::ustring entry;
    w.Combo1.get_model()->children().begin()->get_value(0, entry);
    EXPECT_EQ(entry, "http://last.test/");
    EXPECT_EQ(w.Combo1.get_entry_text(), "");
}

struct EngineRow { const char *name; const char *stored; std::vector<std::string> marked; };
class EngineMarks : public WindowFixture, public testing::WithParamInterface<EngineRow> {};

TEST_P(EngineMarks, MarkTheItemsOfTheStoredId)
{
    seed("Home", "Engine", GetParam().stored);
    frmBrowser &w = loaded();
    EXPECT_EQ(checkedEngineItems(w), GetParam().marked);
    for (const std::string &name : GetParam().marked) {
        EXPECT_TRUE(hasState(*w.checkItem(name), ATK_STATE_CHECKED)) << name;
        const auto row = std::find_if(EngineMenuItems.begin(), EngineMenuItems.end(),
                                      [&name](const EngineMenuItem &item) { return name == item.name; });
        EXPECT_EQ(hasState(*w.checkItem(name), ATK_STATE_VISIBLE), row->visible) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, EngineMarks, testing::Values(
    EngineRow{"SeekwaysMarksBothHiddenItems", "seekways", {"mnuaskjeeves", "mnuseekways"}},
    EngineRow{"EmptyMarksThePortal", "", {"mnusearchcom"}},
    EngineRow{"HotBot", "hotbot", {"mnudogpile"}},
    EngineRow{"CasedIdMarksNothing", "Google", {}}),
    [](const testing::TestParamInfo<EngineRow> &info) { return info.param.name; });

struct ColourRow { const char *name; const char *key; const char *value; std::optional<std::uint32_t> applied; };
class StartupColours : public WindowFixture, public testing::WithParamInterface<ColourRow> {};

TEST_P(StartupColours, StoredColourIsAppliedWhenItsKeyExists)
{
    const ColourRow &row = GetParam();
    const std::string key = row.key;
    if (row.value)
        seed("Home", key, row.value);
    frmBrowser &w = loaded();
    const bool address = key.rfind("Address", 0) == 0;
    const bool background = key.find("background") != std::string::npos;
    // The fields' own colours: black text on white.
    const std::uint32_t own = background ? 0xFFFFFF : 0;
    EXPECT_EQ(colournumber::fromRgba(colourOf(field(w, address), background)), row.applied.value_or(own));
    // Nothing stops the rest of the load.
    EXPECT_EQ(w.TabStrip1.count(), 10);
}

INSTANTIATE_TEST_SUITE_P(Rows, StartupColours, testing::Values(
    ColourRow{"MissingKeyLeavesOwnText", "Addressbarfontcolor", nullptr, std::nullopt},
    ColourRow{"MissingKeyLeavesOwnBackground", "Searchboxbackgroundcolor", nullptr, std::nullopt},
    ColourRow{"WhiteTextApplied", "Addressbarfontcolor", "16777215", 0xFFFFFFu},
    ColourRow{"BlackBackgroundApplied", "Addressbarbackgroundcolor", "0", 0u},
    ColourRow{"BlueSearchText", "Searchboxfontcolor", "16711680", 0xFF0000u},
    ColourRow{"WordSkipped", "Searchboxbackgroundcolor", "purple", std::nullopt},
    ColourRow{"OutOfRangeSkipped", "Searchboxbackgroundcolor", "16777216", std::nullopt}),
    [](const testing::TestParamInfo<ColourRow> &info) { return info.param.name; });

TEST_F(WindowFixture, AccessibleNamesAndRoles)
{
    frmBrowser &w = loaded();
    struct Row { Gtk::Widget *widget; AtkRole role; const char *name; };
    const Row rows[] = {
        {&w, ATK_ROLE_FRAME, "Skimlark"},
        {&w.Text1, ATK_ROLE_TEXT, "Search the Internet:"},
        {&w.Combo1, ATK_ROLE_COMBO_BOX, "Location:"},
        {w.Combo1.get_entry(), ATK_ROLE_TEXT, "Location:"},
        {&w.Command1, ATK_ROLE_PUSH_BUTTON, "Search"},
        {&w.Command2, ATK_ROLE_PUSH_BUTTON, "Surf"},
        {&w.TabStrip1, ATK_ROLE_PAGE_TAB_LIST, "Search engines"},
        {w.toolbarButton("back")->get_child(), ATK_ROLE_PUSH_BUTTON, "Back"},
        {w.favoriteButton(2)->get_child(), ATK_ROLE_PUSH_BUTTON, "My 2nd favorite site"},
        {w.menuItem("mnuexit"), ATK_ROLE_MENU_ITEM, "Exit"},
        {w.menuItem("mnuintegratedsearchengine"), ATK_ROLE_MENU, "Integrated Search Engine"},
        {w.menuItem("mnuf10"), ATK_ROLE_MENU_ITEM, "10"},
        {w.menuItem("mnugoogle"), ATK_ROLE_CHECK_MENU_ITEM, "Google"},
        {w.menuItem("mnunewscomsearch"), ATK_ROLE_CHECK_MENU_ITEM, "CNET News.com Search"},
        {&w.StatusBar1, ATK_ROLE_STATUSBAR, "Status"},
    };
    for (const Row &row : rows) {
        ASSERT_TRUE(row.widget) << row.name;
        EXPECT_EQ(role(*row.widget), row.role) << row.name;
        EXPECT_STREQ(atk_object_get_name(row.widget->get_accessible()->gobj()), row.name);
    }
    // The status bar holds the three panels, in order.
    AtkObject *bar = w.StatusBar1.get_accessible()->gobj();
    ASSERT_EQ(atk_object_get_n_accessible_children(bar), 3);
    for (int i = 0; i < 3; ++i) {
        AtkObject *child = atk_object_ref_accessible_child(bar, i);
        EXPECT_EQ(child, w.panels[i].get_accessible()->gobj());
        g_object_unref(child);
    }
    EXPECT_EQ(w.menuItem("mnuexit")->get_label(), "E_xit");
    // A tooltip set later, by either route, is the button's description.
    w.favoriteButton(4)->set_tooltip_text("http://four.test/");
    EXPECT_EQ(w.favoriteButton(4)->get_tooltip_text(), "http://four.test/");
    EXPECT_STREQ(atk_object_get_description(w.favoriteButton(4)->get_child()->get_accessible()->gobj()),
                 "http://four.test/");
}

TEST_F(WindowFixture, StatusPanelsKeepTheirWidths)
{
    frmBrowser &w = shown();
    w.panels[1].set_text(std::string(400, 'x'));
    testutil::spin();
    const int widths[] = {96, 629, 96};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(w.panels[i].get_allocated_width(), widths[i]) << i;
    // The page area takes what is left.
    EXPECT_GT(w.Picture1.get_allocated_height(), 200);
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

TEST_F(WindowFixture, FirstActivationSelectsTheHomePageTabOnce)
{
    frmBrowser &w = build();
    std::vector<int> chosen;
    w.TabStrip1.chosen.connect([&chosen](int index) { chosen.push_back(index); });
    // Before the load there is no Home Page tab to open.
    w.ensureFirstActivation();
    EXPECT_TRUE(chosen.empty());
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
    EXPECT_EQ(chosen, std::vector<int>{0});
}

class Closing : public WindowFixture, public testing::WithParamInterface<bool> {};

TEST_P(Closing, ClosesTheOtherWindowsAndWritesNothing)
{
    seed("Home", "Address", "http://home.test/");
    gchar *before = nullptr;
    ASSERT_TRUE(g_file_get_contents(settings.filePath("Skimlark").c_str(), &before, nullptr, nullptr));
    frmBrowser &w = shown();
    Gtk::Window about;
    about.show();
    int closing = 0;
    w.closing.connect([&closing] { ++closing; });
    if (GetParam())
        w.menuItem("mnuexit")->activate();
    else
        w.close();
    testutil::spin();
    EXPECT_EQ(closing, 1);
    EXPECT_FALSE(w.get_visible());
    EXPECT_FALSE(about.get_visible());
    EXPECT_FALSE(w.toolbarComponent().attached());
    gchar *after = nullptr;
    ASSERT_TRUE(g_file_get_contents(settings.filePath("Skimlark").c_str(), &after, nullptr, nullptr));
    EXPECT_STREQ(after, before);
    g_free(before);
    g_free(after);
}

INSTANTIATE_TEST_SUITE_P(Routes, Closing, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool> &info) { return info.param ? "Exit" : "CloseBox"; });

TEST_F(WindowFixture, UnwritableSettingsAreReportedOnce)
{
    // A file where the settings folder should be.
    ASSERT_TRUE(g_file_set_contents((root + "/Velmora").c_str(), "x", 1, nullptr));
    loaded();
    testutil::spinUntil([this] { return !dialogs.shown.empty(); });
    settings.write("Skimlark", "Home", "Engine", "yahoo");
    testutil::spin();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Skimlark");
    const std::string &text = dialogs.shown[0].text;
    EXPECT_NE(text.find(settings.filePath("Skimlark")), std::string::npos) << text;
    EXPECT_NE(text.find("not kept"), std::string::npos) << text;
}

TEST_F(WindowFixture, DamagedSettingsAreReportedOnceNamingBothFiles)
{
    loaded();
    settings.damaged.emit("/home/u/.config/Velmora/Skimlark.conf", "/home/u/.config/Velmora/Skimlark.conf.damaged");
    settings.damaged.emit("/home/u/.config/Velmora/Skimlark.conf", "/home/u/.config/Velmora/Skimlark.conf.damaged");
    testutil::spinUntil([this] { return !dialogs.shown.empty(); });
    testutil::spin();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    const std::string &text = dialogs.shown[0].text;
    EXPECT_NE(text.find("Skimlark.conf "), std::string::npos) << text;
    EXPECT_NE(text.find("Skimlark.conf.damaged"), std::string::npos) << text;
    EXPECT_NE(text.find("kept"), std::string::npos) << text;
}
