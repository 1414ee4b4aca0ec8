#include "history/downloadrows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using downloadrows::Row;

DownloadRecord record(DownloadState state, std::int64_t received, std::int64_t size)
{
    DownloadRecord made;
    made.id = 7;
    made.fileName = "report.pdf";
    made.path = "/home/u/Downloads/report.pdf";
    made.source = "https://Files.Test:8443/get?id=1";
    made.received = received;
    made.size = size;
    made.state = state;
    return made;
}

// What a row says of a download at each point of its life.
TEST(DownloadRows, SayWhereEachDownloadStands)
{
    struct Case
    {
        const char *what;
        DownloadRecord record;
        double speed;
        bool there;
        std::string size, status;
        double fraction;
        bool running, openable;
    };
    const Case cases[] = {
        {"running, size known", record(DownloadState::Running, 1'500'000, 3'000'000), 250'000, true,
         "1.5\u00a0MB of 3.0\u00a0MB", "250.0\u00a0kB/s", 0.5, true, false},
        {"running, too early for a speed", record(DownloadState::Running, 0, 3'000'000), -1, false,
         "0 bytes of 3.0\u00a0MB", "Starting\u2026", 0, true, false},
        {"running, size unknown", record(DownloadState::Running, 2'048, -1), 900, false, "2.0\u00a0kB", "900 bytes/s",
         -1, true, false},
        {"more than announced", record(DownloadState::Running, 5'000, 4'000), 0, false, "5.0\u00a0kB of 4.0\u00a0kB",
         "0 bytes/s", 1, true, false},
        {"finished and there", record(DownloadState::Finished, 3'000'000, 3'000'000), -1, true, "3.0\u00a0MB", "Done",
         -1, false, true},
        {"finished, since moved", record(DownloadState::Finished, 3'000'000, 3'000'000), -1, false, "3.0\u00a0MB",
         "Moved or deleted", -1, false, false},
        {"failed part way", record(DownloadState::Failed, 10, 3'000'000), -1, true, "3.0\u00a0MB", "Failed", -1, false,
         false},
        {"cancelled, size unknown", record(DownloadState::Cancelled, 10, -1), -1, true, "", "Cancelled", -1, false,
         false},
    };
    for (const Case &c : cases) {
        const Row row = downloadrows::rowFor(c.record, c.speed, c.there);
        EXPECT_EQ(row.id, 7) << c.what;
        EXPECT_EQ(row.name, "report.pdf") << c.what;
        EXPECT_EQ(row.site, "files.test") << c.what;
        EXPECT_EQ(row.size, c.size) << c.what;
        EXPECT_EQ(row.status, c.status) << c.what;
        EXPECT_DOUBLE_EQ(row.fraction, c.fraction) << c.what;
        EXPECT_EQ(row.running, c.running) << c.what;
        EXPECT_EQ(row.openable, c.openable) << c.what;
    }
}

// The speed is what came over the last few seconds, not since the start.
TEST(DownloadRows, SpeedFollowsTheLastSeconds)
{
    struct Case
    {
        const char *what;
        std::vector<std::pair<std::int64_t, std::int64_t>> samples; // microseconds, bytes
        double expected;
    };
    const Case cases[] = {
        {"nothing yet", {}, -1},
        {"one sample", {{0, 100}}, -1},
        {"under half a second", {{0, 0}, {400'000, 4'000}}, -1},
        {"steady", {{0, 0}, {500'000, 1'000}, {1'000'000, 2'000}}, 2'000},
        {"slowed down: the first seconds are forgotten",
         {{0, 0}, {1'000'000, 9'000'000}, {2'000'000, 9'000'000}, {4'000'000, 9'000'000}, {5'000'000, 9'001'500}},
         500},
        {"stalled", {{0, 0}, {1'000'000, 500}, {2'000'000, 500}}, 250},
        {"fetched again from the start", {{0, 0}, {1'000'000, 4'000'000}, {1'500'000, 100}, {2'500'000, 1'100}},
         1'000},
    };
    for (const Case &c : cases) {
        downloadrows::Speed speed;
        for (const auto &[time, received] : c.samples)
            speed.add(time, received);
        EXPECT_DOUBLE_EQ(speed.bytesPerSecond(), c.expected) << c.what;
    }
}

TEST(DownloadRows, StatusNoteSaysHowFarTheRunningFilesAre)
{
    using Running = downloadrows::Running;
    struct Case
    {
        std::vector<Running> running;
        std::string expected;
    };
    const Case cases[] = {
        {{}, ""},
        {{{"a.zip", 450, 1000}}, "Downloading a.zip: 45%"},
        {{{"a.zip", 1000, 1000}}, "Downloading a.zip: 100%"},
        {{{"a.zip", 1200, 1000}}, "Downloading a.zip: 100%"},
        {{{"stream", 1'500'000, -1}}, "Downloading stream: 1.5\u00a0MB"},
        {{{"a.zip", 100, 1000}, {"b.iso", 900, 1000}}, "Downloading 2 files: 50%"},
        {{{"a.zip", 100, 1000}, {"stream", 900, -1}, {"c", 0, 5}}, "Downloading 3 files"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(downloadrows::statusNote(c.running), c.expected);
}

} // namespace
