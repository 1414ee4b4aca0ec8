#include "history/historydatabase.h"
#include "history/historystore.h"
#include "historytest.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <glib/gstdio.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using historytest::ask;

void put(const std::string &path, const std::string &bytes)
{
    ASSERT_TRUE(g_file_set_contents(path.c_str(), bytes.data(), gssize(bytes.size()), nullptr));
}

// A history of a few thousand visits, closed as the program leaves it.
void makeHistory(const std::string &path)
{
    HistoryDatabase db(path);
    HistoryStore store(db);
    for (int n = 0; n < 3000; ++n)
        ASSERT_NE(store.recordVisit("https://site" + std::to_string(n % 700) + ".test/page/" + std::to_string(n),
                                    "Page number " + std::to_string(n)),
                  0);
}

std::string randomJunk(std::size_t size)
{
    std::mt19937 random(7);
    std::string junk;
    while (junk.size() < size)
        junk += char(1 + random() % 255);
    return junk;
}

std::vector<std::string> setAsideIn(const std::string &folder)
{
    std::vector<std::string> found;
    for (const auto &entry : std::filesystem::directory_iterator(folder)) {
        const std::string file = entry.path().filename();
        if (file.rfind("history.sqlite.damaged-", 0) == 0 && file.find("-wal") == std::string::npos)
            found.push_back(file);
    }
    return found;
}

enum class Outcome { Used, SetAside, SessionOnly };

struct DamageRow
{
    const char *name;
    std::function<void(const std::string &path)> make;
    Outcome outcome;
};
void PrintTo(const DamageRow &row, std::ostream *out) { *out << row.name; }

class DamagedHistory : public testing::TestWithParam<DamageRow>
{
};

TEST_P(DamagedHistory, NeverStopsTheHistoryAndIsTold)
{
    const DamageRow &row = GetParam();
    historytest::TempDir dir;
    const std::string folder = dir.file("Skimlark");
    const std::string path = folder + "/history.sqlite";
    g_mkdir_with_parents(folder.c_str(), 0700);
    row.make(path);
    const std::string before = testutil::fileContents(path);

    std::vector<std::string> told;
    {
        HistoryDatabase db(path);
        db.problemFound.connect([&](const std::string &message) { told.push_back(message); });
        HistoryStore store(db);
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(testutil::spinUntil([&] { return db.checked(); }));
        ASSERT_NE(store.recordVisit("https://after.test/", "After"), 0);
        EXPECT_EQ(store.visits().size(), 1u);
        EXPECT_EQ(db.mode(), row.outcome == Outcome::SessionOnly ? HistoryDatabase::Mode::SessionOnly
                                                                 : HistoryDatabase::Mode::File);
    }

    const std::vector<std::string> aside = setAsideIn(folder);
    switch (row.outcome) {
    case Outcome::Used:
        EXPECT_TRUE(told.empty());
        EXPECT_TRUE(aside.empty());
        break;
    case Outcome::SetAside:
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_TRUE(testutil::fileContents(folder + "/" + aside[0]) == before);
        ASSERT_EQ(told.size(), 1u);
        EXPECT_NE(told[0].find("damaged"), std::string::npos) << told[0];
        EXPECT_NE(told[0].find(aside[0]), std::string::npos) << told[0];
        break;
    case Outcome::SessionOnly:
        EXPECT_TRUE(aside.empty());
        EXPECT_TRUE(testutil::fileContents(path) == before);
        ASSERT_EQ(told.size(), 1u);
        EXPECT_NE(told[0].find("until Skimlark closes"), std::string::npos) << told[0];
        break;
    }
    if (row.outcome != Outcome::SessionOnly) {
        EXPECT_EQ(ask(path, "PRAGMA integrity_check"), "ok");
        EXPECT_EQ(ask(path, "SELECT address FROM places"), "https://after.test/");
    }
}

INSTANTIATE_TEST_SUITE_P(
    History, DamagedHistory,
    testing::Values(
        DamageRow{"EmptyFile", [](const std::string &path) { put(path, ""); }, Outcome::Used},
        DamageRow{"Junk", [](const std::string &path) { put(path, randomJunk(16384)); }, Outcome::SetAside},
        DamageRow{"NotADatabase", [](const std::string &path) { put(path, "Notes, not a database.\n"); },
                  Outcome::SetAside},
        DamageRow{"Truncated",
                  [](const std::string &path) {
                      makeHistory(path);
                      ASSERT_EQ(truncate(path.c_str(), testutil::fileContents(path).size() / 2), 0);
                  },
                  Outcome::SetAside},
        DamageRow{"JunkInTheMiddle",
                  [](const std::string &path) {
                      makeHistory(path);
                      std::string bytes = testutil::fileContents(path);
                      bytes.replace(bytes.size() / 2, 8192, randomJunk(8192));
                      put(path, bytes);
                  },
                  Outcome::SetAside},
        DamageRow{"AnotherProgramsTables",
                  [](const std::string &path) {
                      sqlite3 *db = nullptr;
                      sqlite3_open(path.c_str(), &db);
                      ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE visits(x)", nullptr, nullptr, nullptr), SQLITE_OK);
                      sqlite3_close(db);
                  },
                  Outcome::SetAside},
        DamageRow{"FolderInItsPlace", [](const std::string &path) { g_mkdir(path.c_str(), 0700); },
                  Outcome::SessionOnly}),
    [](const testing::TestParamInfo<DamageRow> &info) { return std::string(info.param.name); });

unsigned modeOf(const std::string &path)
{
    GStatBuf st;
    return g_stat(path.c_str(), &st) == 0 ? st.st_mode & 0777 : 0;
}

TEST(HistoryDatabase, IsTheUsersAloneAndOpenedOnlyWhenUsed)
{
    historytest::TempDir dir;
    const std::string path = dir.file("data/Velmora/Skimlark/history.sqlite");
    HistoryDatabase db(path);
    HistoryStore store(db);
    EXPECT_FALSE(g_file_test(path.c_str(), G_FILE_TEST_EXISTS));
    ASSERT_NE(store.recordVisit("https://a.test/"), 0);
    EXPECT_EQ(modeOf(dir.file("data/Velmora/Skimlark")), 0700u);
    for (const std::string &file : {path, path + "-wal", path + "-shm"})
        EXPECT_EQ(modeOf(file), 0600u) << file;
    EXPECT_EQ(ask(path, "PRAGMA journal_mode"), "wal");
}

// Output and exit status of the helper, run as `user` (root's rights would
// write through a read-only folder).
std::string runChild(const std::vector<std::string> &arguments, const passwd *user, int *status)
{
    std::vector<char *> argv{const_cast<char *>(HISTORY_CHILD_PATH)};
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    std::pair<uid_t, gid_t> ids{user ? user->pw_uid : geteuid(), user ? user->pw_gid : getegid()};
    gchar *out = nullptr;
    const bool ran = g_spawn_sync(
        nullptr, argv.data(), nullptr, G_SPAWN_DEFAULT,
        [](gpointer data) {
            const auto *ids = static_cast<std::pair<uid_t, gid_t> *>(data);
            if (setgid(ids->second) != 0 || setuid(ids->first) != 0)
                _exit(99);
        },
        &ids, &out, nullptr, status, nullptr);
    std::string result = ran && out ? out : "<not run>";
    g_free(out);
    return result;
}

TEST(HistoryDatabase, AReadOnlyFolderIsLeftAsItIs)
{
    historytest::TempDir dir;
    const std::string folder = dir.file("Skimlark");
    const std::string path = folder + "/history.sqlite";
    g_mkdir(folder.c_str(), 0700);
    makeHistory(path);
    const std::string before = testutil::fileContents(path);
    const passwd *nobody = geteuid() == 0 ? getpwnam("nobody") : nullptr;
    if (nobody) {
        ASSERT_EQ(chown(path.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    }
    ASSERT_EQ(g_chmod(dir.path.c_str(), 0755), 0);
    ASSERT_EQ(g_chmod(folder.c_str(), 0555), 0);

    int status = -1;
    const std::string out = runChild({"probe", path}, nobody, &status);
    g_chmod(folder.c_str(), 0700);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << out;
    EXPECT_EQ(out.substr(0, out.find('\n')), "recorded=1 session=1 visits=1") << out;
    EXPECT_NE(out.find("until Skimlark closes"), std::string::npos) << out;
    EXPECT_TRUE(testutil::fileContents(path) == before);
    EXPECT_TRUE(setAsideIn(folder).empty());
}

// The writer is killed at random moments: after a random number of its
// visits were committed, and a random fraction of a millisecond more. Every
// change it reported committed must be found, and the file must be whole;
// only the change under way at the kill may have happened or not.
TEST(HistoryDatabase, SurvivesAKillAtAnyMoment)
{
    historytest::TempDir dir;
    const std::string path = dir.file("history.sqlite");
    const unsigned seed = std::random_device()();
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::set<std::string> kept;
    for (int round = 0; round < 40; ++round) {
        const std::string prefix = "https://kill.test/" + std::to_string(round) + "/";
        std::vector<char *> argv{const_cast<char *>(HISTORY_CHILD_PATH), const_cast<char *>("record"),
                                 const_cast<char *>(path.c_str()), const_cast<char *>(prefix.c_str()), nullptr};
        GPid pid = 0;
        int out = -1;
        ASSERT_TRUE(g_spawn_async_with_pipes(nullptr, argv.data(), nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr,
                                             nullptr, &pid, nullptr, &out, nullptr, nullptr));
        FILE *lines = fdopen(out, "r");
        const int before = int(random() % 25);
        std::string underWay;
        char line[512];
        auto take = [&] {
            std::string address(line + 1);
            address.pop_back();
            if (line[0] == '?')
                underWay = address;
            else if (line[0] == '+')
                kept.insert(address), underWay.clear();
            else
                kept.erase(address), underWay.clear();
        };
        for (int seen = 0; seen < before && fgets(line, sizeof line, lines); take())
            seen += line[0] == '+';
        g_usleep(random() % 1500); // the random moment, not a wait for anything
        kill(pid, SIGKILL);
        while (fgets(line, sizeof line, lines))
            take();
        fclose(lines);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        g_spawn_close_pid(pid);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "round " << round << " status " << status;

        if (!g_file_test(path.c_str(), G_FILE_TEST_EXISTS)) {
            ASSERT_TRUE(kept.empty());
            continue; // killed before it made the file
        }
        ASSERT_EQ(ask(path, "PRAGMA integrity_check"), "ok") << "round " << round;
        // The three-letter index holds exactly what the addresses and titles hold.
        ASSERT_EQ(ask(path, "INSERT INTO place_grams(place_grams, rank) VALUES('integrity-check', 1)"), "");
        // Each visit was recorded whole: its address with it, and counted.
        ASSERT_EQ(ask(path, "SELECT count(*) FROM places p WHERE visit_count <>"
                            " (SELECT count(*) FROM visits WHERE place = p.id) OR visit_count = 0"),
                  "0");
        std::set<std::string> stored;
        const std::string answer = ask(path, "SELECT address FROM places");
        for (std::size_t start = 0; start < answer.size();) {
            const std::size_t end = std::min(answer.find('\n', start), answer.size());
            stored.insert(answer.substr(start, end - start));
            start = end + 1;
        }
        if (stored.count(underWay))
            kept.insert(underWay);
        else
            kept.erase(underWay);
        ASSERT_EQ(stored, kept) << "round " << round;
    }
}

} // namespace
