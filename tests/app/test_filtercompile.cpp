// The compile helper as the browser runs it: a program of its own, given the
// filter store, the filter's name and the lists.
#include "pagerules/programfiles.h"
#include "testutil.h"
#include "util/filename.h"

#include <gtest/gtest.h>

#include <glib.h>
#include <glib/gstdio.h>

namespace {

struct Compiled
{
    int status = -1;
    std::string errors;
};

Compiled compile(std::vector<std::string> arguments)
{
    const std::string helper = ProgramFiles::find(folderOf(SKIMLARK_BINARY_PATH)).filterCompiler;
    std::vector<gchar *> argv = {const_cast<gchar *>(helper.c_str())};
    for (std::string &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    Compiled run;
    gchar *errors = nullptr;
    gint wait = 0;
    if (g_spawn_sync(nullptr, argv.data(), nullptr, G_SPAWN_STDOUT_TO_DEV_NULL, nullptr, nullptr, nullptr, &errors,
                     &wait, nullptr))
        run.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
    run.errors = errors ? errors : "";
    g_free(errors);
    return run;
}

std::string write(const std::string &name, const std::string &text)
{
    const std::string path = g_get_user_cache_dir() + std::string("/") + name;
    g_file_set_contents(path.c_str(), text.c_str(), gssize(text.size()), nullptr);
    return path;
}

TEST(FilterCompile, LeavesTheFilterAndItsCountsAndNothingOlder)
{
    const std::string store = g_get_user_cache_dir() + std::string("/store");
    const std::string easyList = write("easylist.txt", "||ads.example^\nsite.example##.ad\n##.everywhere\n");
    const std::string easyPrivacy = write("easyprivacy.txt", "||t.example^$third-party\nexample.com##+js(x)\n");

    ASSERT_EQ(compile({store, "trackers-old", easyList}).status, 0);
    const Compiled run = compile({store, "trackers-new", easyList, easyPrivacy});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(testutil::fileContents(store + "/trackers-new.counts"), "[Rules]\nUsed=4\nSkipped=2\n");
    EXPECT_TRUE(g_file_test((store + "/ContentRuleList-trackers-new").c_str(), G_FILE_TEST_EXISTS));
    // The filter of the lists before is of no more use.
    EXPECT_FALSE(g_file_test((store + "/ContentRuleList-trackers-old").c_str(), G_FILE_TEST_EXISTS));
    EXPECT_FALSE(g_file_test((store + "/trackers-old.counts").c_str(), G_FILE_TEST_EXISTS));
}

// The browser ends a helper half way when it closes: what that one was
// writing goes with the next compile, and a compile leaves nothing behind.
TEST(FilterCompile, LeavesNothingHalfMadeBehind)
{
    const std::string store = g_get_user_cache_dir() + std::string("/store");
    // No process has this number: the helper that wrote here has ended.
    const std::string ended = store + "/partial-2147483647";
    g_mkdir_with_parents(ended.c_str(), 0700);
    write("store/partial-2147483647/ContentRuleList-a1b2c3", std::string(4096, 'x'));
    const std::string list = write("list.txt", "||ads.example^\n");

    const Compiled run = compile({store, "trackers-x", list});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(testutil::folderEntries(store), (std::vector<std::string>{"ContentRuleList-trackers-x", "trackers-x.counts"}));
    EXPECT_EQ(testutil::folderEntries(g_get_tmp_dir()), std::vector<std::string>());
}

TEST(FilterCompile, SaysWhyWhenItCannot)
{
    const std::string store = g_get_user_cache_dir() + std::string("/store");
    const std::string list = write("list.txt", "||ads.example^\n");
    const std::string missing = g_get_user_cache_dir() + std::string("/missing.txt");
    const std::string blocked = write("blocked", "");
    const struct
    {
        const char *what;
        std::vector<std::string> arguments;
        int status;
        std::string lastWords;
    } rows[] = {
        {"no lists", {store, "trackers-x"}, 1, "usage: skimlark-filtercompile STORE IDENTIFIER LIST..."},
        {"no list readable", {store, "trackers-x", missing}, 1, "No list could be read"},
        {"one list of two missing", {store, "trackers-x", missing, list}, 0, ""},
        {"no store can be made", {blocked + "/store", "trackers-x", list}, 1,
         "The filter store " + blocked + "/store cannot be made"},
    };
    for (const auto &row : rows) {
        const Compiled run = compile(row.arguments);
        EXPECT_EQ(run.status, row.status) << row.what << ": " << run.errors;
        std::string said = run.errors;
        while (!said.empty() && said.back() == '\n')
            said.pop_back();
        said = said.substr(said.rfind('\n') == std::string::npos ? 0 : said.rfind('\n') + 1);
        if (row.status) {
            EXPECT_EQ(said, row.lastWords) << row.what;
        }
    }
}

TEST(ProgramFiles, BesideTheProgramInTheBuildTreeElseWhereInstalled)
{
    const std::string built = folderOf(SKIMLARK_BINARY_PATH);
    EXPECT_EQ(ProgramFiles::find(built).filterCompiler, built + "/skimlark-filtercompile");
    EXPECT_EQ(ProgramFiles::find(built).pageExtensions, built + "/web-extensions");
    const ProgramFiles installed = ProgramFiles::find(g_get_user_cache_dir());
    EXPECT_TRUE(g_str_has_suffix(installed.filterCompiler.c_str(), "/libexec/skimlark/skimlark-filtercompile"))
        << installed.filterCompiler;
    EXPECT_TRUE(g_str_has_suffix(installed.pageExtensions.c_str(), "/skimlark/web-extensions"))
        << installed.pageExtensions;
}

// What the tests wrote is not left behind.
struct Cleanup : testing::Environment
{
    void TearDown() override { testutil::removeTree(g_get_user_cache_dir()); }
};
const auto *const cleanup = testing::AddGlobalTestEnvironment(new Cleanup);

} // namespace
