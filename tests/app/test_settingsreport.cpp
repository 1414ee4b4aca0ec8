#include "browserfixture.h"

#include "settings/settingskeys.h"

#include <glib/gstdio.h>

using Strings = std::vector<std::string>;

namespace {

bool has(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

struct SettingsReportTest : BrowserFixture
{
    // What the bar over the page says, or "" while it is hidden.
    std::string bar()
    {
        for (Gtk::Widget *child : w().pageArea().get_children()) {
            auto *bar = dynamic_cast<Gtk::InfoBar *>(child);
            if (!bar)
                continue;
            if (!bar->get_visible())
                return {};
            EXPECT_EQ(bar->get_accessible()->get_name(), "Settings file");
            auto *content = static_cast<Gtk::Container *>(bar->get_content_area());
            return static_cast<Gtk::Label *>(content->get_children().at(0))->get_text();
        }
        ADD_FAILURE() << "no settings bar over the page";
        return {};
    }
    void surf(const std::string &address)
    {
        w().addressCombo().get_entry()->set_text(address);
        click(w().surfButton());
    }
    // The file can no longer be written: a folder takes its place.
    void blockTheFile()
    {
        g_unlink(settings.filePath("Skimlark").c_str());
        ASSERT_EQ(g_mkdir_with_parents(settings.filePath("Skimlark").c_str(), 0700), 0);
    }
};

} // namespace

// Settings that cannot be saved are told truthfully and without flooding: at
// the start once the window shows, then every change that was not made, in
// the bar over the page, counted when the same thing happens again.
TEST_F(SettingsReportTest, UnwritableSettingsAreToldAtTheStartThenEachChangeInTheBar)
{
    blockTheFile();
    shown();
    ASSERT_TRUE(testutil::spinUntil([this] { return !dialogs.shown.empty(); }));
    ASSERT_EQ(dialogs.kinds(), Strings{"message"});
    EXPECT_TRUE(has(dialogs.shown[0].text, settings.filePath("Skimlark"))) << dialogs.shown[0].text;
    EXPECT_TRUE(has(dialogs.shown[0].text, "not made")) << dialogs.shown[0].text;
    EXPECT_TRUE(has(bar(), "cannot be saved")) << bar();

    engineItem("mnuyahoo")->activate();
    EXPECT_TRUE(has(bar(), "This change was not made")) << bar();
    EXPECT_FALSE(has(bar(), "times")) << bar();
    dialogs.inputAnswers.push_back("http://typed.test/");
    choose("mnu2");
    EXPECT_TRUE(has(bar(), "This change was not made")) << bar();
    EXPECT_TRUE(has(bar(), "(2 times)")) << bar();
    EXPECT_EQ(dialogs.kinds(), (Strings{"message", "input"}));
}

// A store that was fine at the start and fails later: the first failed
// change is told in a box, the next ones in the bar.
TEST_F(SettingsReportTest, AChangeThatCannotBeSavedIsToldOnceInABoxThenInTheBar)
{
    shown();
    testutil::spin();
    ASSERT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(bar(), "");
    blockTheFile();
    engineItem("mnuyahoo")->activate();
    testutil::spin();
    ASSERT_EQ(dialogs.kinds(), Strings{"message"});
    EXPECT_TRUE(has(dialogs.shown[0].text, "This change was not made")) << dialogs.shown[0].text;
    engineItem("mnulycos")->activate();
    testutil::spin();
    EXPECT_EQ(dialogs.kinds(), Strings{"message"});
    EXPECT_TRUE(has(bar(), "This change was not made")) << bar();
    // Neither choice moved the mark.
    EXPECT_TRUE(engineItem("mnugoogle")->get_active());
}

// A file the user made read-only is locked: it keeps every byte and its
// mode, whoever runs the program, and the user hears why nothing changes.
TEST_F(SettingsReportTest, AReadOnlyFileIsLeftAsItIsAndTheUserIsTold)
{
    const std::string path = settings.filePath("Skimlark");
    seed(keys::Home, keys::Engine, "excite");
    const std::string before = testutil::fileContents(path);
    ASSERT_EQ(g_chmod(path.c_str(), 0444), 0);
    shown();
    ASSERT_TRUE(testutil::spinUntil([this] { return !dialogs.shown.empty(); }));
    EXPECT_TRUE(has(dialogs.shown[0].text, "the file is read-only")) << dialogs.shown[0].text;

    engineItem("mnuyahoo")->activate();
    testutil::spin();
    EXPECT_TRUE(has(bar(), "This change was not made")) << bar();
    EXPECT_TRUE(has(bar(), "read-only")) << bar();
    EXPECT_EQ(markedEngineItems(), Strings{"mnuexcite"});
    surf("http://surfed.test/");
    EXPECT_TRUE(has(bar(), "its address was not remembered")) << bar();
    EXPECT_EQ(testutil::fileContents(path), before);
    GStatBuf st;
    ASSERT_EQ(g_stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
    EXPECT_EQ(dialogs.kinds(), Strings{"message"});
    g_chmod(path.c_str(), 0600);
}

// A surf whose address cannot be stored still opens the page, and says so;
// the page's own events do not cover it, and the next such surf shows too.
TEST_F(SettingsReportTest, SurfsWhoseAddressCannotBeStoredAreToldEachTime)
{
    shown();
    blockTheFile();
    surf("http://first.test/");
    testutil::spin();
    ASSERT_EQ(dialogs.kinds(), Strings{"message"});
    EXPECT_TRUE(has(dialogs.shown[0].text, "The page was opened, but its address was not remembered"))
        << dialogs.shown[0].text;
    EXPECT_FALSE(has(dialogs.shown[0].text, "not made")) << dialogs.shown[0].text;
    const std::string told = bar();
    EXPECT_TRUE(has(told, "The page was opened")) << told;

    view.loadStarted.emit();
    view.statusTextChanged.emit("http://first.test/link");
    view.finishLoad("First");
    EXPECT_EQ(bar(), told);

    surf("http://second.test/");
    view.loadStarted.emit();
    view.statusTextChanged.emit("Loading");
    EXPECT_EQ(bar(), told + " (2 times)");
    EXPECT_EQ(view.navigations, (Strings{"http://first.test/", "http://second.test/"}));
    EXPECT_EQ(dialogs.kinds(), Strings{"message"});
}

// A damaged file is told once the window shows, without writing anything;
// the change that later sets it aside is told in the bar.
TEST_F(SettingsReportTest, ADamagedFileIsToldAtTheStartWithoutWriting)
{
    const std::string path = settings.filePath("Skimlark");
    const std::string damaged = "[Home]\nEngine=yahoo\n\xEF\xBB\xBFjunk line\n[unclosed\n";
    ASSERT_EQ(g_mkdir_with_parents((root + "/Velmora").c_str(), 0700), 0);
    ASSERT_TRUE(g_file_set_contents(path.c_str(), damaged.data(), gssize(damaged.size()), nullptr));
    shown();
    ASSERT_TRUE(testutil::spinUntil([this] { return !dialogs.shown.empty(); }));
    ASSERT_EQ(dialogs.kinds(), Strings{"message"});
    EXPECT_TRUE(has(dialogs.shown[0].text, path + " is damaged")) << dialogs.shown[0].text;
    EXPECT_EQ(testutil::fileContents(path), damaged);
    EXPECT_TRUE(engineItem("mnuyahoo")->get_active());

    engineItem("mnulycos")->activate();
    EXPECT_EQ(dialogs.kinds(), Strings{"message"});
    EXPECT_TRUE(has(bar(), path + ".damaged")) << bar();
    EXPECT_EQ(testutil::fileContents(path + ".damaged"), damaged);
}
