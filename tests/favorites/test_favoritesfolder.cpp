#include "fakedialogs.h"
#include "fakepageview.h"
#include "favorites/favoritesfolder.h"
#include "favorites/favoritesfoldercommands.h"
#include "testutil.h"
#include "util/filename.h"

#include <glib/gstdio.h>
#include <gtest/gtest.h>
#include <gtkmm.h>
#include <sys/stat.h>

namespace ff = favoritesfolder;

namespace {

std::string tempDir()
{
    gchar *dir = g_dir_make_tmp("favfolder-XXXXXX", nullptr);
    std::string path = dir;
    g_free(dir);
    return path;
}

void writeFile(const std::string &path, const std::string &contents)
{
    ASSERT_TRUE(g_file_set_contents(path.c_str(), contents.data(), gssize(contents.size()), nullptr));
}


std::vector<std::string> entries(const std::string &folder)
{
    std::vector<std::string> result;
    for (const ff::Favorite &f : ff::list(folder))
        result.push_back(f.name + " -> " + f.address);
    return result;
}

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

int modeOf(const std::string &path)
{
    GStatBuf info;
    return g_stat(path.c_str(), &info) == 0 ? int(info.st_mode & 0777) : -1;
}

TEST(FavoritesFolder, ListingShowsHostileNamesAndAddressesAsText)
{
    const std::string folder = tempDir() + "/Favorites";
    std::string why;
    ASSERT_TRUE(ff::ensureFolder(folder, why)) << why;
    EXPECT_EQ(modeOf(folder), 0700);
    EXPECT_TRUE(contains(ff::listingHtml(ff::list(folder)), "There are no favorites yet."));

    writeFile(folder + "/beta.url", "[InternetShortcut]\r\nURL=http://beta.test/\r\n");
    writeFile(folder + "/Alpha.url", "[DEFAULT]\nURL=http://wrong.test/\n[InternetShortcut]\nurl = https://alpha.test/a?b=1&c=2\n");
    writeFile(folder + "/Tom & \"Jerry\" <b>.url", "[InternetShortcut]\nURL=http://cartoon.test/?q=<script>\n");
    writeFile(folder + "/trap.url", "[InternetShortcut]\nURL=javascript:alert(1)\n");
    writeFile(folder + "/quote.url", "[InternetShortcut]\nURL=http://q.test/\"><img src=x>\n");
    writeFile(folder + "/no address.url", "[Other]\nURL=http://ignored.test\n");
    writeFile(folder + "/notes.txt", "[InternetShortcut]\nURL=http://not-a-favorite.test\n");
    ASSERT_EQ(g_mkdir(( folder + "/Sub folder.url").c_str(), 0700), 0);
    EXPECT_EQ(entries(folder),
              (std::vector<std::string>{"Alpha -> https://alpha.test/a?b=1&c=2", "beta -> http://beta.test/",
                                        "no address -> ", "quote -> http://q.test/\"><img src=x>",
                                        "Tom & \"Jerry\" <b> -> http://cartoon.test/?q=<script>",
                                        "trap -> javascript:alert(1)"}));

    const std::string html = ff::listingHtml(ff::list(folder));
    EXPECT_TRUE(contains(html, "<a href=\"https://alpha.test/a?b=1&amp;c=2\">Alpha</a>"));
    EXPECT_TRUE(contains(html, ">Tom &amp; &quot;Jerry&quot; &lt;b&gt;</a>"));
    EXPECT_TRUE(contains(html, "<a href=\"http://q.test/%22%3E%3Cimg%20src=x%3E\">quote</a>"));
    EXPECT_FALSE(contains(html, "<script>") || contains(html, "<b>") || contains(html, "<img"));
    // An address that would run code is shown, not linked.
    EXPECT_FALSE(contains(html, "href=\"javascript"));
    EXPECT_TRUE(contains(html, ">trap</span>") && contains(html, ">no address</span>"));
    EXPECT_FALSE(contains(html, "There are no favorites yet."));
}

struct NameRow { const char *label; std::string name; const char *address; const char *expected; };

TEST(FavoritesFolder, HostileNamesBecomeSafeFileNames)
{
    const NameRow rows[] = {
        {"climbing out", "../../x", "http://a.test/", "x"},
        {"separator", "a/b", "http://a.test/", "a b"},
        {"empty takes the host", "", "http://news.example.org/x", "news.example.org"},
        {"empty without host", "", "", "Untitled"},
        {"dots only", "..", "not an address", "Untitled"},
        {"control characters", std::string("a\tb\nc\x01" "d\x7f"), "", "a b c d"},
        {"reversed extension", "pic\u202Egnp.url", "", "picgnp.url"},
        {"ordinary title", "Weather: Today (Berlin)", "", "Weather Today (Berlin)"},
        {"broken UTF-8", "caf\xC3", "", "caf\xEF\xBF\xBD"},
    };
    for (const NameRow &row : rows)
        EXPECT_EQ(ff::safeName(row.name, row.address), row.expected) << row.label;
}

TEST(FavoritesFolder, AddWritesOnlyNewPrivateFilesInsideTheFolder)
{
    const std::string root = tempDir();
    const std::string folder = root + "/Favorites";
    std::string why;
    ASSERT_TRUE(ff::ensureFolder(folder, why));
    const std::vector<std::string> hostile = {
        "../../x", "a/b", "", std::string(300, 'n'), std::string(150, 'e') + std::string(75, '\xC3') ,
        "\x01\x02\n", std::string(99, 'a') + "\U0001F600" + std::string(200, 'b'), "/etc/passwd"};
    for (const std::string &name : hostile) {
        const std::string path = ff::add(folder, name, "http://a.test/", why);
        ASSERT_FALSE(path.empty()) << why;
        EXPECT_EQ(folderOf(path), folder);
        const std::string fileName = fileNameOf(path);
        EXPECT_LE(fileName.size(), 255u);
        EXPECT_TRUE(g_utf8_validate(fileName.c_str(), -1, nullptr));
        EXPECT_EQ(fileName.substr(fileName.size() - 4), ".url");
        EXPECT_EQ(modeOf(path), 0600);
        EXPECT_EQ(testutil::fileContents(path), "[InternetShortcut]\r\nURL=http://a.test/\r\n");
    }
    EXPECT_EQ(ff::list(folder).size(), hostile.size());
    EXPECT_EQ(entries(root), std::vector<std::string>{});

    // A name that exists, or a link planted under it, is never written through.
    ASSERT_EQ(symlink((root + "/target").c_str(), (folder + "/News.url").c_str()), 0);
    EXPECT_EQ(ff::add(folder, "News", "http://first.test/", why), folder + "/News (2).url");
    EXPECT_EQ(ff::add(folder, "News/", "http://second.test/", why), folder + "/News (3).url");
    EXPECT_FALSE(g_file_test((root + "/target").c_str(), G_FILE_TEST_EXISTS));
    // Line breaks in the address cannot add lines to the file.
    EXPECT_EQ(ff::shortcutContents("http://a.test/\r\n[Other]\nURL=http://b.test"),
              "[InternetShortcut]\r\nURL=http://a.test/%0D%0A[Other]%0AURL=http://b.test\r\n");
}

class FolderCommands : public testing::Test
{
protected:
    FavoritesFolderCommands commands(const std::string &folder)
    {
        return FavoritesFolderCommands(view, dialogs, addressBar, folder);
    }
    FakePageView view;
    FakeDialogs dialogs;
    Gtk::ComboBoxText addressBar{true};
};

TEST_F(FolderCommands, ShowAndAdd)
{
    const std::string folder = tempDir() + "/Velmora/Favorites";
    auto folderCommands = commands(folder);
    folderCommands.showFolder();
    EXPECT_EQ(modeOf(folder), 0700);
    EXPECT_EQ(view.calls, std::vector<std::string>{"showHtml:file://" + folder + "/"});

    // Adding offers the page's title and whatever the address bar holds, never surfed or empty.
    view.title = "Shown page";
    dialogs.favoriteAnswers = {std::nullopt, std::string("Typed"), std::string("Blank")};
    for (const char *typed : {"http://cancelled.test/", "typed.test/page", ""}) {
        addressBar.get_entry()->set_text(typed);
        folderCommands.addToFavorites();
        EXPECT_EQ(dialogs.shown.back().title, "Shown page");
        EXPECT_EQ(dialogs.shown.back().text, typed);
    }
    EXPECT_EQ(entries(folder), (std::vector<std::string>{"Blank -> ", "Typed -> typed.test/page"}));
    EXPECT_EQ(dialogs.kinds(), std::vector<std::string>(3, "favorite"));
    folderCommands.showFolder();
    EXPECT_TRUE(contains(view.lastHtml, "<a href=\"http://typed.test/page\">Typed</a>"));
}

TEST_F(FolderCommands, FailuresAreToldAndLeaveThePage)
{
    const std::string root = tempDir();
    writeFile(root + "/file", "not a folder");
    struct Row { const char *label; std::string folder; bool folderMade; };
    const Row rows[] = {
        {"folder under a file", root + "/file/Favorites", false},
        // A folder that takes no new files, even for the superuser.
        {"folder refusing files", "/proc", true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.label);
        dialogs.shown.clear();
        view.calls.clear();
        auto folderCommands = commands(row.folder);
        if (!row.folderMade) {
            folderCommands.showFolder();
            ASSERT_EQ(dialogs.kinds(), std::vector<std::string>{"message"});
            EXPECT_EQ(dialogs.shown[0].title, "IE Favorites");
            EXPECT_TRUE(contains(dialogs.shown[0].text, row.folder));
            EXPECT_TRUE(view.calls.empty());
            dialogs.shown.clear();
        }
        dialogs.favoriteAnswers = {std::string("Name")};
        folderCommands.addToFavorites();
        ASSERT_EQ(dialogs.kinds(), (std::vector<std::string>{"favorite", "message"}));
        EXPECT_EQ(dialogs.shown[1].title, "Add to IE Favorites");
        EXPECT_TRUE(contains(dialogs.shown[1].text, row.folder));
    }
}

} // namespace
