#include "browserfixture.h"

#include <glib/gstdio.h>

using Strings = std::vector<std::string>;

namespace {

bool has(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

// Settings that cannot be saved are told truthfully and without flooding:
// at the start once the window shows, then every change that was not made,
// in the status bar.
TEST_F(BrowserFixture, UnwritableSettingsAreToldAtTheStartThenEachChangeInTheStatusBar)
{
    // A folder where the file should be.
    ASSERT_EQ(g_mkdir_with_parents(settings.filePath("Skimlark").c_str(), 0700), 0);
    frmBrowser &w = shown();
    ASSERT_TRUE(testutil::spinUntil([this] { return !dialogs.shown.empty(); }));
    ASSERT_EQ(dialogs.kinds(), Strings{"message"});
    EXPECT_TRUE(has(dialogs.shown[0].text, settings.filePath("Skimlark"))) << dialogs.shown[0].text;
    EXPECT_TRUE(has(dialogs.shown[0].text, "not made")) << dialogs.shown[0].text;

    engineItem("mnuyahoo")->activate();
    EXPECT_TRUE(has(w.panels()[1].get_text(), "This change was not made")) << w.panels()[1].get_text();
    w.panels()[1].set_text("");
    dialogs.inputAnswers.push_back("http://typed.test/");
    choose("mnu2");
    EXPECT_TRUE(has(w.panels()[1].get_text(), "This change was not made"));
    EXPECT_EQ(dialogs.kinds(), (Strings{"message", "input"}));
}

// A store that was fine at the start and fails later (a full disk): the first
// failed change is told in a box, the next ones in the status bar.
TEST_F(BrowserFixture, AChangeThatCannotBeSavedIsToldOnceInABoxThenInTheStatusBar)
{
    frmBrowser &w = shown();
    testutil::spin();
    ASSERT_TRUE(dialogs.shown.empty());
    ASSERT_EQ(g_mkdir_with_parents(settings.filePath("Skimlark").c_str(), 0700), 0);
    engineItem("mnuyahoo")->activate();
    testutil::spin();
    ASSERT_EQ(dialogs.kinds(), Strings{"message"});
    EXPECT_TRUE(has(dialogs.shown[0].text, "This change was not made")) << dialogs.shown[0].text;
    EXPECT_FALSE(has(dialogs.shown[0].text, "lost when")) << dialogs.shown[0].text;
    engineItem("mnulycos")->activate();
    testutil::spin();
    EXPECT_EQ(dialogs.kinds(), Strings{"message"});
    EXPECT_TRUE(has(w.panels()[1].get_text(), "This change was not made"));
    // Neither choice moved the mark.
    EXPECT_TRUE(engineItem("mnugoogle")->get_active());
}

// A damaged file is told once the window shows, without writing anything;
// the change that later sets it aside is told in the status bar.
TEST_F(BrowserFixture, ADamagedFileIsToldAtTheStartWithoutWriting)
{
    const std::string path = settings.filePath("Skimlark");
    const std::string damaged = "[Home]\nEngine=yahoo\n\xEF\xBB\xBFjunk line\n[unclosed\n";
    ASSERT_EQ(g_mkdir_with_parents((root + "/Velmora").c_str(), 0700), 0);
    ASSERT_TRUE(g_file_set_contents(path.c_str(), damaged.data(), gssize(damaged.size()), nullptr));
    frmBrowser &w = shown();
    ASSERT_TRUE(testutil::spinUntil([this] { return !dialogs.shown.empty(); }));
    ASSERT_EQ(dialogs.kinds(), Strings{"message"});
    EXPECT_TRUE(has(dialogs.shown[0].text, path + " is damaged")) << dialogs.shown[0].text;
    EXPECT_EQ(testutil::fileContents(path), damaged);
    EXPECT_TRUE(engineItem("mnuyahoo")->get_active());

    engineItem("mnulycos")->activate();
    EXPECT_EQ(dialogs.kinds(), Strings{"message"});
    EXPECT_TRUE(has(w.panels()[1].get_text(), path + ".damaged")) << w.panels()[1].get_text();
    EXPECT_EQ(testutil::fileContents(path + ".damaged"), damaged);
}
