#include "history/downloadlist.h"
#include "history/historydatabase.h"
#include "history/historystore.h"
#include "history/sitezoom.h"
#include "historytest.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using historytest::ask;

TEST(DownloadList, KeepsEachDownloadFromStartToEndNewestFirst)
{
    historytest::TempDir dir;
    HistoryDatabase db(dir.file("history.sqlite"));
    DownloadList downloads(db);
    const std::int64_t early = downloads.add("a.zip", "/home/u/Downloads/.a.zip.part", "https://Files.test:8443/a.zip",
                                             1000, 100);
    const std::int64_t late = downloads.add("b.iso", "/home/u/Downloads/.b.part", "https://mirror.test/b.iso", -1, 200);
    ASSERT_TRUE(early && late);
    ASSERT_TRUE(downloads.setDestination(early, "a (1).zip", "/home/u/Downloads/a (1).zip"));
    ASSERT_TRUE(downloads.end(early, DownloadState::Finished, 1000, 1000, 150));
    downloads.progress(late, 300, 4096);

    const std::vector<DownloadRecord> listed = downloads.list();
    ASSERT_EQ(listed.size(), 2u);
    const DownloadRecord &b = listed[0], &a = listed[1];
    EXPECT_EQ(b.id, late);
    EXPECT_EQ(b.state, DownloadState::Running);
    EXPECT_EQ(b.received, 300);
    EXPECT_EQ(b.size, 4096);
    EXPECT_EQ(b.ended, 0);
    EXPECT_EQ(a.fileName, "a (1).zip");
    EXPECT_EQ(a.path, "/home/u/Downloads/a (1).zip");
    EXPECT_EQ(a.site(), "files.test");
    EXPECT_EQ(a.state, DownloadState::Finished);
    EXPECT_EQ(a.started, 100);
    EXPECT_EQ(a.ended, 150);

    ASSERT_TRUE(downloads.removeEnded());
    ASSERT_EQ(downloads.list().size(), 1u);
    ASSERT_TRUE(downloads.remove({late}));
    EXPECT_TRUE(downloads.list().empty());
}

TEST(DownloadList, ProgressIsWrittenTogetherAFewTimesASecond)
{
    historytest::TempDir dir;
    const std::string path = dir.file("history.sqlite");
    HistoryDatabase db(path);
    DownloadList downloads(db);
    const std::int64_t one = downloads.add("one", "/tmp/one", "https://a.test/one");
    const std::int64_t two = downloads.add("two", "/tmp/two", "https://a.test/two");
    // Each commit by another connection moves the file's data version on, as a watcher sees it.
    sqlite3 *watcher = nullptr;
    sqlite3_stmt *dataVersion = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &watcher), SQLITE_OK);
    sqlite3_prepare_v2(watcher, "PRAGMA data_version", -1, &dataVersion, nullptr);
    auto commitsSeen = [&] {
        return sqlite3_reset(dataVersion), sqlite3_step(dataVersion), sqlite3_column_int64(dataVersion, 0);
    };
    auto received = [&] { return ask(path, "SELECT group_concat(received) FROM downloads"); };
    const std::int64_t start = commitsSeen();
    for (std::int64_t bytes = 1; bytes <= 1000; ++bytes) {
        downloads.progress(one, bytes, 1000);
        downloads.progress(two, bytes * 2, 2000);
    }
    EXPECT_EQ(received(), "0,0");
    ASSERT_TRUE(testutil::spinUntil([&] { return received() == "1000,2000"; }));
    EXPECT_EQ(commitsSeen() - start, 1);
    sqlite3_finalize(dataVersion);
    sqlite3_close(watcher);
}

TEST(DownloadList, ADownloadCutShortByAnEndOfTheProgramReadsAsFailed)
{
    historytest::TempDir dir;
    {
        HistoryDatabase db(dir.file("history.sqlite"));
        DownloadList(db).add("cut.bin", "/tmp/cut.bin", "https://a.test/cut.bin");
    }
    HistoryDatabase db(dir.file("history.sqlite"));
    const std::vector<DownloadRecord> listed = DownloadList(db).list();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].state, DownloadState::Failed);
    EXPECT_GT(listed[0].ended, 0);
}

struct ZoomRow
{
    const char *name;
    std::string host;
    double set;
    std::string askedFor;
    double found;
};
void PrintTo(const ZoomRow &row, std::ostream *out) { *out << row.name; }

class SiteZoomLevels : public testing::TestWithParam<ZoomRow>
{
};

TEST_P(SiteZoomLevels, AreKeptPerHostAcrossARestart)
{
    const ZoomRow &row = GetParam();
    historytest::TempDir dir;
    {
        HistoryDatabase db(dir.file("history.sqlite"));
        SiteZoom zoom(db);
        ASSERT_TRUE(zoom.setLevel("other.test", 1.5));
        ASSERT_TRUE(zoom.setLevel(row.host, 3.0));
        zoom.setLevel(row.host, row.set);
        HistoryStore(db).clear();
    }
    HistoryDatabase db(dir.file("history.sqlite"));
    SiteZoom zoom(db);
    EXPECT_DOUBLE_EQ(zoom.level(row.askedFor), row.found);
    EXPECT_DOUBLE_EQ(zoom.level("other.test"), 1.5);
}

const double NaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    History, SiteZoomLevels,
    testing::Values(ZoomRow{"SameHost", "news.test", 1.25, "news.test", 1.25},
                    ZoomRow{"HostWithoutCase", "News.TEST", 0.8, "news.test", 0.8},
                    ZoomRow{"AnotherHost", "news.test", 1.25, "sport.news.test", 1.0},
                    ZoomRow{"HundredPercentForgets", "news.test", 1.0, "news.test", 1.0},
                    ZoomRow{"TooLarge", "news.test", 40.0, "news.test", SiteZoom::Highest},
                    ZoomRow{"TooSmall", "news.test", 0.0, "news.test", SiteZoom::Lowest},
                    ZoomRow{"NotANumberChangesNothing", "news.test", NaN, "news.test", 3.0},
                    ZoomRow{"HostileHost", "a'; DROP TABLE site_zoom; --", 2.0, "a'; drop table site_zoom; --", 2.0}),
    [](const testing::TestParamInfo<ZoomRow> &info) { return std::string(info.param.name); });

} // namespace
