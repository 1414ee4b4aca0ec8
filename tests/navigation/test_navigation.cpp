#include "browserfixture.h"
#include "findwidget.h"
#include "widgetinput.h"

#include "pagerules/makersite.h"
#include "settings/settingskeys.h"

#include <glib/gstdio.h>

using testutil::spinUntil;
using Strings = std::vector<std::string>;

namespace {

bool has(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

struct Navigation : BrowserFixture
{
    Gtk::Entry &entry() { return *w().addressCombo().get_entry(); }
    void pageAt(const std::string &address)
    {
        view.address = address;
        view.urlChanged.emit(address);
    }
};

} // namespace

TEST_F(Navigation, SurfSendsTheTextAsTypedOrGreetsTheHiddenPhrase)
{
    // Enter in the bar reaches Surf through the default button (search tests).
    const struct { std::string text, address, engine; } rows[] = {
        {"Copper kettle is brave", ""},
        // Without a scheme: https is tried first (and http after, by the engine).
        {" Example.COM/a b?kettle is brave ", "https://Example.COM/a%20b?kettle%20is%20brave", ""},
        {"http://plain.test/", "http://plain.test/", ""},
        // Words a host can never be are searched for with the stored engine.
        {"copper kettle is brave ", "https://www.google.com/search?q=copper%20kettle%20is%20brave%20"},
        // No engine to search with: said, and nothing kept.
        {"copper kettle", "", "nosuch"},
    };
    for (const auto &[text, address, engine] : rows) {
        SCOPED_TRACE(text);
        const bool greeted = text == "Copper kettle is brave";
        const bool unsearched = !engine.empty();
        dialogs.shown.clear();
        view.navigations.clear();
        g_unlink(settings.filePath("Skimlark").c_str());
        if (unsearched)
            seed("Home", "Engine", engine);
        loaded();
        entry().set_text(text);
        click(w().surfButton());
        ASSERT_EQ(dialogs.shown.size(), greeted ? 1u : 0u);
        if (greeted) {
            EXPECT_EQ((Strings{dialogs.shown[0].title, dialogs.shown[0].text}), (Strings{"Skimlark", "hell yeah"}));
        }
        const bool opened = !greeted && !unsearched;
        EXPECT_EQ(view.navigations, opened ? Strings{address} : Strings{});
        EXPECT_EQ(visitedList(), opened ? (Strings{"", text}) : Strings{""});
        EXPECT_EQ(stored(keys::MRURL, "0"), opened ? text : "<missing>");
        EXPECT_EQ(stored(keys::CboCount, keys::Count), opened ? "0" : "<missing>");
        EXPECT_EQ(w().panels()[1].get_text().find("no search engine is chosen") != Glib::ustring::npos, unsearched);
    }
}

// The bar holds 65,534 bytes and drops the rest of a longer text: the cut is
// said in the status bar, and a cut text is neither surfed nor stored, until
// the field is emptied and given a new text.
TEST_F(Navigation, TextCutToFitTheBarIsSaidAndNeverSurfed)
{
    const std::string fits = "http://long.test/" + std::string(65534 - 17, 'a');
    const std::string tooLong = fits + "/rest";
    const struct
    {
        const char *name;
        std::string pasted;
        void (*then)(Gtk::Entry &);
        bool cut;
    } rows[] = {
        {"fits exactly", fits, [](Gtk::Entry &) {}, false},
        {"too long", tooLong, [](Gtk::Entry &) {}, true},
        {"too long, a character deleted", tooLong, [](Gtk::Entry &field) { field.delete_text(40, 41); }, true},
        {"too long, then typed over", tooLong, [](Gtk::Entry &field) {
             field.delete_text(0, -1);
             int at = 0;
             field.insert_text("http://short.test/", -1, at);
         }, false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        view.navigations.clear();
        g_unlink(settings.filePath("Skimlark").c_str());
        MainWindow &w = loaded();
        Gtk::Clipboard::get()->set_text(row.pasted);
        entry().paste_clipboard();
        ASSERT_TRUE(spinUntil([&] { return entry().get_text_length() > 0; }));
        EXPECT_EQ(has(w.panels()[1].get_text(), "Too long for the address bar"), row.pasted == tooLong)
            << w.panels()[1].get_text();
        row.then(entry());
        const std::string surfed = entry().get_text();
        click(w.surfButton());
        // Sizes and truths only: the texts are too long to show.
        EXPECT_EQ(view.navigations.size(), row.cut ? 0u : 1u);
        EXPECT_EQ(visitedList().size(), row.cut ? 1u : 2u);
        EXPECT_TRUE(visitedList().back() == (row.cut ? "" : surfed));
        EXPECT_TRUE(stored(keys::MRURL, "0") == (row.cut ? "<missing>" : surfed));
        EXPECT_EQ(has(w.panels()[1].get_text(), "Not opened"), row.cut) << w.panels()[1].get_text();
    }
}

// Deleting the browsing data (Internet Properties) takes the surfed addresses
// with it: the list and the address kept for the next start.
TEST_F(Navigation, DeletingBrowsingDataForgetsTheSurfedAddresses)
{
    seed(keys::MRURL, "0", "http://last.test/");
    MainWindow &w = loaded();
    entry().set_text("http://new.test/");
    click(w.surfButton());
    ASSERT_EQ(visitedList(), (Strings{"http://last.test/", "http://new.test/"}));
    choose("mnuinternetproperites");
    Gtk::Window *panel = findwidget::shownWindow("Internet Properties");
    ASSERT_TRUE(panel);
    dialogs.confirmAnswers = {true};
    click(*findwidget::named<Gtk::Button>(*panel, "Delete browsing data"));
    EXPECT_EQ(visitedList(), Strings{});
    EXPECT_EQ(stored(keys::MRURL, "0"), "");
}

TEST_F(Navigation, AListPickSurfsEachTimeAndTextFromCodeNever)
{
    seed(keys::MRURL, "0", "http://last.test/");
    MainWindow &w = loaded();
    entry().set_text("half typ");
    pageAt("http://now.test/");
    EXPECT_EQ(view.navigations, Strings{});

    w.addressCombo().set_active(0);
    w.addressCombo().set_active(0);
    EXPECT_EQ(view.navigations, (Strings{"http://last.test/", "http://last.test/"}));
    EXPECT_EQ(visitedList(), (Strings{"http://last.test/", "http://last.test/", "http://last.test/"}));
    EXPECT_EQ(stored(keys::MRURL, "0"), "http://last.test/");
}

// Typing in the address bar is kept over page events while the user is at
// it, and gives way to the page's address when the user leaves it behind:
// Esc, a surf, leaving the field, or a navigation started elsewhere (also
// Search pressed as an assistive tool presses it, the keyboard left in the
// bar). A command that navigates nowhere leaves the typing alone.
// A long address keeps the list within the window, cut in the middle, and
// whole in its entry's tooltip.
TEST_F(Navigation, TheVisitedListIsNoWiderThanTheWindow)
{
    const std::string address = "http://long.test/" + std::string(420, 'a') + "/end";
    seed(keys::MRURL, "0", address);
    MainWindow &w = shown();
    const auto arrows = findwidget::every<Gtk::ToggleButton>(w.addressCombo());
    ASSERT_EQ(arrows.size(), 1u);
    widgetinput::click(*arrows[0], 1);
    GtkWidget *menu = gtk_accessible_get_widget(
        GTK_ACCESSIBLE(gtk_combo_box_get_popup_accessible(GTK_COMBO_BOX(w.addressCombo().gobj()))));
    ASSERT_TRUE(menu && GTK_IS_MENU(menu));
    ASSERT_TRUE(testutil::spinUntil([menu] { return gtk_widget_get_mapped(menu); }));
    testutil::spin();
    EXPECT_GT(gtk_widget_get_allocated_width(menu), 100);
    EXPECT_LE(gtk_widget_get_allocated_width(menu), w.get_allocated_width());
    GList *items = gtk_container_get_children(GTK_CONTAINER(menu));
    ASSERT_TRUE(items);
    gchar *tip = gtk_widget_get_tooltip_text(GTK_WIDGET(items->data));
    EXPECT_EQ(tip ? std::string(tip) : std::string(), address);
    g_free(tip);
    g_list_free(items);
    w.addressCombo().popdown();
}

TEST_F(Navigation, TypingIsLeftAloneByPageEventsUntilHandedBack)
{
    enum Then { Nothing, Escape, Surf, LeaveField, Back, Refresh, Home, Tab, Favorite, Search, EmptyFavorite, Open };
    const struct { const char *name; bool focused, edited; Then then; std::string afterThen, afterPageEvent; bool history = false; } cases[] = {
        {"edited with the focus", true, true, Nothing, "half typ", "half typ"},
        {"focus, no edit", true, false, Nothing, "http://page.test/", "http://now.test/"},
        {"edited, focus elsewhere", false, true, Nothing, "half typ", "http://now.test/"},
        {"Esc", true, true, Escape, "http://page.test/", "http://now.test/"},
        {"surf", true, true, Surf, "half typ", "http://now.test/"},
        {"leaving the field", true, true, LeaveField, "half typ", "http://now.test/"},
        {"Back", true, true, Back, "http://before.test/", "http://now.test/", true},
        {"Refresh", true, true, Refresh, "http://page.test/", "http://now.test/"},
        {"Home", true, true, Home, "http://page.test/", "http://now.test/"},
        {"a tab", true, true, Tab, "http://page.test/", "http://now.test/"},
        {"a favorite", true, true, Favorite, "http://page.test/", "http://now.test/"},
        {"Search", true, true, Search, "http://page.test/", "http://now.test/"},
        {"Back with no step to take", true, true, Back, "half typ", "half typ"},
        {"an empty favorite", true, true, EmptyFavorite, "half typ", "half typ"},
        {"Open, cancelled", true, true, Open, "half typ", "half typ"},
    };
    seed("Home", "Address1", "http://fav.test/");
    MainWindow &w = shown();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        widgetinput::focus(w.searchBox());
        if (c.history) {
            for (const char *address : {"http://before.test/", "http://page.test/"}) {
                view.navigate(address);
                view.finishLoad();
            }
        }
        pageAt("http://page.test/");
        widgetinput::focus(c.focused ? static_cast<Gtk::Widget &>(entry()) : w.searchBox());
        if (c.edited)
            entry().set_text("half typ");
        switch (c.then) {
        case Escape:
            widgetinput::key(entry(), GDK_KEY_Escape);
            spinUntil([&] { return entry().get_text() != "half typ"; });
            break;
        case Surf: click(w.surfButton()); break;
        case LeaveField: widgetinput::focus(w.searchBox()); break;
        case Back: click(*toolbarButton("back")); break;
        case Refresh: click(*toolbarButton("refresh")); break;
        case Home: click(*toolbarButton("home")); break;
        case Tab: w.engineTabs().select(3); break;
        case Favorite: click(*w.favoriteButton(1)); break;
        case Search: click(w.searchButton()); break;
        case EmptyFavorite: click(*w.favoriteButton(2)); break;
        case Open: choose("mnuopen"); break;
        case Nothing: break;
        }
        EXPECT_EQ(entry().get_text(), c.afterThen);
        pageAt("http://now.test/");
        EXPECT_EQ(entry().get_text(), c.afterPageEvent);
    }
}

TEST_F(Navigation, PageEventsWriteThePanelsThePlainCaptionAndTheReferralRedirect)
{
    const std::string referral = makersite::ReferralAddress;
    std::string otherCase = referral;
    otherCase.replace(otherCase.find("homepage"), 8, "HomePage");
    // Events in order: "started", "finished", "title:" or "status:" followed by its text.
    const struct { Strings events; std::string address, title; Strings shown, navigations; } cases[] = {
        {{"status:old", "started"}, "http://a.test/", "T", {"Getting Page...", "Skimlark is receiving packets...", "Skimlark"}, {}},
        {{"title:early", "started", "finished"}, "http://a.test/", "a%1b", {"Got it", "http://a.test/", "Skimlark - a%1b"}, {}},
        {{"finished"}, "http://a.test/", "<b>x</b>", {"Got it", "http://a.test/", "Skimlark - <b>x</b>"}, {}},
        {{"finished", "title:Later &amp;"}, "http://a.test/", "T", {"Got it", "http://a.test/", "Skimlark - Later &amp;"}, {}},
        {{"finished", "status:"}, "http://a.test/", "", {"Got it", "", "Skimlark - http://a.test/"}, {}},
        // The next load clears the title: the caption keeps the last one until a title or the load's end.
        {{"finished", "started", "title:"}, "http://a.test/", "T", {"Getting Page...", "Skimlark is receiving packets...", "Skimlark - T"}, {}},
        {{"finished", "started", "title:", "title:New"}, "http://a.test/", "T", {"Getting Page...", "Skimlark is receiving packets...", "Skimlark - New"}, {}},
        {{"finished", "title:"}, "http://a.test/", "T", {"Got it", "http://a.test/", "Skimlark - http://a.test/"}, {}},
        {{"finished"}, referral, "R", {"Got it", referral, "Skimlark - R"}, {makersite::StartPage}},
        {{"finished"}, otherCase, "R", {"Got it", otherCase, "Skimlark - R"}, {}},
        {{"finished"}, referral + "/", "R", {"Got it", referral + "/", "Skimlark - R"}, {}},
    };
    // Late: the events come once the window is on screen. Early: the first
    // page was asked for before the window was built, and they all came
    // before it showed; its controls end up the same.
    for (const bool early : {false, true}) {
        for (const auto &c : cases) {
            SCOPED_TRACE(std::string(early ? "early: " : "late: ") + c.address);
            const std::string asked = early ? Browser::requestFirstPage(settings, view, {}) : std::string();
            if (!early)
                shown();
            view.navigations.clear();
            view.address = c.address;
            view.title = c.title;
            for (const std::string &event : c.events) {
                if (event == "started")
                    view.loadStarted.emit();
                else if (event == "finished")
                    view.loadFinished.emit(c.address);
                else if (event.rfind("title:", 0) == 0)
                    view.titleChanged.emit(event.substr(6));
                else
                    view.statusTextChanged.emit(event.substr(7));
            }
            if (early) {
                build(asked).load();
                w().show();
                w().ensureFirstActivation();
            }
            MainWindow &w = this->w();
            EXPECT_EQ((Strings{w.panels()[0].get_text(), w.panels()[1].get_text(), w.get_title()}), c.shown);
            EXPECT_EQ(view.navigations, c.navigations);
        }
    }
}

TEST_F(Navigation, TheSecondPanelSaysWhatWasBlockedOnTheLoadedPage)
{
    // After the load: what blocking did, then events that may follow.
    const struct { bool blocking, allowedHere; int blocked; Strings after; std::string shown; double zoom = 1.0; } rows[] = {
        {true, false, 12, {}, "http://a.test/ \u2014 12 blocked"},
        {true, false, 0, {}, "http://a.test/"},
        {false, false, 3, {}, "http://a.test/"},
        {false, true, 0, {}, "http://a.test/ \u2014 ads allowed on this site"},
        {true, false, 1, {"blocked"}, "http://a.test/ \u2014 2 blocked"},
        {true, false, 1, {"status:http://link.test/", "blocked"}, "http://link.test/"},
        {true, false, 1, {"started", "blocked"}, "Skimlark is receiving packets..."},
        // The page's zoom, while it is not 100%.
        {true, false, 12, {}, "http://a.test/ \u2014 12 blocked \u2014 zoom 120%", 1.2},
        {false, false, 0, {"zoom"}, "http://a.test/ \u2014 zoom 150%", 0.9},
        {false, false, 0, {}, "http://a.test/", 1.0},
    };
    for (const auto &row : rows) {
        MainWindow &w = loaded();
        view.address = "http://a.test/";
        view.pageBlockingState = {row.blocking, row.allowedHere, row.blocked};
        view.zoom = row.zoom;
        view.loadFinished.emit(view.address);
        for (const std::string &event : row.after) {
            if (event == "zoom") {
                view.setZoomLevel(1.5);
            } else if (event == "blocked") {
                ++view.pageBlockingState.blocked;
                view.pageBlockingChanged.emit();
            } else if (event == "started") {
                view.loadStarted.emit();
            } else {
                view.statusTextChanged.emit(event.substr(7));
            }
        }
        EXPECT_EQ(w.panels()[1].get_text(), row.shown);
    }
}

TEST_F(Navigation, ASitesExceptionIsRememberedAndItsPageLoadedAgain)
{
    loaded();
    ASSERT_TRUE(view.adsAllowed);
    EXPECT_FALSE(view.adsAllowed("shop.test"));
    view.adsChoice.emit("shop.test", true);
    EXPECT_EQ(stored("AdsAllowed", "shop.test"), "1");
    EXPECT_TRUE(view.adsAllowed("shop.test"));
    EXPECT_FALSE(view.adsAllowed("other.test"));
    view.adsChoice.emit("shop.test", false);
    EXPECT_FALSE(view.adsAllowed("shop.test"));
    EXPECT_EQ(view.calls, (Strings{"refresh", "refresh"}));
}

TEST_F(Navigation, ClockShowsTheTimeAtOnceAndTicks)
{
    MainWindow &w = loaded();
    const std::string first = w.panels()[2].get_text();
    EXPECT_FALSE(first.empty());
    EXPECT_TRUE(spinUntil([&] { return w.panels()[2].get_text() != first; }, std::chrono::seconds(5)));
}

TEST_F(Navigation, EachToolbarButtonActsOrSaysWhyItCannot)
{
    // No page yet: there is no step back or forward to take.
    const struct { const char *home, *button; std::string call, message; } cases[] = {
        {nullptr, "back", "back", "You're as back as you're gonna get!"},
        {nullptr, "forward", "forward", "You're as foward as you're gonna get!"},
        {nullptr, "stop", "stop", ""},
        {nullptr, "home", "navigate:" + makersite::StartPage, ""},
        {" Home.Test ", "home", "navigate:http://Home.Test", ""},
    };
    loaded();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.call);
        view.calls.clear();
        dialogs.shown.clear();
        // Stored after start-up: Home reads it at the click.
        if (c.home)
            seed(keys::Home, keys::Address, c.home);
        click(*toolbarButton(c.button));
        EXPECT_EQ(view.calls, Strings{c.call});
        ASSERT_EQ(dialogs.shown.size(), c.message.empty() ? 0u : 1u);
        if (!c.message.empty()) {
            EXPECT_EQ((Strings{dialogs.shown[0].title, dialogs.shown[0].text}), (Strings{"Skimlark", c.message}));
        }
    }
}

// After a navigation the user started, the page takes the keyboard focus when
// it commits; not when the page moved on its own, nor when the user has gone
// on typing elsewhere, nor after a command that navigated nowhere: the next
// load, driven by the page, leaves the keyboard where the user has it.
TEST_F(Navigation, ThePageTakesTheFocusWhenTheUsersNavigationCommits)
{
    enum Start { ByPage, BySurf, BySearch, ByButton, ByBackWithoutStep, ByEmptyFavorite, ByCancelledOpen };
    const struct { const char *name; Start start; bool typeElsewhere; bool focused; } rows[] = {
        // First, while the page has no history.
        {"Back with no step to take", ByBackWithoutStep, false, false},
        {"page-driven", ByPage, false, false},
        {"surf", BySurf, false, true},
        {"search", BySearch, false, true},
        {"home button", ByButton, false, true},
        {"surf, then typing in the search box", BySurf, true, false},
        {"an empty favorite", ByEmptyFavorite, false, false},
        {"Open, cancelled", ByCancelledOpen, false, false},
    };
    MainWindow &w = shown();
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        widgetinput::focus(entry());
        entry().set_text("http://next.test/");
        switch (row.start) {
        case BySurf: click(w.surfButton()); break;
        case BySearch: widgetinput::focus(w.searchBox()); click(w.searchButton()); break;
        case ByButton: click(*toolbarButton("home")); break;
        case ByPage: view.navigate("http://elsewhere.test/"); break;
        case ByBackWithoutStep:
            widgetinput::focus(w.searchBox());
            click(*toolbarButton("back"));
            break;
        case ByEmptyFavorite: widgetinput::focus(w.searchBox()); click(*w.favoriteButton(2)); break;
        case ByCancelledOpen: widgetinput::focus(w.searchBox()); choose("mnuopen"); break;
        }
        if (row.start >= ByBackWithoutStep)
            view.navigate("http://elsewhere.test/");
        if (row.typeElsewhere)
            widgetinput::focus(w.searchBox());
        view.calls.clear();
        view.finishLoad("Next");
        EXPECT_EQ(view.calls, row.focused ? Strings{"takeFocus"} : Strings{});
    }
}

// A surf that ends without its page (stopped by the user or by the page on
// screen, or handed to the downloads) leaves no address in the bar that the
// page on screen does not have; a stop is said in the status bar.
TEST_F(Navigation, ALoadEndedWithoutItsPageShowsTheAddressOfThePageOnScreen)
{
    const std::string stopped = "Stopped loading http://bank.test/; the page shown is http://evil.test/";
    const struct { bool downloaded; const char *typedAfter; Strings seen; } rows[] = {
        {false, nullptr, {"http://evil.test/", "Stopped", stopped}},
        {true, nullptr, {"http://evil.test/", "Got it", "http://evil.test/"}},
        {false, "http://next", {"http://next", "Stopped", stopped}},
    };
    MainWindow &w = shown();
    view.address = "http://evil.test/";
    for (const auto &row : rows) {
        widgetinput::focus(entry());
        entry().set_text("bank.test");
        click(w.surfButton());
        view.loadStarted.emit();
        if (row.typedAfter)
            entry().set_text(row.typedAfter);
        view.loadFinished.emit(view.address);
        view.loadEndedWithoutPage.emit("http://bank.test/", row.downloaded);
        EXPECT_EQ((Strings{entry().get_text(), w.panels()[0].get_text(), w.panels()[1].get_text()}), row.seen);
    }
}
