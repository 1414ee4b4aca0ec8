#include "settings/inifile.h"
#include "settings/settingsstore.h"
#include "testutil.h"
#include "util/filename.h"

#include <gtest/gtest.h>

#include <glib.h>
#include <glib/gstdio.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace {

const std::string App = "Skimlark";

struct TempRoot
{
    std::string path;
    TempRoot()
    {
        gchar *dir = g_dir_make_tmp("settings-XXXXXX", nullptr);
        path = dir;
        g_free(dir);
    }
};


void put(const std::string &path, const std::string &bytes)
{
    g_mkdir_with_parents(folderOf(path).c_str(), 0700);
    ASSERT_TRUE(g_file_set_contents(path.c_str(), bytes.data(), gssize(bytes.size()), nullptr));
}

unsigned modeOf(const std::string &path)
{
    GStatBuf st;
    return g_stat(path.c_str(), &st) == 0 ? st.st_mode & 0777 : 0;
}

// A value, and the line QSettings writes for it.
struct Hostile
{
    const char *name;
    std::string value;
    std::string line;
};

class HostileValue : public testing::TestWithParam<Hostile>
{
};

TEST_P(HostileValue, RoundTripsInTheFormQtWrites)
{
    const Hostile &row = GetParam();
    TempRoot root;
    ASSERT_TRUE(SettingsStore(root.path).write(App, "Home", "Address", row.value));
    SettingsStore reopened(root.path);
    EXPECT_EQ(reopened.read(App, "Home", "Address", "default"), row.value);
    EXPECT_EQ(testutil::fileContents(reopened.filePath(App)), "[Home]\nAddress=" + row.line + "\n");
}

const std::string Long(10000, 'x');

INSTANTIATE_TEST_SUITE_P(
    Settings, HostileValue,
    testing::Values(
        Hostile{"blanks", "  lead and trail  ", "\"  lead and trail  \""},
        Hostile{"equals", "a=b=c", "\"a=b=c\""}, Hostile{"semicolon", "a;b", "\"a;b\""},
        Hostile{"hash", "#not a comment", "#not a comment"}, Hostile{"group", "[x]", "[x]"},
        Hostile{"quotes", "\"quoted\" and 'single'", "\\\"quoted\\\" and 'single'"},
        Hostile{"backslashes", "C:\\dir\\file\\", "C:\\\\dir\\\\file\\\\"},
        Hostile{"newlines", "line1\nline2\r\nline3", "line1\\nline2\\r\\nline3"},
        Hostile{"tabs", "a\tb\t", "a\\tb\\t"},
        Hostile{"controls", std::string("\0" "1\x1b" "f", 4), "\\0\\x31\\x1b\\x66"},
        Hostile{"nonascii", "naïve café — 日本語 🚀", "naïve café — 日本語 🚀"},
        Hostile{"commalist", "a, b, c", "\"a, b, c\""},
        Hostile{"atvariant", "@Variant(\\0\\0\\0\\x7f)", "@@Variant(\\\\0\\\\0\\\\0\\\\x7f)"},
        Hostile{"long", Long, Long}, Hostile{"empty", "", ""},
        Hostile{"query", "http://h/?a=1&b=2#frag", "\"http://h/?a=1&b=2#frag\""}),
    [](const testing::TestParamInfo<Hostile> &info) { return std::string(info.param.name); });

// A file as the old program (QSettings) left it, hand edits included.
const char *const OldFile =
    "[General]\n"
    "top=level\n"
    "\n"
    "[Home]\n"
    "Engine=altavista\n"
    "Address=\"http://home.test/?a=1;b=2\"\n"
    "Address1=\"  padded  \"\n"
    "Address2=C:\\\\dir\\\\file ; a comment\n"
    "Address3=line1\\nline2\\ttab\\\"q\\\"\n"
    "Address4=@@at sign\n"
    "Address5=na\\xefve caf\\xe9 \\x65e5\\x672c\n"
    "Address6=a, b,  c\n"
    "Address7=\"x, y\", z\n"
    "Address8=@ByteArray(bytes)\n"
    "Address9=@Variant(\\0\\0\\0\\n\\0\\0\\0\\x4\\0h\\0i)\n"
    "Address10 = @Variant(\\0\\0\\0\\x2\\xff\\xff\\xff\\xfe)\n"
    "Addressbarfontcolor=@Invalid()\n"
    "Searchboxfontcolor=\n"
    "a%20b%U00e9=spaced key\n"
    "\n"
    "[MRURL]\n"
    "0=http://surfed.test/\n";

TEST(SettingsStore, ReadsTheFileTheOldProgramWrote)
{
    TempRoot root;
    SettingsStore store(root.path);
    put(store.filePath(App), OldFile);
    const struct
    {
        const char *section, *key;
        std::string expected;
    } rows[] = {
        {"", "top", "level"},
        {"Home", "Engine", "altavista"},
        {"Home", "Address", "http://home.test/?a=1;b=2"},
        {"Home", "Address1", "  padded  "},
        {"Home", "Address2", "C:\\dir\\file"},
        {"Home", "Address3", "line1\nline2\ttab\"q\""},
        {"Home", "Address4", "@at sign"},
        {"Home", "Address5", "naïve café 日本"},
        {"Home", "Address6", "a, b, c"},
        {"Home", "Address7", "x, y, z"},
        {"Home", "Address8", "bytes"},
        {"Home", "Address9", "hi"},
        {"Home", "Address10", "-2"},
        {"Home", "Addressbarfontcolor", "<default>"},
        {"Home", "Searchboxfontcolor", ""},
        {"Home", "a béb", "<default>"},
        {"Home", "a bé", "spaced key"},
        {"MRURL", "0", "http://surfed.test/"},
    };
    int damaged = 0;
    store.damaged.connect([&](const std::string &, const std::string &) { ++damaged; });
    for (int pass = 0; pass < 2; ++pass) {
        for (const auto &row : rows)
            EXPECT_EQ(store.read(App, row.section, row.key, "<default>"), row.expected)
                << row.section << "/" << row.key << " pass " << pass;
        // A write carries every other key over as it was written.
        ASSERT_TRUE(store.write(App, "cbocount", "count", "0"));
    }
    EXPECT_EQ(damaged, 0);
    EXPECT_NE(testutil::fileContents(store.filePath(App)).find("\nAddress9=@Variant(\\0\\0\\0\\n\\0\\0\\0\\x4\\0h\\0i)\n"),
              std::string::npos);
}

// A file holding names the reader takes, and the values it reads under them
// (section and key joined as "section/key").
struct HostileName
{
    const char *name;
    std::string file;
    std::vector<std::pair<std::string, std::string>> values;
};

void PrintTo(const HostileName &row, std::ostream *out)
{
    *out << row.name;
}

class HostileNames : public testing::TestWithParam<HostileName>
{
};

TEST_P(HostileNames, ReadTheSameAfterEveryWrite)
{
    const HostileName &row = GetParam();
    TempRoot root;
    SettingsStore store(root.path);
    const std::string path = store.filePath(App);
    put(path, row.file);
    int damaged = 0;
    store.damaged.connect([&](const std::string &, const std::string &) { ++damaged; });
    std::string written = row.file;
    for (int pass = 0; pass < 2; ++pass) {
        const inifile::Document doc = inifile::Document::parse(written);
        for (const auto &[name, value] : row.values)
            EXPECT_EQ(doc.value(name).value_or("<missing>"), value) << name << " in\n" << written;
        ASSERT_TRUE(store.write(App, "cbocount", "count", "0"));
        // Written once, the file is written the same way again.
        if (pass == 1) {
            EXPECT_EQ(testutil::fileContents(path), written);
        }
        written = testutil::fileContents(path);
    }
    EXPECT_EQ(damaged, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, HostileNames,
    testing::Values(
        HostileName{"keyEndingInSlash", "[Home]\nx%2F=v\n", {{"Home/x/", "v"}}},
        HostileName{"keyEndingInSlashValueWithEquals", "[Home]\nk%2F=a=b\n", {{"Home/k/", "a=b"}, {"Home/k/=a", "<missing>"}}},
        HostileName{"keyOfSlashes", "[Home]\n%2F\\%2F=v\n", {{"Home////", "v"}}},
        HostileName{"topLevelKeyEndingInSlash", "[General]\nx%2F=v\n", {{"x/", "v"}}},
        HostileName{"sectionEndingInSlash", "[x%2F]\nk=v\n", {{"x//k", "v"}}},
        HostileName{"generalInLowerCase", "[general]\nk=1\n[General]\nk=2\n", {{"general/k", "1"}, {"k", "2"}}},
        HostileName{"generalInCapitals", "[%GENERAL]\nk=1\n[%General]\nk=2\n", {{"GENERAL/k", "1"}, {"General/k", "2"}}},
        HostileName{"generalEscaped", "[%67eneral]\nk=1\n", {{"general/k", "1"}, {"k", "<missing>"}}},
        HostileName{"generalWithNul", "[general%00]\nk=1\n", {{std::string("general\0/k", 10), "1"}, {"General/k", "<missing>"}}}),
    [](const testing::TestParamInfo<HostileName> &info) { return std::string(info.param.name); });

struct Damage
{
    const char *name;
    std::string content;
    bool damaged;
    std::string engine; // what Home/Engine reads, before and after the next write
};

class DamagedFile : public testing::TestWithParam<Damage>
{
};

TEST_P(DamagedFile, KeepsWhatCanBeReadAndTheOriginalBesideIt)
{
    const Damage &row = GetParam();
    TempRoot root;
    SettingsStore store(root.path);
    const std::string path = store.filePath(App);
    const std::string content = row.content + "\n[MRURL]\n0=http://kept.test/\n";
    put(path, content);
    put(path + ".damaged", "an earlier copy");
    std::vector<std::pair<std::string, std::string>> signals;
    store.damaged.connect([&](const std::string &file, const std::string &aside) {
        signals.emplace_back(file, aside);
    });

    EXPECT_EQ(store.read(App, "Home", "Engine", "google"), row.engine);
    EXPECT_EQ(testutil::fileContents(path), content); // reading changes nothing
    ASSERT_TRUE(store.write(App, "Home", "Address", "http://new.test/"));
    ASSERT_TRUE(store.write(App, "Home", "Address", "http://newer.test/"));

    EXPECT_EQ(store.read(App, "Home", "Engine", "google"), row.engine);
    EXPECT_EQ(store.read(App, "MRURL", "0", ""), "http://kept.test/");
    EXPECT_EQ(store.read(App, "Home", "Address", ""), "http://newer.test/");
    EXPECT_EQ(testutil::fileContents(path + ".damaged"), "an earlier copy");
    ASSERT_EQ(signals.size(), row.damaged ? 1u : 0u);
    if (row.damaged) {
        EXPECT_EQ(signals[0].first, path);
        EXPECT_NE(signals[0].second, path + ".damaged");
        EXPECT_EQ(testutil::fileContents(signals[0].second), content);
        EXPECT_EQ(modeOf(signals[0].second), 0600u);
    }
}

const char NoiseBytes[] = "\x01\xff\xfe[[[=\x02\n\x00\x7f\n[Home]\nEngine=yahoo";
const std::string Noise(NoiseBytes, sizeof NoiseBytes - 1);

INSTANTIATE_TEST_SUITE_P(
    Settings, DamagedFile,
    testing::Values(
        Damage{"bom", "\xEF\xBB\xBF[Home]\nEngine=yahoo", false, "yahoo"},
        Damage{"unclosedgroup", "[Home\nEngine=yahoo", true, "yahoo"},
        Damage{"junkline", "[Home]\n%%%% junk\nEngine=yahoo\nEngine", true, "yahoo"},
        Damage{"invalidutf8", "[Home]\nEngine=ya\xff\xfe", true, "google"},
        Damage{"unclosedquote", "[Home]\nEngine=\"yahoo", true, "google"},
        Damage{"binarynoise", Noise, true, "yahoo"},
        Damage{"emptykey", "[Home]\n=x\nEngine=yahoo", true, "yahoo"}),
    [](const testing::TestParamInfo<Damage> &info) { return std::string(info.param.name); });

TEST(SettingsStore, FileAndFolderArePrivateAndNothingIsLeftBeside)
{
    TempRoot root;
    SettingsStore store(root.path);
    ASSERT_TRUE(store.write(App, "Home", "Address", "http://private.test/"));
    ASSERT_TRUE(store.write(App, "Home", "Engine", "yahoo"));
    EXPECT_EQ(modeOf(root.path + "/Velmora"), 0700u);
    EXPECT_EQ(modeOf(store.filePath(App)), 0600u);
    GDir *dir = g_dir_open((root.path + "/Velmora").c_str(), 0, nullptr);
    std::vector<std::string> names;
    while (const char *name = g_dir_read_name(dir))
        names.push_back(name);
    g_dir_close(dir);
    EXPECT_EQ(names, std::vector<std::string>{"Skimlark.conf"});
}

TEST(SettingsStore, LeftoversOfWritesCutShortGoAtTheNextStart)
{
    TempRoot root;
    SettingsStore store(root.path);
    const auto started = std::chrono::system_clock::now() - std::chrono::minutes(1);
    store.removeLeftoverWrites(App, started); // no folder yet: nothing to do
    const std::string folder = root.path + "/Velmora/";
    // Names beside the file, and whether each stays; all but one were last changed before the start.
    const struct { const char *name; bool stays; } files[] = {
        {"Skimlark.conf", true},         {"Skimlark.conf.damaged", true}, {"Skimlark.conf.aB3xY9", false},
        {"Skimlark.conf.9Zz0Qa", false}, {"Skimlark.conf.aB3xY", true},   {"Skimlark.conf.aB3xY9z", true},
        {"Skimlark.conf.aB-xY9", true},  {"Other.conf.aB3xY9", true},
        {"Skimlark.conf.backup", true},  {"Skimlark.confXaB3xY9", true},
        // The user's own names, and the names only this program writes under.
        {"Skimlark.conf.BACKUP", true},  {"Skimlark.conf.OLD123", true},  {"Skimlark.conf.Backup", true},
        {"Skimlark.conf.myCopy", true},  {".Skimlark.conf.saving-abcdef", false},
        {".Skimlark.conf.saving-Q1", true}, {".Other.conf.saving-abcdef", true},
    };
    for (const auto &file : files)
        put(folder + file.name, "[Home]\nEngine=yahoo\n");
    ASSERT_EQ(g_mkdir((folder + "Skimlark.conf.Dir12Z").c_str(), 0700), 0);
    ASSERT_EQ(symlink((folder + "Skimlark.conf").c_str(), (folder + "Skimlark.conf.Lnk12Z").c_str()), 0);
    const struct timespec old[2] = {{time(nullptr) - 7200, 0}, {time(nullptr) - 7200, 0}};
    GDir *dir = g_dir_open(folder.c_str(), 0, nullptr);
    while (const char *name = g_dir_read_name(dir))
        ASSERT_EQ(utimensat(AT_FDCWD, (folder + name).c_str(), old, AT_SYMLINK_NOFOLLOW), 0) << name;
    g_dir_close(dir);
    // A write under way now.
    put(folder + ".Skimlark.conf.saving-Qw12Er", "[Home]\n");

    store.removeLeftoverWrites(App, started);

    std::vector<std::string> expected{"Skimlark.conf.Dir12Z", "Skimlark.conf.Lnk12Z",
                                      ".Skimlark.conf.saving-Qw12Er"};
    for (const auto &file : files) {
        if (file.stays)
            expected.push_back(file.name);
    }
    std::vector<std::string> names;
    dir = g_dir_open(folder.c_str(), 0, nullptr);
    while (const char *name = g_dir_read_name(dir))
        names.push_back(name);
    g_dir_close(dir);
    std::sort(expected.begin(), expected.end());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, expected);
    EXPECT_EQ(store.read(App, "Home", "Engine", "google"), "yahoo");
}

// Where a write cannot or must not go, and what it is told as. The modes are
// looked at themselves, so root (which may write anything) is held back too.
struct Blocked
{
    const char *name;
    void (*block)(const std::string &folder, const std::string &file);
    SettingsStore::Problem problem;
    std::string engine; // what a read of Home/Engine gives
};

void PrintTo(const Blocked &row, std::ostream *out)
{
    *out << row.name;
}

class BlockedStore : public testing::TestWithParam<Blocked>
{
};

const std::string Stored = "[Home]\nEngine=yahoo\n";

TEST_P(BlockedStore, LeavesEveryByteAndModeAndSaysWhy)
{
    const Blocked &row = GetParam();
    TempRoot root;
    SettingsStore store(root.path);
    const std::string folder = root.path + "/Velmora";
    const std::string file = store.filePath(App);
    row.block(folder, file);
    const std::string before = testutil::fileContents(file);
    const unsigned fileMode = modeOf(file);
    const unsigned folderMode = modeOf(folder);
    std::vector<std::pair<std::string, SettingsStore::Problem>> failed;
    store.writeFailed.connect([&](const std::string &path, SettingsStore::Problem problem, SettingsStore::Purpose) {
        failed.emplace_back(path, problem);
    });

    EXPECT_EQ(store.writeProblem(App), row.problem);
    EXPECT_EQ(store.read(App, "Home", "Engine", "google"), row.engine);
    EXPECT_FALSE(store.write(App, "Home", "Engine", "lycos"));
    EXPECT_EQ(failed, (std::vector<std::pair<std::string, SettingsStore::Problem>>{{file, row.problem}}));
    EXPECT_EQ(testutil::fileContents(file), before);
    EXPECT_EQ(modeOf(file), fileMode);
    EXPECT_EQ(modeOf(folder), folderMode);
    EXPECT_EQ(store.read(App, "Home", "Engine", "google"), row.engine);
    GDir *dir = g_dir_open(folder.c_str(), 0, nullptr);
    size_t names = 0;
    while (dir && g_dir_read_name(dir))
        ++names;
    if (dir)
        g_dir_close(dir);
    EXPECT_LE(names, 1u); // nothing left beside
    g_chmod(folder.c_str(), 0700);
}

using Problem = SettingsStore::Problem;

INSTANTIATE_TEST_SUITE_P(
    Settings, BlockedStore,
    testing::Values(
        Blocked{"fileReadOnly", [](const std::string &, const std::string &file) {
                    put(file, Stored);
                    g_chmod(file.c_str(), 0444);
                }, Problem::FileReadOnly, "yahoo"},
        Blocked{"fileReadableByOwnerOnly", [](const std::string &, const std::string &file) {
                    put(file, Stored);
                    g_chmod(file.c_str(), 0400);
                }, Problem::FileReadOnly, "yahoo"},
        Blocked{"folderReadOnly", [](const std::string &folder, const std::string &file) {
                    put(file, Stored);
                    g_chmod(folder.c_str(), 0500);
                }, Problem::FolderReadOnly, "yahoo"},
        Blocked{"folderInTheFilesPlace", [](const std::string &, const std::string &file) {
                    g_mkdir_with_parents(file.c_str(), 0700);
                }, Problem::NotWritable, "google"},
        Blocked{"fileInTheFoldersPlace", [](const std::string &folder, const std::string &) {
                    put(folder, Stored);
                }, Problem::NotWritable, "google"}),
    [](const testing::TestParamInfo<Blocked> &info) { return std::string(info.param.name); });

// The file is read once and kept; whatever changes it on disk is seen by the
// next read, whether the change keeps its size or not.
struct Change
{
    const char *name;
    void (*change)(const std::string &file, const std::string &root);
    std::string engine; // what Home/Engine reads after the change
};

void PrintTo(const Change &row, std::ostream *out)
{
    *out << row.name;
}

class ChangedOnDisk : public testing::TestWithParam<Change>
{
};

TEST_P(ChangedOnDisk, IsSeenByTheNextRead)
{
    const Change &row = GetParam();
    TempRoot root;
    SettingsStore store(root.path);
    const std::string file = store.filePath(App);
    ASSERT_TRUE(store.write(App, "Home", "Engine", "yahoo"));
    ASSERT_TRUE(store.write(App, "Home", "Address", "http://home.test/"));
    ASSERT_EQ(store.read(App, "Home", "Engine", "google"), "yahoo");
    row.change(file, root.path);
    EXPECT_EQ(store.read(App, "Home", "Engine", "google"), row.engine);
    // A write starts from the file as it now is.
    if (store.write(App, "Home", "Address1", "http://one.test/")) {
        EXPECT_EQ(store.read(App, "Home", "Engine", "google"), row.engine);
        EXPECT_EQ(SettingsStore(root.path).read(App, "Home", "Address1", ""), "http://one.test/");
    }
}

// The same bytes over the file, yahoo turned into lycos, once the clock file
// times come from has passed the file's last change (so that the change
// shows in its times, however coarse they are).
void editInPlace(const std::string &file)
{
    GStatBuf st;
    ASSERT_EQ(g_stat(file.c_str(), &st), 0);
    struct timespec now;
    do
        clock_gettime(CLOCK_REALTIME_COARSE, &now);
    while (now.tv_sec < st.st_ctim.tv_sec || (now.tv_sec == st.st_ctim.tv_sec && now.tv_nsec <= st.st_ctim.tv_nsec));
    std::string text = testutil::fileContents(file);
    text.replace(text.find("yahoo"), 5, "lycos");
    const int fd = g_open(file.c_str(), O_WRONLY, 0);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, text.data(), text.size()), ssize_t(text.size()));
    close(fd);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, ChangedOnDisk,
    testing::Values(
        Change{"byAnotherCopy", [](const std::string &, const std::string &root) {
                   ASSERT_TRUE(SettingsStore(root).write(App, "Home", "Engine", "lycos"));
               }, "lycos"},
        Change{"byHandSameSizeTimeSetBack", [](const std::string &file, const std::string &) {
                   GStatBuf st;
                   ASSERT_EQ(g_stat(file.c_str(), &st), 0);
                   editInPlace(file);
                   // The time the file had, as a careful editor leaves it.
                   const struct timespec times[2] = {st.st_atim, st.st_mtim};
                   ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
               }, "lycos"},
        Change{"byHandLonger", [](const std::string &file, const std::string &) {
                   put(file, testutil::fileContents(file) + "[MRURL]\n0=http://typed.test/\n");
                   editInPlace(file);
               }, "lycos"},
        Change{"removed", [](const std::string &file, const std::string &) {
                   ASSERT_EQ(g_unlink(file.c_str()), 0);
               }, "google"},
        Change{"folderInItsPlace", [](const std::string &file, const std::string &) {
                   ASSERT_EQ(g_unlink(file.c_str()), 0);
                   ASSERT_EQ(g_mkdir(file.c_str(), 0700), 0);
               }, "google"}),
    [](const testing::TestParamInfo<Change> &info) { return std::string(info.param.name); });

TEST(SettingsStore, EmptyStringIsAValueAndTheLaterWriteWins)
{
    TempRoot root;
    SettingsStore store(root.path);
    EXPECT_EQ(store.read(App, "Home", "Engine", "google"), "google");
    EXPECT_FALSE(store.contains(App, "Home", "Engine"));
    EXPECT_FALSE(g_file_test(store.filePath(App).c_str(), G_FILE_TEST_EXISTS));
    EXPECT_EQ(store.writeProblem(App), SettingsStore::Problem::None);

    ASSERT_TRUE(store.write(App, "Home", "Engine", ""));
    EXPECT_EQ(store.read(App, "Home", "Engine", "google"), "");
    EXPECT_TRUE(store.contains(App, "Home", "Engine"));

    ASSERT_TRUE(store.write(App, "MRURL", "0", "http://a.test/"));
    ASSERT_TRUE(store.write(App, "MRURL", "0", "http://b.test/"));
    EXPECT_EQ(testutil::fileContents(store.filePath(App)), "[Home]\nEngine=\n\n[MRURL]\n0=http://b.test/\n");
}

} // namespace
