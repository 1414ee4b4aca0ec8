#include "fakedialogs.h"
#include "fakepageview.h"
#include "favorites/favoritecommands.h"
#include "favorites/homepage.h"
#include "settings/settingsstore.h"
#include "window/enginetabbar.h"

#include <glib/gstdio.h>
#include <gtest/gtest.h>
#include <gtkmm.h>

namespace {

std::string tempRoot()
{
    gchar *dir = g_dir_make_tmp("favorites-XXXXXX", nullptr);
    std::string path = dir;
    g_free(dir);
    return path;
}

std::string slotKey(int n) { return "Address" + std::to_string(n); }
std::string invitation(int n) { return "Click here to add current website to favorite #" + std::to_string(n); }
std::string sentence(const std::string &address, int n)
{
    const std::string number = std::to_string(n);
    return "You added " + address + " to favorite button " + number
           + ".  To access the website in the future, simply click on button " + number + ".";
}

// A message box that stays up while the page moves on.
class PageMovesDuringMessage : public FakeDialogs
{
public:
    explicit PageMovesDuringMessage(FakePageView &view) : m_view(view) {}
    void message(Gtk::Window *parent, const std::string &text, const std::string &title) override
    {
        FakeDialogs::message(parent, text, title);
        m_view.address = "http://moved.test/";
        m_view.title = "Moved";
    }

private:
    FakePageView &m_view;
};

class Favorites : public testing::Test
{
protected:
    Favorites()
    {
        for (int n = 0; n < 10; ++n)
            widgets[n] = &buttons[n];
    }
    std::string stored(const std::string &key) const
    {
        return settings.read("Skimlark", "Home", key, "<missing>");
    }
    std::string tooltip(int n) const { return buttons[n - 1].get_tooltip_text(); }
    void show(const std::string &address, const std::string &title)
    {
        view.address = address;
        view.title = title;
    }

    SettingsStore settings{tempRoot()};
    FakePageView view;
    PageMovesDuringMessage dialogs{view};
    std::array<Gtk::Button, 10> buttons;
    FavoriteCommands::Buttons widgets{};
    FakeDialogs plainDialogs;
};

struct SlotRow { int n; const char *prompt; const char *title; };
void PrintTo(const SlotRow &row, std::ostream *out) { *out << "slot " << row.n; }

class Slot : public Favorites, public testing::WithParamInterface<SlotRow> {};

TEST_P(Slot, EditsCapturesAndOpens)
{
    const SlotRow row = GetParam();
    const int n = row.n;
    FavoriteCommands favorites(settings, plainDialogs, view, widgets);
    const std::string shown = "http://shown.test/page?a=1";
    show(shown, "Shown Page");

    // Cancel on the empty slot changes nothing and offers an empty box.
    favorites.edit(n);
    ASSERT_EQ(plainDialogs.shown.size(), 1u);
    EXPECT_EQ(plainDialogs.shown[0].text, row.prompt);
    EXPECT_EQ(plainDialogs.shown[0].title, row.title);
    EXPECT_EQ(plainDialogs.inputInitialTexts[0], "");
    EXPECT_EQ(stored(slotKey(n)), "<missing>");

    // The empty slot captures the page shown, without navigating.
    favorites.activate(n);
    EXPECT_TRUE(view.navigations.empty());
    EXPECT_EQ(stored(slotKey(n)), shown);
    EXPECT_EQ(tooltip(n), shown);
    ASSERT_EQ(plainDialogs.shown.size(), 2u);
    EXPECT_EQ(plainDialogs.shown[1].kind, "message");
    EXPECT_EQ(plainDialogs.shown[1].text, sentence(shown, n));
    EXPECT_EQ(plainDialogs.shown[1].title, "Shown Page was added to your favorites");

    // Filled now: it opens from elsewhere and says nothing.
    show("http://elsewhere.test/", "Elsewhere");
    favorites.activate(n);
    EXPECT_EQ(view.navigations, std::vector<std::string>{shown});
    EXPECT_EQ(plainDialogs.shown.size(), 2u);
    // Built again, the button shows what the slot holds.
    FavoriteCommands restarted(settings, plainDialogs, view, widgets);
    EXPECT_EQ(tooltip(n), shown);

    // An edit starts from what is stored; typed text replaces it exactly.
    plainDialogs.inputAnswers.push_back(" typed.test/x?y=1 ");
    favorites.edit(n);
    EXPECT_EQ(plainDialogs.inputInitialTexts[1], shown);
    EXPECT_EQ(stored(slotKey(n)), " typed.test/x?y=1 ");
    EXPECT_EQ(tooltip(n), " typed.test/x?y=1 ");
    EXPECT_EQ(view.navigations.size(), 1u);
    for (int other = 1; other <= 10; ++other) {
        if (other != n) {
            EXPECT_EQ(stored(slotKey(other)), "<missing>") << other;
        }
    }
}

// The first slot, the one whose title has always read "3rdd", and the last.
const SlotRow SlotRows[] = {
    {1, "Enter the URL of your favorite website ", "Enter the URL of your favorite website"},
    {3, "Enter the URL of your 3rd favorite website ", "Enter the URL of your 3rdd favorite website"},
    {10, "Enter the URL of your 10th favorite website ", "Enter the URL of your 10th favorite website"},
};
INSTANTIATE_TEST_SUITE_P(Rows, Slot, testing::ValuesIn(SlotRows),
                         [](const testing::TestParamInfo<SlotRow> &info) {
                             return "slot" + std::to_string(info.param.n);
                         });

TEST_F(Favorites, TooltipNamesWhatWasStoredWhenThePageMovesDuringTheMessage)
{
    FavoriteCommands favorites(settings, dialogs, view, widgets);
    show("http://first.test/", "First");
    favorites.activate(2);
    EXPECT_EQ(stored(slotKey(2)), "http://first.test/");
    EXPECT_EQ(tooltip(2), "http://first.test/");
    // The next click opens exactly what the tooltip names.
    favorites.activate(2);
    EXPECT_EQ(view.navigations, std::vector<std::string>{"http://first.test/"});
}

TEST_F(Favorites, EmptyAddressLeavesTheSlotEmptyAndBlanksAreNotEmpty)
{
    settings.write("Skimlark", "Home", slotKey(7), "  ");
    FavoriteCommands favorites(settings, plainDialogs, view, widgets);
    favorites.activate(4);
    EXPECT_EQ(stored(slotKey(4)), "");
    ASSERT_EQ(plainDialogs.shown.size(), 1u);
    EXPECT_EQ(plainDialogs.shown[0].text, sentence("", 4));
    EXPECT_EQ(plainDialogs.shown[0].title, " was added to your favorites");
    EXPECT_EQ(tooltip(4), invitation(4));
    show("http://later.test/", "Later");
    favorites.activate(4);
    EXPECT_EQ(stored(slotKey(4)), "http://later.test/");

    favorites.activate(7);
    EXPECT_EQ(view.navigations, std::vector<std::string>{"about:blank"});
}

// A store that cannot be written: no favorite is claimed as added, no tooltip
// or home tab changes.
TEST_F(Favorites, FailedWriteIsNotReportedAsDone)
{
    ASSERT_EQ(g_mkdir_with_parents(settings.filePath("Skimlark").c_str(), 0700), 0);
    FavoriteCommands favorites(settings, plainDialogs, view, widgets);
    buttons[2].set_tooltip_text(invitation(3));
    show("http://shown.test/", "Shown");
    favorites.activate(3);
    plainDialogs.inputAnswers.push_back("http://typed.test/");
    favorites.edit(3);
    EXPECT_EQ(plainDialogs.kinds(), std::vector<std::string>{"input"});
    EXPECT_EQ(tooltip(3), invitation(3));

    EngineTabBar tabs;
    tabs.addTab("Home Page");
    Gtk::Button search;
    HomePage home(settings, plainDialogs, tabs, search);
    plainDialogs.inputAnswers.push_back("http://new.test/");
    home.set();
    EXPECT_EQ(tabs.tag(0), "http://www.velmora.example/affiliates/?x=homepage&hp=skimlark");
}

struct HomeRow { const char *name; const char *typed; const char *stored; };

TEST_F(Favorites, SetHomePage)
{
    const HomeRow rows[] = {
        {"blanks kept, no scheme added", "  new.test  ", "  new.test  "},
        {"cancel keeps the stored page", "", "http://old.test/"},
    };
    for (const HomeRow &row : rows) {
        SCOPED_TRACE(row.name);
        FakeDialogs boxes;
        settings.write("Skimlark", "Home", "Address", "http://old.test/");
        EngineTabBar tabs;
        tabs.addTab("Home Page");
        Gtk::Button search;
        HomePage home(settings, boxes, tabs, search);
        Gtk::Widget &tab = *tabs.get_tab_label(*tabs.get_nth_page(0));
        // Built: the tab opens the stored home page, with no tooltip yet.
        EXPECT_EQ(tabs.tag(0), "http://old.test/");
        EXPECT_EQ(tab.get_tooltip_text(), "");
        EXPECT_EQ(search.get_tooltip_text(), "http://old.test/");
        boxes.inputAnswers.push_back(row.typed);
        home.set();
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, "Enter the URL of your homepage ");
        EXPECT_EQ(boxes.shown[0].title, "Enter the URL of your homepage");
        EXPECT_EQ(boxes.inputInitialTexts[0], ""); // the current home is not offered
        EXPECT_EQ(stored("Address"), row.stored);
        EXPECT_EQ(tabs.tag(0), row.stored);
        EXPECT_EQ(tab.get_tooltip_text(), *row.typed ? row.typed : "");
        // The Search button keeps what it showed at the start.
        EXPECT_EQ(search.get_tooltip_text(), "http://old.test/");
    }
}

} // namespace
