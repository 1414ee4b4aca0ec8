#include "about/aboutbox.h"
#include "commands/colourscheme.h"
#include "commands/fieldcolours.h"
#include "commands/filecommands.h"
#include "commands/internetsettings.h"
#include "commands/internetsettingspanel.h"
#include "commands/toolscommands.h"
#include "fakedialogs.h"
#include "fakepageview.h"
#include "findwidget.h"
#include "pagerules/makersite.h"
#include "settings/settingsstore.h"
#include "testutil.h"
#include "util/colournumber.h"

#include <glib/gstdio.h>

#include <gtest/gtest.h>
#include <gtkmm.h>

namespace {

using Target = ColourScheme::Target;

std::string tempRoot()
{
    gchar *dir = g_dir_make_tmp("commands-XXXXXX", nullptr);
    std::string path = dir;
    g_free(dir);
    return path;
}

const char *const ColourKeys[] = {"Addressbarfontcolor", "Addressbarbackgroundcolor",
                                  "Searchboxfontcolor", "Searchboxbackgroundcolor"};

Gdk::RGBA colourOf(Gtk::Widget &widget, bool background)
{
    auto style = widget.get_style_context();
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    return background ? style->get_background_color(style->get_state()) : style->get_color(style->get_state());
    G_GNUC_END_IGNORE_DEPRECATIONS
}

std::uint32_t numberOf(Gtk::Widget &widget, bool background)
{
    return colournumber::fromRgba(colourOf(widget, background)) & 0xFFFFFF;
}

class Commands : public testing::Test
{
protected:
    std::vector<std::string> storedColours() const { return storedColours(settings); }
    static std::vector<std::string> storedColours(const SettingsStore &store)
    {
        std::vector<std::string> result;
        for (const char *key : ColourKeys)
            result.push_back(store.read("Skimlark", "Home", key, "<missing>"));
        return result;
    }
    std::vector<std::string> pickerStarts() const
    {
        std::vector<std::string> result;
        for (const FakeDialogs::Shown &box : dialogs.shown)
            result.push_back(box.text);
        return result;
    }
    // The four colours as shown: address bar text and background, search box text and background.
    std::vector<std::uint32_t> shownColours()
    {
        return {numberOf(addressBar, false), numberOf(addressBar, true), numberOf(searchBox, false),
                numberOf(searchBox, true)};
    }

    SettingsStore settings{tempRoot()};
    FakeDialogs dialogs;
    FakePageView view;
    Gtk::Entry addressBar;
    Gtk::Entry searchBox;
    // What the panel asked the owner of the surfed addresses: how often to
    // forget them, and whether their stored entry then goes.
    int forgotten = 0;
    bool entryRemoved = true;
    std::function<bool()> forgetSurfed = [this] {
        ++forgotten;
        return entryRemoved;
    };
    // A control of the panel, by the name a screen reader reads.
    template <class W> static W &control(Gtk::Widget &panel, const std::string &name)
    {
        W *found = findwidget::named<W>(panel, name);
        EXPECT_TRUE(found) << name;
        return *found;
    }
    // The panel shows a text beginning with `start`.
    static bool shows(Gtk::Widget &panel, const std::string &start)
    {
        for (Gtk::Label *label : findwidget::every<Gtk::Label>(panel)) {
            if (label->get_visible() && std::string(label->get_text()).rfind(start, 0) == 0)
                return true;
        }
        return false;
    }
};

TEST_F(Commands, EachColourCommandColoursOneFieldOnceItsNumberIsStored)
{
    struct Row { int command; std::uint32_t colour; const char *text; };
    const Row rows[] = {
        {1, 0x000000, "0"},        // black address bar background
        {0, 0x0000FF, "255"},      // red address bar text
        {2, 0x00FF00, "65280"},    // green search box text
        {3, 0xFF0000, "16711680"}, // blue search box background
        {2, 0xFFFFFF, "16777215"}, // white search box text
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.text);
        SettingsStore store{tempRoot()};
        Gtk::Entry address, search;
        ColourScheme scheme(store, dialogs, address, search);
        const std::uint32_t before[] = {numberOf(address, false), numberOf(address, true),
                                        numberOf(search, false), numberOf(search, true)};
        dialogs.colourAnswers.push_back(row.colour);
        scheme.change(Target(row.command));
        Gtk::Entry &field = row.command < 2 ? address : search;
        EXPECT_EQ(numberOf(field, row.command % 2 == 1), row.colour);
        // The other field keeps its colours.
        Gtk::Entry &other = row.command < 2 ? search : address;
        const int otherFirst = row.command < 2 ? 2 : 0;
        EXPECT_EQ(numberOf(other, false), before[otherFirst]);
        EXPECT_EQ(numberOf(other, true), before[otherFirst + 1]);
        std::vector<std::string> expected(4, "<missing>");
        expected[row.command] = row.text;
        EXPECT_EQ(storedColours(store), expected);
    }
}

TEST_F(Commands, PickerStartsOnTheLastAcceptedColourAndCancelOrAFailedWriteChangesNothing)
{
    ColourScheme scheme(settings, dialogs, addressBar, searchBox);
    dialogs.colourAnswers = {0x0000FF, std::nullopt, 0xFFFFFF};
    for (int command : {2, 1, 0, 3})
        scheme.change(Target(command));
    // Black at first whatever is stored, then whatever was last accepted in any command.
    EXPECT_EQ(pickerStarts(), (std::vector<std::string>{"0", "255", "255", "16777215"}));
    EXPECT_EQ(storedColours(), (std::vector<std::string>{"16777215", "<missing>", "255", "<missing>"}));

    // A colour that cannot be stored is not shown either.
    const std::vector<std::uint32_t> before = shownColours();
    ASSERT_EQ(g_unlink(settings.filePath("Skimlark").c_str()), 0);
    ASSERT_EQ(g_mkdir(settings.filePath("Skimlark").c_str(), 0700), 0);
    dialogs.colourAnswers = {0x00FF00};
    scheme.change(Target::AddressBarBackground);
    EXPECT_EQ(shownColours(), before);
}

struct ColourRow { const char *name; const char *key; const char *value; std::optional<std::uint32_t> applied; };
class StartupColours : public Commands, public testing::WithParamInterface<ColourRow> {};

// Built, the scheme shows the stored colours; a field without one keeps the
// theme's own colours.
TEST_P(StartupColours, StoredColourIsAppliedWhenItsKeyExists)
{
    const ColourRow &row = GetParam();
    const std::string key = row.key;
    const bool address = key.rfind("Address", 0) == 0;
    const bool background = key.find("background") != std::string::npos;
    Gtk::Entry &field = address ? addressBar : searchBox;
    const std::uint32_t theme = numberOf(field, background);
    if (row.value)
        settings.write("Skimlark", "Home", key, row.value);
    ColourScheme scheme(settings, dialogs, addressBar, searchBox);
    EXPECT_EQ(numberOf(field, background), row.applied.value_or(theme));
}

INSTANTIATE_TEST_SUITE_P(Rows, StartupColours, testing::Values(
    ColourRow{"MissingKeyLeavesTheThemesText", "Addressbarfontcolor", nullptr, std::nullopt},
    ColourRow{"MissingKeyLeavesTheThemesBackground", "Searchboxbackgroundcolor", nullptr, std::nullopt},
    ColourRow{"WhiteTextApplied", "Addressbarfontcolor", "16777215", 0xFFFFFFu},
    ColourRow{"BlackBackgroundApplied", "Addressbarbackgroundcolor", "0", 0u},
    ColourRow{"BlueSearchText", "Searchboxfontcolor", "16711680", 0xFF0000u},
    ColourRow{"WordSkipped", "Searchboxbackgroundcolor", "purple", std::nullopt},
    ColourRow{"OutOfRangeSkipped", "Searchboxbackgroundcolor", "16777216", std::nullopt}),
    [](const testing::TestParamInfo<ColourRow> &info) { return info.param.name; });

// A dark theme: without stored colours the fields are the theme's; a stored
// colour wins, and its partner is made readable against it.
TEST_F(Commands, ThemeColoursWhereNoneIsStored)
{
    g_object_set(gtk_settings_get_default(), "gtk-application-prefer-dark-theme", TRUE, nullptr);
    Gtk::Window window;
    Gtk::Box box;
    box.pack_start(addressBar);
    box.pack_start(searchBox);
    window.add(box);
    const std::uint32_t darkBackground = numberOf(searchBox, true);
    const std::uint32_t lightText = numberOf(searchBox, false);
    EXPECT_FALSE(FieldColours::readable(darkBackground, 0x000000)) << darkBackground;
    settings.write("Skimlark", "Home", "Addressbarbackgroundcolor", "16777215");
    ColourScheme scheme(settings, dialogs, addressBar, searchBox);
    EXPECT_EQ(numberOf(searchBox, true), darkBackground);
    EXPECT_EQ(numberOf(searchBox, false), lightText);
    // White stored as the background: the theme's light text would vanish on it.
    EXPECT_EQ(numberOf(addressBar, true), 0xFFFFFFu);
    EXPECT_EQ(numberOf(addressBar, false), 0x000000u);
    g_object_set(gtk_settings_get_default(), "gtk-application-prefer-dark-theme", FALSE, nullptr);
}

TEST_F(Commands, OpenGoesToThePickedFileAndEachJobGivesThePageTheFocusFirst)
{
    FileCommands files(view, dialogs);
    dialogs.fileAnswers = {"", "/tmp/My Pages/start page #1.htm"};
    files.open();
    EXPECT_TRUE(view.navigations.empty());
    files.open();
    EXPECT_EQ(view.navigations, std::vector<std::string>{"file:///tmp/My%20Pages/start%20page%20%231.htm"});
    for (auto job : {&FileCommands::print, &FileCommands::printPreview}) {
        view.calls.clear();
        (files.*job)();
        ASSERT_EQ(view.calls.size(), 2u);
        EXPECT_EQ(view.calls[0], "takeFocus");
    }
}

TEST_F(Commands, StoredEngineChoicesAreApplied)
{
    struct Row { const char *javaScript; const char *images; const char *blocking; std::vector<std::string> calls; };
    const Row rows[] = {
        {nullptr, nullptr, nullptr, {"javaScript:1", "images:1", "blocking:1"}},
        {"0", "0", "0", {"javaScript:0", "images:0", "blocking:0"}},
        {"0", "1", "1", {"javaScript:0", "images:1", "blocking:1"}},
        {"no", " 0", "off", {"javaScript:1", "images:1", "blocking:1"}}, // damaged values keep the default
    };
    for (const Row &row : rows) {
        SettingsStore store{tempRoot()};
        if (row.javaScript)
            store.write("Skimlark", "Internet", "JavaScript", row.javaScript);
        if (row.images)
            store.write("Skimlark", "Internet", "LoadImages", row.images);
        if (row.blocking)
            store.write("Skimlark", "Internet", "BlockTrackers", row.blocking);
        FakePageView page;
        internetsettings::apply(store, page);
        EXPECT_EQ(page.calls, row.calls);
    }
}

TEST_F(Commands, PanelStoresAndAppliesEachChange)
{
    settings.write("Skimlark", "Internet", "LoadImages", "0");
    InternetSettingsPanel panel(settings, dialogs, view, forgetSurfed);
    EXPECT_FALSE(panel.get_modal());
    auto &javaScript = control<Gtk::CheckButton>(panel, "Enable JavaScript");
    auto &images = control<Gtk::CheckButton>(panel, "Load images");
    auto &blocking = control<Gtk::CheckButton>(panel, "Block trackers and ads");
    EXPECT_TRUE(javaScript.get_active());
    EXPECT_FALSE(images.get_active());
    EXPECT_TRUE(blocking.get_active());
    javaScript.clicked();
    images.clicked();
    blocking.clicked();
    EXPECT_EQ(settings.read("Skimlark", "Internet", "JavaScript", ""), "0");
    EXPECT_EQ(settings.read("Skimlark", "Internet", "LoadImages", ""), "1");
    EXPECT_EQ(settings.read("Skimlark", "Internet", "BlockTrackers", ""), "0");
    EXPECT_EQ(view.calls, (std::vector<std::string>{"javaScript:0", "images:1", "blocking:0"}));

    // Shown again, it reads the store as it is now.
    settings.write("Skimlark", "Internet", "JavaScript", "1");
    panel.show();
    EXPECT_TRUE(javaScript.get_active());
    EXPECT_EQ(view.calls.size(), 3u);
}

// Internet Properties and About are one window each: asked for while open,
// the window comes forward as it is. A closed About box comes back afresh,
// and its links take the page to the maker's site.
TEST_F(Commands, InternetPropertiesAndAboutAreOneWindowEach)
{
    Gtk::Window mainWindow;
    ToolsCommands tools{view, settings, dialogs, forgetSurfed, mainWindow, "WebKitGTK 2.50.6"};
    auto shown = [](const char *title) {
        Gtk::Window *window = nullptr;
        EXPECT_TRUE(testutil::spinUntil([&] {
            window = findwidget::shownWindow(title);
            return window && window->get_mapped();
        })) << title;
        return window;
    };
    // As the window's close box does.
    auto close = [](Gtk::Window &window) {
        window.close();
        EXPECT_TRUE(testutil::spinUntil([&window] { return !window.get_visible(); }));
    };
    auto iconShown = [](Gtk::Window &about) { return control<Gtk::Widget>(about, "Skimlark icon").get_visible(); };

    tools.showInternetProperties();
    Gtk::Window *panel = shown("Internet Properties");
    ASSERT_TRUE(panel);
    close(*panel);
    tools.showInternetProperties();
    EXPECT_EQ(shown("Internet Properties"), panel);

    tools.showAbout();
    auto *about = dynamic_cast<AboutBox *>(shown("About Skimlark"));
    ASSERT_TRUE(about);
    about->iconDropped();
    tools.showAbout();
    EXPECT_EQ(shown("About Skimlark"), about);
    EXPECT_FALSE(iconShown(*about));
    control<Gtk::Button>(*about, "Visit www.velmora.example").clicked();
    EXPECT_EQ(view.navigations, std::vector<std::string>{makersite::OwnAddress});
    close(*about);
    tools.showAbout();
    Gtk::Window *again = shown("About Skimlark");
    ASSERT_TRUE(again);
    EXPECT_TRUE(iconShown(*again));
}

TEST_F(Commands, ThePanelSaysWhatBlockingDoesAndFollowsTheLists)
{
    using Lists = PageView::Blocking::Lists;
    const struct
    {
        Lists lists;
        bool on;
        std::size_t used, skipped;
        const char *problem;
        std::string text;
    } rows[] = {
        {Lists::Missing, true, 0, 0, "", "Blocking is off: the lists of trackers and ads are missing. "
                                         "Install the webext-ublock-origin-firefox package to turn it on."},
        {Lists::Missing, false, 0, 0, "", "Blocking is off: the lists of trackers and ads are missing. "
                                          "Install the webext-ublock-origin-firefox package to turn it on."},
        {Lists::Ready, false, 5, 1, "", "Pages load every tracker and ad they name."},
        {Lists::Preparing, true, 0, 0, "",
         "Preparing the lists of trackers and ads; pages load unblocked until they are ready."},
        {Lists::Ready, true, 125893, 4427, "", "EasyList and EasyPrivacy: 125,893 rules used, 4,427 skipped."},
        {Lists::Ready, true, 999, 0, "", "EasyList and EasyPrivacy: 999 rules used, 0 skipped."},
        {Lists::Failed, true, 0, 0, "the lists cannot be read",
         "The lists of trackers and ads could not be prepared (the lists cannot be read), so pages load unblocked."},
    };
    for (const auto &row : rows) {
        PageView::Blocking blocking;
        blocking.lists = row.lists;
        blocking.rulesUsed = row.used;
        blocking.rulesSkipped = row.skipped;
        blocking.problem = row.problem;
        EXPECT_EQ(InternetSettingsPanel::blockingText(blocking, row.on), row.text);
    }

    InternetSettingsPanel panel(settings, dialogs, view, forgetSurfed);
    panel.show();
    view.blockingState.lists = Lists::Preparing;
    view.blockingChanged.emit();
    EXPECT_TRUE(shows(panel, "Preparing"));
    view.blockingState.lists = Lists::Ready;
    view.blockingChanged.emit();
    EXPECT_TRUE(shows(panel, "EasyList"));
    EXPECT_FALSE(shows(panel, "Preparing"));
}

// Nothing goes before the user says so; then the engine's data and the
// surfed addresses go, and the panel says what went and what could not.
TEST_F(Commands, DeleteBrowsingDataDeletesWhatItSaysAfterAsking)
{
    const std::string deleted = "Deleted cookies, cache, site data, history and the list of addresses you surfed.";
    const struct { bool entryRemoved; std::string told; } rows[] = {
        {true, deleted},
        {false, deleted + "\nThe last address surfed could not be removed from the settings file."},
    };
    for (const auto &row : rows) {
        dialogs.shown.clear();
        view.calls.clear();
        forgotten = 0;
        entryRemoved = row.entryRemoved;
        InternetSettingsPanel panel(settings, dialogs, view, forgetSurfed);
        auto &remove = control<Gtk::Button>(panel, "Delete browsing data");
        dialogs.confirmAnswers = {false, true};

        remove.clicked();
        testutil::spin();
        EXPECT_TRUE(view.calls.empty());
        EXPECT_EQ(forgotten, 0);

        remove.clicked();
        testutil::spin();
        EXPECT_EQ(view.calls, std::vector<std::string>{"clearBrowsingData"});
        EXPECT_EQ(forgotten, 1);
        ASSERT_EQ(dialogs.kinds(), (std::vector<std::string>{"confirm", "confirm", "message"}));
        EXPECT_EQ(dialogs.shown[2].text, row.told);
        EXPECT_EQ(dialogs.shown[2].title, "Internet Properties");
    }
}

} // namespace
