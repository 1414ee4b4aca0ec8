#include "util/makeraddresses.h"
#include "commands/colourscheme.h"
#include "commands/filecommands.h"
#include "commands/internetsettings.h"
#include "commands/internetsettingspanel.h"
#include "fakedialogs.h"
#include "fakepageview.h"
#include "settings/settingsstore.h"

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

class Commands : public testing::Test
{
protected:
    ColourScheme colours() { return colours(settings); }
    ColourScheme colours(SettingsStore &store)
    {
        return ColourScheme(store, dialogs, addressBar, searchBox, pickerColour,
                            [this](Gtk::Widget &field, bool background, std::uint32_t colour) {
                                applied.push_back({&field, background, colour});
                            });
    }
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

    struct Applied
    {
        Gtk::Widget *field;
        bool background;
        std::uint32_t colour;
        bool operator==(const Applied &o) const
        {
            return field == o.field && background == o.background && colour == o.colour;
        }
    };

    SettingsStore settings{tempRoot()};
    FakeDialogs dialogs;
    FakePageView view;
    Gtk::ComboBoxText addressBar{true};
    Gtk::Entry searchBox;
    std::uint32_t pickerColour = 0;
    std::vector<Applied> applied;
};

TEST_F(Commands, EachColourCommandColoursOneFieldAndStoresItsNumber)
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
        applied.clear();
        dialogs.colourAnswers.push_back(row.colour);
        colours(store).change(ColourScheme::Commands[row.command].target);

        Gtk::Widget *field = row.command < 2 ? static_cast<Gtk::Widget *>(&addressBar) : &searchBox;
        EXPECT_EQ(applied, (std::vector<Applied>{{field, row.command % 2 == 1, row.colour}}));
        std::vector<std::string> expected(4, "<missing>");
        expected[row.command] = row.text;
        EXPECT_EQ(storedColours(store), expected);
        EXPECT_EQ(pickerColour, row.colour);
    }
}

TEST_F(Commands, PickerStartsOnTheLastAcceptedColourAndCancelChangesNothing)
{
    ColourScheme scheme = colours();
    dialogs.colourAnswers = {0x0000FF, std::nullopt, 0xFFFFFF};
    for (int command : {2, 1, 0, 3})
        scheme.change(ColourScheme::Commands[command].target);
    // Black at first whatever is stored, then whatever was last accepted in any command.
    EXPECT_EQ(pickerStarts(), (std::vector<std::string>{"0", "255", "255", "16777215"}));
    EXPECT_EQ(storedColours(), (std::vector<std::string>{"16777215", "<missing>", "255", "<missing>"}));
    EXPECT_EQ(applied.size(), 2u);
    EXPECT_EQ(pickerColour, 0xFFFFFFu);
}

TEST_F(Commands, FileCommandsGoToThePageView)
{
    FileCommands files(view, dialogs);
    dialogs.fileAnswers = {"", "/tmp/My Pages/start page #1.htm"};
    files.open();
    files.open();
    // The one filter entry exactly as the menu has always described it.
    const std::string filter = "All Internet Files (*.hmt,*.html,*.asp,*.shtml,*.js,*.dhtml) | "
                               "*.htm;*.html;*.asp;*.shtml;*.js;*.dhtml";
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].text, filter);
    EXPECT_EQ(dialogs.shown[1].text, filter);
    for (bool viewCanDoIt : {false, true}) {
        view.printResult = viewCanDoIt;
        files.print();
        files.printPreview();
    }
    files.save();
    files.showHelp();
    EXPECT_EQ(view.calls, (std::vector<std::string>{
                              "takeFocus", "takeFocus", "navigate:file:///tmp/My%20Pages/start%20page%20%231.htm",
                              "takeFocus", "print", "takeFocus", "printPreview", "takeFocus",
                              "print", "takeFocus", "printPreview", "saveAs",
                              "navigate:http://www.velmora.example/skimlark/skimlarkhelp.htm"}));
    EXPECT_EQ(dialogs.kinds(), (std::vector<std::string>{"open", "open"}));
}

TEST_F(Commands, StoredEngineChoicesAreApplied)
{
    struct Row { const char *javaScript; const char *images; std::vector<std::string> calls; };
    const Row rows[] = {
        {nullptr, nullptr, {"javaScript:1", "images:1"}},
        {"0", "0", {"javaScript:0", "images:0"}},
        {"0", "1", {"javaScript:0", "images:1"}},
        {"no", " 0", {"javaScript:1", "images:1"}}, // damaged values keep the default
    };
    for (const Row &row : rows) {
        SettingsStore store{tempRoot()};
        if (row.javaScript)
            store.write("Skimlark", "Internet", "JavaScript", row.javaScript);
        if (row.images)
            store.write("Skimlark", "Internet", "LoadImages", row.images);
        FakePageView page;
        internetsettings::apply(store, page);
        EXPECT_EQ(page.calls, row.calls);
    }
}

TEST_F(Commands, PanelStoresAndAppliesEachChange)
{
    settings.write("Skimlark", "Internet", "LoadImages", "0");
    InternetSettingsPanel panel(settings, dialogs, view, addressBar);
    EXPECT_FALSE(panel.get_modal());
    EXPECT_TRUE(panel.javaScriptBox.get_active());
    EXPECT_FALSE(panel.imagesBox.get_active());
    panel.javaScriptBox.clicked();
    panel.imagesBox.clicked();
    EXPECT_EQ(settings.read("Skimlark", "Internet", "JavaScript", ""), "0");
    EXPECT_EQ(settings.read("Skimlark", "Internet", "LoadImages", ""), "1");
    EXPECT_EQ(view.calls, (std::vector<std::string>{"javaScript:0", "images:1"}));

    // Shown again, it reads the store as it is now.
    settings.write("Skimlark", "Internet", "JavaScript", "1");
    panel.show();
    EXPECT_TRUE(panel.javaScriptBox.get_active());
    EXPECT_EQ(view.calls.size(), 2u);
}

TEST_F(Commands, DeleteBrowsingDataDeletesWhatItSaysAfterAsking)
{
    settings.write("Skimlark", "MRURL", "0", "http://last.test/");
    addressBar.append("http://last.test/");
    addressBar.append("http://other.test/");
    InternetSettingsPanel panel(settings, dialogs, view, addressBar);
    dialogs.confirmAnswers = {false, true};

    panel.deleteButton.clicked();
    EXPECT_TRUE(view.calls.empty());
    EXPECT_EQ(addressBar.get_model()->children().size(), 2u);

    panel.deleteButton.clicked();
    EXPECT_EQ(view.calls, std::vector<std::string>{"clearBrowsingData"});
    EXPECT_EQ(addressBar.get_model()->children().size(), 0u);
    EXPECT_EQ(settings.read("Skimlark", "MRURL", "0", "<missing>"), "");
    ASSERT_EQ(dialogs.kinds(), (std::vector<std::string>{"confirm", "confirm", "message"}));
    EXPECT_EQ(dialogs.shown[2].text, "Deleted cookies, cache, site data, history and the list "
                                     "of addresses you surfed.");
    EXPECT_EQ(dialogs.shown[2].title, "Internet Properties");
}

} // namespace
