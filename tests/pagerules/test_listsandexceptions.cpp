#include "pagerules/filterlists.h"
#include "pagerules/siteexceptions.h"
#include "settings/settingsstore.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <glib.h>
#include <glib/gstdio.h>

namespace {

std::string folderWith(const std::string &name, const std::vector<std::pair<std::string, std::string>> &files)
{
    const std::string folder = g_get_user_cache_dir() + std::string("/") + name;
    g_mkdir_with_parents(folder.c_str(), 0700);
    for (const auto &[file, text] : files)
        g_file_set_contents((folder + "/" + file).c_str(), text.c_str(), gssize(text.size()), nullptr);
    return folder;
}

TEST(FilterLists, TheFirstFolderWithBothListsIsUsed)
{
    const std::string half = folderWith("half", {{"easylist.txt", "a"}});
    const std::string whole = folderWith("whole", {{"easylist.txt", "a"}, {"easyprivacy.txt", "b"}});
    const std::string other = folderWith("other", {{"easylist.txt", "c"}, {"easyprivacy.txt", "d"}});
    const std::string missing = g_get_user_cache_dir() + std::string("/missing");
    EXPECT_EQ(filterlists::find({missing, half, whole, other}),
              (std::vector<std::string>{whole + "/easylist.txt", whole + "/easyprivacy.txt"}));
    EXPECT_TRUE(filterlists::find({missing, half}).empty());
}

TEST(FilterLists, TheKeyFollowsWhatTheListsHold)
{
    const std::string a = folderWith("a", {{"one", "||x^\n"}, {"two", "##.y\n"}});
    const std::string b = folderWith("b", {{"one", "||x^\n"}, {"two", "##.y\n"}});
    const std::string c = folderWith("c", {{"one", "||x^\n##"}, {"two", ".y\n"}});
    const std::string key = filterlists::contentKey({a + "/one", a + "/two"});
    EXPECT_EQ(key.size(), 64u);
    EXPECT_EQ(filterlists::contentKey({b + "/one", b + "/two"}), key) << "same text, other place";
    EXPECT_NE(filterlists::contentKey({c + "/one", c + "/two"}), key) << "the same bytes split otherwise";
    EXPECT_NE(filterlists::contentKey({a + "/two", a + "/one"}), key) << "the lists in another order";
    EXPECT_EQ(filterlists::contentKey({a + "/one", a + "/gone"}), "") << "a list that cannot be read";

    // Only as long as nobody writes the lists may a start trust the key it found before.
    const std::string before = filterlists::signature({a + "/one", a + "/two"});
    EXPECT_FALSE(before.empty());
    EXPECT_EQ(filterlists::signature({a + "/one", a + "/two"}), before);
    EXPECT_NE(filterlists::signature({b + "/one", b + "/two"}), before) << "other files";
    g_file_set_contents((a + "/two").c_str(), "##.y\n", -1, nullptr);
    EXPECT_NE(filterlists::signature({a + "/one", a + "/two"}), before) << "the same text written again";
    EXPECT_EQ(filterlists::signature({a + "/one", a + "/gone"}), "");
}

TEST(SiteExceptions, ASiteIsKeptUnderItsHost)
{
    const struct
    {
        const char *address, *host;
    } rows[] = {
        {"https://WWW.Example.com:8080/path?q#f", "www.example.com"},
        {"http://example.com./", "example.com"},
        {"http://[::1]:8000/", "::1"},
        {"http://127.0.0.1/", "127.0.0.1"},
        {"https://xn--bcher-kva.example/", "xn--bcher-kva.example"},
        {"about:blank", ""},
        {"file:///etc/hosts", ""},
        {"ftp://example.com/", ""},
        {"not an address", ""},
        {"", ""},
    };
    for (const auto &row : rows)
        EXPECT_EQ(siteexceptions::hostOf(row.address), row.host) << row.address;
}

TEST(SiteExceptions, AChoiceIsRememberedPerHost)
{
    SettingsStore settings;
    EXPECT_FALSE(siteexceptions::allowed(settings, "shop.example"));
    ASSERT_TRUE(siteexceptions::setAllowed(settings, "shop.example", true));
    EXPECT_TRUE(siteexceptions::allowed(SettingsStore(), "shop.example")) << "read again from the file";
    EXPECT_FALSE(siteexceptions::allowed(settings, "www.shop.example")) << "another host";
    EXPECT_FALSE(siteexceptions::allowed(settings, "example"));
    ASSERT_TRUE(siteexceptions::setAllowed(settings, "shop.example", false));
    EXPECT_FALSE(siteexceptions::allowed(settings, "shop.example"));
    ASSERT_TRUE(settings.write("Skimlark", "AdsAllowed", "edited.example", "yes"));
    EXPECT_FALSE(siteexceptions::allowed(settings, "edited.example")) << "only what the program wrote allows";
    EXPECT_FALSE(siteexceptions::setAllowed(settings, "a=b[c]", true)) << "no host, nothing stored";
    EXPECT_FALSE(siteexceptions::setAllowed(settings, "", true));
}

// What the tests wrote is not left behind.
struct Cleanup : testing::Environment
{
    void TearDown() override { testutil::removeTree(g_get_user_cache_dir()); }
};
const auto *const cleanup = testing::AddGlobalTestEnvironment(new Cleanup);

} // namespace
