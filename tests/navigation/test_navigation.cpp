#include "browser/makeraddresses.h"
#include "fakedialogs.h"
#include "fakepageview.h"
#include "navigation/addressbar.h"
#include "navigation/navigationtoolbar.h"
#include "navigation/pagestatus.h"
#include "search/widgetinput.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"

#include <gtest/gtest.h>
#include <gtkmm.h>

using testutil::spin;
using testutil::spinUntil;

namespace {

using Strings = std::vector<std::string>;

// The address bar, the toolbar's navigation buttons and the status bar wired
// as the main window wires them, in a plain window.
struct NavigationWindow
{
    explicit NavigationWindow(const std::string &lastSurfed = "")
    {
        Combo1.append(lastSurfed);
        for (Gtk::ToolButton *b : {&back, &forward, &stop, &refresh, &home})
            toolbar.append(*b);
        for (Gtk::Widget *w : std::initializer_list<Gtk::Widget *>{&toolbar, &Combo1, &Command2, &other})
            box.pack_start(*w, Gtk::PACK_SHRINK);
        for (Gtk::Label &panel : panels)
            box.pack_start(panel, Gtk::PACK_SHRINK);
        window.add(box);
        window.set_title("Skimlark");
    }

    Gtk::Entry &entry() { return *Combo1.get_entry(); }

    Strings entries()
    {
        Strings list;
        for (const auto &row : Combo1.get_model()->children()) {
            Glib::ustring text;
            row.get_value(0, text);
            list.push_back(text);
        }
        return list;
    }

    std::string stored(const std::string &section, const std::string &key)
    {
        return settings.read(keys::App, section, key, "<missing>");
    }

    static void click(Gtk::ToolButton &button)
    {
        gtk_button_clicked(GTK_BUTTON(gtk_bin_get_child(GTK_BIN(button.gobj()))));
    }

    Gtk::Window window;
    Gtk::Box box{Gtk::ORIENTATION_VERTICAL};
    Gtk::Toolbar toolbar;
    Gtk::ToolButton back{"Back"}, forward{"Forward"}, stop{"Stop"}, refresh{"Refresh"}, home{"Home"};
    Gtk::ComboBoxText Combo1{true};
    Gtk::Button Command2{"Surf"};
    Gtk::Entry other;
    std::array<Gtk::Label, 3> panels;
    FakePageView view;
    FakeDialogs dialogs;
    SettingsStore settings;
    AddressBar addressBar{Combo1, Command2, settings, view, dialogs};
    NavigationToolbar toolbarCommands{back, forward, stop, refresh, home, settings, view, dialogs};
    PageStatus status{view, panels, window, addressBar};
};

} // namespace

TEST(AddressBar, SurfSendsTheTextAsTypedOrGreetsTheHiddenPhrase)
{
    const std::string typed = " Example.COM/a b?kettle is brave ";
    const struct { bool byEnter; std::string text; bool greeted; } cases[] = {
        {true, typed, false},
        {false, typed, false},
        {true, "Copper kettle is brave", true},
        {false, "Copper kettle is brave", true},
        {true, "copper kettle is brave ", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text + (c.byEnter ? " by Enter" : " by button"));
        NavigationWindow w;
        const std::string storedBefore = w.stored(keys::MRURL, "0");
        widgetinput::show(w.window);
        w.entry().set_text(c.text);
        if (c.byEnter) {
            widgetinput::focus(w.entry());
            widgetinput::key(w.entry(), GDK_KEY_Return);
            ASSERT_TRUE(spinUntil([&] { return !w.view.navigations.empty() || !w.dialogs.shown.empty(); }));
            spin();
        } else {
            w.Command2.clicked();
        }
        if (c.greeted) {
            ASSERT_EQ(w.dialogs.shown.size(), 1u);
            EXPECT_EQ(w.dialogs.shown[0].text, "hell yeah");
            EXPECT_EQ(w.dialogs.shown[0].title, "Skimlark");
            EXPECT_EQ(w.view.navigations, Strings{});
            EXPECT_EQ(w.entries(), Strings{""});
            EXPECT_EQ(w.stored(keys::MRURL, "0"), storedBefore);
        } else {
            EXPECT_TRUE(w.dialogs.shown.empty());
            EXPECT_EQ(w.view.navigations, Strings{c.text});
            EXPECT_EQ(w.entries(), (Strings{"", c.text}));
            EXPECT_EQ(w.stored(keys::MRURL, "0"), c.text);
            EXPECT_EQ(w.stored(keys::CboCount, keys::Count), "0");
        }
    }
}

TEST(AddressBar, AListPickSurfsEachTimeAndTextFromCodeNever)
{
    NavigationWindow w("http://last.test/");
    // Text written from code and a page event.
    w.entry().set_text("half typ");
    w.view.address = "http://now.test/";
    w.view.urlChanged.emit(w.view.address);
    EXPECT_EQ(w.view.navigations, Strings{});
    EXPECT_EQ(w.stored(keys::MRURL, "0"), "<missing>");

    w.Combo1.set_active(0);
    w.Combo1.set_active(0);
    EXPECT_EQ(w.view.navigations, (Strings{"http://last.test/", "http://last.test/"}));
    EXPECT_EQ(w.entries(), (Strings{"http://last.test/", "http://last.test/", "http://last.test/"}));
    EXPECT_EQ(w.stored(keys::MRURL, "0"), "http://last.test/");
}

namespace {

enum class Then { Nothing, Escape, Surf, LeaveField };

struct TypingRow
{
    const char *name;
    bool focused;
    bool edited;
    Then then;
    std::string textAfterThen;
    std::string textAfterPageEvent;
};

void PrintTo(const TypingRow &row, std::ostream *out)
{
    *out << row.name;
}

class TypingInTheAddressBar : public testing::TestWithParam<TypingRow>
{
};

} // namespace

TEST_P(TypingInTheAddressBar, IsLeftAloneByPageEventsUntilHandedBack)
{
    const TypingRow &row = GetParam();
    NavigationWindow w;
    widgetinput::show(w.window);
    w.view.address = "http://page.test/";
    w.view.urlChanged.emit(w.view.address);
    widgetinput::focus(row.focused ? static_cast<Gtk::Widget &>(w.entry()) : w.other);
    if (row.edited)
        w.entry().set_text("half typ");
    switch (row.then) {
    case Then::Nothing:
        break;
    case Then::Escape:
        widgetinput::key(w.entry(), GDK_KEY_Escape);
        ASSERT_TRUE(spinUntil([&] { return w.entry().get_text() == row.textAfterThen; }));
        break;
    case Then::Surf:
        w.Command2.clicked();
        break;
    case Then::LeaveField:
        w.other.grab_focus();
        spin();
        break;
    }
    EXPECT_EQ(w.entry().get_text(), row.textAfterThen);
    w.view.address = "http://now.test/";
    w.view.urlChanged.emit(w.view.address);
    EXPECT_EQ(w.entry().get_text(), row.textAfterPageEvent);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TypingInTheAddressBar,
    testing::Values(
        TypingRow{"EditedWithTheFocusIsKept", true, true, Then::Nothing, "half typ", "half typ"},
        TypingRow{"FocusWithoutEditFollowsThePage", true, false, Then::Nothing, "http://page.test/",
                  "http://now.test/"},
        TypingRow{"EditedWithoutTheFocusFollowsThePage", false, true, Then::Nothing, "half typ",
                  "http://now.test/"},
        TypingRow{"EscapeRestoresThePageAddress", true, true, Then::Escape, "http://page.test/",
                  "http://now.test/"},
        TypingRow{"SurfHandsBack", true, true, Then::Surf, "half typ", "http://now.test/"},
        TypingRow{"LeavingTheFieldHandsBack", true, true, Then::LeaveField, "half typ", "http://now.test/"}),
    [](const testing::TestParamInfo<TypingRow> &info) { return std::string(info.param.name); });

TEST(PageStatus, EventsWriteThePanelsAndThePlainCaption)
{
    // Events in order: "started", "finished", or "status:" followed by its text.
    const struct { Strings events; std::string title; Strings expected; } cases[] = {
        {{"status:old", "started"}, "T", {"Getting Page...", "Skimlark is receiving packets...", "Skimlark"}},
        {{"started", "finished"}, "a%1b", {"Got it", "http://a.test/x?q=1", "Skimlark - a%1b"}},
        {{"finished"}, "<b>x</b>", {"Got it", "http://a.test/x?q=1", "Skimlark - <b>x</b>"}},
        {{"finished"}, "&amp;", {"Got it", "http://a.test/x?q=1", "Skimlark - &amp;"}},
        {{"finished"}, "", {"Got it", "http://a.test/x?q=1", "Skimlark - "}},
        {{"finished", "status:"}, "T", {"Got it", "", "Skimlark - T"}},
        {{"started", "status:  <i>x</i>  "}, "T", {"Getting Page...", "  <i>x</i>  ", "Skimlark"}},
    };
    for (const auto &c : cases) {
        NavigationWindow w;
        w.view.address = "http://a.test/x?q=1";
        w.view.title = c.title;
        for (const std::string &event : c.events) {
            if (event == "started")
                w.view.loadStarted.emit();
            else if (event == "finished")
                w.view.loadFinished.emit(w.view.address);
            else
                w.view.statusTextChanged.emit(event.substr(std::string("status:").size()));
        }
        EXPECT_EQ((Strings{w.panels[0].get_text(), w.panels[1].get_text(), w.window.get_title()}), c.expected)
            << c.title;
    }
}

TEST(PageStatus, OnlyTheExactReferralAddressGoesOnToTheStartPage)
{
    const std::string referral = maker::ReferralAddress;
    std::string otherCase = referral;
    otherCase.replace(otherCase.find("homepage"), 8, "HomePage");
    const struct { std::string address; Strings navigations; } cases[] = {
        {referral, {maker::StartPage}},
        {otherCase, {}},
        {referral + "/", {}},
        {referral + "&ref=1", {}},
    };
    for (const auto &c : cases) {
        NavigationWindow w;
        w.view.address = c.address;
        w.view.loadFinished.emit(c.address);
        EXPECT_EQ(w.view.navigations, c.navigations) << c.address;
    }
}

TEST(PageStatus, ClockShowsTheTimeAtOnceAndTicks)
{
    NavigationWindow w;
    const std::string first = w.panels[2].get_text();
    EXPECT_FALSE(first.empty());
    EXPECT_TRUE(spinUntil([&] { return w.panels[2].get_text() != first; }, std::chrono::seconds(5)));
}

TEST(NavigationToolbar, EachButtonActsOrSaysWhyItCannot)
{
    const std::string back = "You're as back as you're gonna get!";
    const std::string forward = "You're as foward as you're gonna get!";
    const struct { const char *name; int pages, backSteps; const char *home; const char *button; std::string call, message; } cases[] = {
        {"back before any page", 0, 0, nullptr, "back", "back", back},
        {"back at the first page", 2, 1, nullptr, "back", "back", back},
        {"forward at the end", 2, 0, nullptr, "forward", "forward", forward},
        {"back possible", 2, 0, nullptr, "back", "back", ""},
        {"forward possible", 2, 1, nullptr, "forward", "forward", ""},
        {"stop", 2, 0, nullptr, "stop", "stop", ""},
        {"refresh", 2, 0, nullptr, "refresh", "refresh", ""},
        {"home, nothing stored", 2, 0, nullptr, "home", "navigate:" + maker::StartPage, ""},
        {"home stored as typed", 2, 0, " Home.Test ", "home", "navigate: Home.Test ", ""},
        {"home stored empty", 2, 0, "", "home", "navigate:", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        NavigationWindow w;
        const Strings pages{"http://a.test/", "http://b.test/"};
        for (int i = 0; i < c.pages; ++i) {
            w.view.navigate(pages[i]);
            w.view.finishLoad();
        }
        for (int i = 0; i < c.backSteps; ++i)
            ASSERT_TRUE(w.view.goBack());
        // Stored after start-up: Home reads it at the click.
        if (c.home)
            w.settings.write(keys::App, keys::Home, keys::Address, c.home);
        const std::string pageBefore = w.view.address;
        w.view.calls.clear();

        const std::map<std::string, Gtk::ToolButton *> buttons = {
            {"back", &w.back}, {"forward", &w.forward}, {"stop", &w.stop}, {"refresh", &w.refresh}, {"home", &w.home}};
        NavigationWindow::click(*buttons.at(c.button));
        EXPECT_EQ(w.view.calls, Strings{c.call});
        ASSERT_EQ(w.dialogs.shown.size(), c.message.empty() ? 0u : 1u);
        if (!c.message.empty()) {
            EXPECT_EQ(w.dialogs.shown[0].text, c.message);
            EXPECT_EQ(w.dialogs.shown[0].title, "Skimlark");
            EXPECT_EQ(w.view.address, pageBefore);
        }
    }
}
