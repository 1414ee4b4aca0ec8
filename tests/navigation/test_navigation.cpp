#include "util/makeraddresses.h"
#include "fakedialogs.h"
#include "fakepageview.h"
#include "navigation/addressbar.h"
#include "navigation/navigationtoolbar.h"
#include "navigation/pagestatus.h"
#include "widgetinput.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"

#include <gtest/gtest.h>
#include <gtkmm.h>

using testutil::spinUntil;
using Strings = std::vector<std::string>;

namespace {

// The address bar, the navigation buttons and the status bar wired as the
// main window wires them, in a plain window.
struct NavigationWindow
{
    explicit NavigationWindow(const std::string &lastSurfed = "")
    {
        Combo1.append(lastSurfed);
        for (Gtk::Widget *w : std::initializer_list<Gtk::Widget *>{&Combo1, &Command2, &other})
            box.pack_start(*w, Gtk::PACK_SHRINK);
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

    void click(const std::string &key)
    {
        Gtk::ToolButton *button = key == "back" ? &back : key == "forward" ? &forward : key == "stop" ? &stop : &home;
        gtk_button_clicked(GTK_BUTTON(gtk_bin_get_child(GTK_BIN(button->gobj()))));
    }

    Gtk::Window window;
    Gtk::Box box{Gtk::ORIENTATION_VERTICAL};
    Gtk::ToolButton back, forward, stop, refresh, home;
    Gtk::ComboBoxText Combo1{true};
    Gtk::Button Command2{"Surf"};
    Gtk::Entry other;
    std::array<Gtk::Label, 3> panels;
    FakePageView view;
    FakeDialogs dialogs;
    SettingsStore settings;
    AddressBar addressBar{Combo1, Command2, settings, view, dialogs};
    NavigationToolbar toolbar{back, forward, stop, refresh, home, settings, view, dialogs};
    PageStatus status{view, panels, window, addressBar};
};

} // namespace

TEST(AddressBar, SurfSendsTheTextAsTypedOrGreetsTheHiddenPhrase)
{
    // Enter in the bar reaches Surf through the default button (search widget tests).
    const std::pair<std::string, std::string> rows[] = {
        {"Copper kettle is brave", ""},
        {" Example.COM/a b?kettle is brave ", "http://Example.COM/a%20b?kettle%20is%20brave"},
        {"copper kettle is brave ", "http://copper%20kettle%20is%20brave"},
    };
    for (const auto &[text, address] : rows) {
        SCOPED_TRACE(text);
        const bool greeted = text == "Copper kettle is brave";
        NavigationWindow w;
        const std::string storedBefore = w.stored(keys::MRURL, "0");
        w.entry().set_text(text);
        w.Command2.clicked();
        ASSERT_EQ(w.dialogs.shown.size(), greeted ? 1u : 0u);
        if (greeted) {
            EXPECT_EQ((Strings{w.dialogs.shown[0].title, w.dialogs.shown[0].text}), (Strings{"Skimlark", "hell yeah"}));
        }
        EXPECT_EQ(w.view.navigations, greeted ? Strings{} : Strings{address});
        EXPECT_EQ(w.entries(), greeted ? Strings{""} : (Strings{"", text}));
        EXPECT_EQ(w.stored(keys::MRURL, "0"), greeted ? storedBefore : text);
        EXPECT_EQ(w.stored(keys::CboCount, keys::Count), greeted ? "<missing>" : "0");
    }
}

TEST(AddressBar, AListPickSurfsEachTimeAndTextFromCodeNever)
{
    NavigationWindow w("http://last.test/");
    w.entry().set_text("half typ");
    w.view.address = "http://now.test/";
    w.view.urlChanged.emit(w.view.address);
    EXPECT_EQ(w.view.navigations, Strings{});

    w.Combo1.set_active(0);
    w.Combo1.set_active(0);
    EXPECT_EQ(w.view.navigations, (Strings{"http://last.test/", "http://last.test/"}));
    EXPECT_EQ(w.entries(), (Strings{"http://last.test/", "http://last.test/", "http://last.test/"}));
    EXPECT_EQ(w.stored(keys::MRURL, "0"), "http://last.test/");
}

TEST(AddressBar, TypingIsLeftAloneByPageEventsUntilHandedBack)
{
    enum Then { Nothing, Escape, Surf, LeaveField };
    const struct { const char *name; bool focused, edited; Then then; std::string afterThen, afterPageEvent; } cases[] = {
        {"edited with the focus", true, true, Nothing, "half typ", "half typ"},
        {"focus, no edit", true, false, Nothing, "http://page.test/", "http://now.test/"},
        {"edited, focus elsewhere", false, true, Nothing, "half typ", "http://now.test/"},
        {"Esc", true, true, Escape, "http://page.test/", "http://now.test/"},
        {"surf", true, true, Surf, "half typ", "http://now.test/"},
        {"leaving the field", true, true, LeaveField, "half typ", "http://now.test/"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        NavigationWindow w;
        widgetinput::show(w.window);
        w.view.address = "http://page.test/";
        w.view.urlChanged.emit(w.view.address);
        widgetinput::focus(c.focused ? static_cast<Gtk::Widget &>(w.entry()) : w.other);
        if (c.edited)
            w.entry().set_text("half typ");
        if (c.then == Escape) {
            widgetinput::key(w.entry(), GDK_KEY_Escape);
            spinUntil([&] { return w.entry().get_text() != "half typ"; });
        } else if (c.then == Surf) {
            w.Command2.clicked();
        } else if (c.then == LeaveField) {
            widgetinput::focus(w.other);
        }
        EXPECT_EQ(w.entry().get_text(), c.afterThen);
        w.view.address = "http://now.test/";
        w.view.urlChanged.emit(w.view.address);
        EXPECT_EQ(w.entry().get_text(), c.afterPageEvent);
    }
}

TEST(PageStatus, EventsWriteThePanelsThePlainCaptionAndTheReferralRedirect)
{
    const std::string referral = maker::ReferralAddress;
    std::string otherCase = referral;
    otherCase.replace(otherCase.find("homepage"), 8, "HomePage");
    // Events in order: "started", "finished", or "status:" followed by its text.
    const struct { Strings events; std::string address, title; Strings shown, navigations; } cases[] = {
        {{"status:old", "started"}, "http://a.test/", "T", {"Getting Page...", "Skimlark is receiving packets...", "Skimlark"}, {}},
        {{"started", "finished"}, "http://a.test/", "a%1b", {"Got it", "http://a.test/", "Skimlark - a%1b"}, {}},
        {{"finished"}, "http://a.test/", "<b>x</b>", {"Got it", "http://a.test/", "Skimlark - <b>x</b>"}, {}},
        {{"finished"}, "http://a.test/", "&amp;", {"Got it", "http://a.test/", "Skimlark - &amp;"}, {}},
        {{"finished", "status:"}, "http://a.test/", "", {"Got it", "", "Skimlark - "}, {}},
        {{"finished"}, referral, "R", {"Got it", referral, "Skimlark - R"}, {maker::StartPage}},
        {{"finished"}, otherCase, "R", {"Got it", otherCase, "Skimlark - R"}, {}},
        {{"finished"}, referral + "/", "R", {"Got it", referral + "/", "Skimlark - R"}, {}},
    };
    for (const auto &c : cases) {
        NavigationWindow w;
        w.view.address = c.address;
        w.view.title = c.title;
        for (const std::string &event : c.events) {
            if (event == "started")
                w.view.loadStarted.emit();
            else if (event == "finished")
                w.view.loadFinished.emit(c.address);
            else
                w.view.statusTextChanged.emit(event.substr(7));
        }
        EXPECT_EQ((Strings{w.panels[0].get_text(), w.panels[1].get_text(), w.window.get_title()}), c.shown);
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
    // No page yet: there is no step back or forward to take.
    const struct { const char *home, *button; std::string call, message; } cases[] = {
        {nullptr, "back", "back", "You're as back as you're gonna get!"},
        {nullptr, "forward", "forward", "You're as foward as you're gonna get!"},
        {nullptr, "stop", "stop", ""},
        {nullptr, "home", "navigate:" + maker::StartPage, ""},
        {" Home.Test ", "home", "navigate:http://Home.Test", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.call);
        NavigationWindow w;
        // Stored after start-up: Home reads it at the click.
        if (c.home)
            w.settings.write(keys::App, keys::Home, keys::Address, c.home);
        w.click(c.button);
        EXPECT_EQ(w.view.calls, Strings{c.call});
        ASSERT_EQ(w.dialogs.shown.size(), c.message.empty() ? 0u : 1u);
        if (!c.message.empty()) {
            EXPECT_EQ((Strings{w.dialogs.shown[0].title, w.dialogs.shown[0].text}), (Strings{"Skimlark", c.message}));
        }
    }
}
