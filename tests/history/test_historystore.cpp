#include "history/historydatabase.h"
#include "history/historystore.h"
#include "historytest.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using historytest::at;

namespace {

struct Store
{
    historytest::TempDir dir;
    HistoryDatabase db{dir.file("history.sqlite")};
    HistoryStore history{db};
};

std::vector<std::string> addresses(const std::vector<Visit> &visits)
{
    std::vector<std::string> result;
    for (const Visit &visit : visits)
        result.push_back(visit.address);
    return result;
}

struct DayRow
{
    const char *name;
    const char *zone;
    std::vector<const char *> times; // newest first, as listed
    std::string days;                // "YYYY-MM-DD:visits" each
};
void PrintTo(const DayRow &row, std::ostream *out) { *out << row.name; }

class HistoryDays : public testing::TestWithParam<DayRow>
{
};

TEST_P(HistoryDays, GroupByTheLocalDate)
{
    const DayRow &row = GetParam();
    std::vector<Visit> visits;
    for (const char *time : row.times)
        visits.push_back({std::int64_t(visits.size() + 1), "https://a.test/", "", at(time)});
    std::string days;
    for (const HistoryDay &day : HistoryStore::byDay(visits, Glib::TimeZone::create(row.zone))) {
        gchar *text = g_strdup_printf("%s%04d-%02d-%02d:%zu", days.empty() ? "" : " ", day.year, day.month, day.day,
                                      day.visits.size());
        days += text;
        g_free(text);
    }
    EXPECT_EQ(days, row.days);
}

INSTANTIATE_TEST_SUITE_P(
    History, HistoryDays,
    testing::Values(
        DayRow{"OneSecondEachSideOfMidnight", "+02:00", {"2024-03-10T00:00:01+02:00", "2024-03-09T23:59:59+02:00"},
               "2024-03-10:1 2024-03-09:1"},
        DayRow{"OneLocalDayAcrossMidnightInUtc", "-05:00", {"2024-03-09T21:00:00-05:00", "2024-03-09T08:00:00-05:00"},
               "2024-03-09:2"},
        DayRow{"TheDayTheClocksGoForward", "CET-1CEST,M3.5.0,M10.5.0/3",
               {"2024-03-31T23:30:00+02:00", "2024-03-31T01:30:00+01:00", "2024-03-30T23:59:00+01:00"},
               "2024-03-31:2 2024-03-30:1"},
        DayRow{"Nothing", "+00:00", {}, ""}),
    [](const testing::TestParamInfo<DayRow> &info) { return std::string(info.param.name); });

TEST(HistoryStore, ListsNewestFirstPageByPage)
{
    Store store;
    // Recorded out of order; two at the same moment come newest recorded first.
    const std::int64_t noon = at("2024-05-01T12:00:00Z");
    for (const auto &[address, time] : std::vector<std::pair<std::string, std::int64_t>>{
             {"https://b.test/", noon - 60000000}, {"https://d.test/", noon + 1}, {"https://a.test/", noon - 120000000},
             {"https://c.test/", noon}, {"https://c2.test/", noon}})
        ASSERT_NE(store.history.recordVisit(address, "", time), 0);
    const std::vector<std::string> newestFirst{"https://d.test/", "https://c2.test/", "https://c.test/",
                                               "https://b.test/", "https://a.test/"};
    EXPECT_EQ(addresses(store.history.visits()), newestFirst);

    std::vector<std::string> paged;
    std::vector<Visit> page = store.history.visits("", 2);
    while (!page.empty()) {
        for (const std::string &address : addresses(page))
            paged.push_back(address);
        page = store.history.visits("", 2, &page.back());
    }
    EXPECT_EQ(paged, newestFirst);
}

struct SearchRow
{
    const char *name;
    std::string search;
    std::vector<std::string> found;
};
void PrintTo(const SearchRow &row, std::ostream *out) { *out << row.name; }

class HistorySearch : public testing::TestWithParam<SearchRow>
{
};

TEST_P(HistorySearch, MatchesEveryWordInAddressOrTitle)
{
    Store store;
    std::int64_t time = at("2024-05-01T12:00:00Z");
    for (const auto &[address, title] : std::vector<std::pair<std::string, std::string>>{
             {"https://plain.test/a", "Plain"},
             {"https://unicode.test/", "Été à Paris"},
             {"https://quotes.test/", "It's \"quoted\" by O'Brien"},
             {"https://under_score.test/", "Snake case"},
             {"https://kitchen.test/?q=50%25", "Recipes: 50% off"},
             {"https://news.test/today", "News of the day"}})
        ASSERT_NE(store.history.recordVisit(address, title, time += 1000000), 0);
    EXPECT_EQ(addresses(store.history.visits(GetParam().search)), GetParam().found);
}

const std::vector<std::string> Everything{"https://news.test/today", "https://kitchen.test/?q=50%25",
                                          "https://under_score.test/", "https://quotes.test/",
                                          "https://unicode.test/", "https://plain.test/a"};

INSTANTIATE_TEST_SUITE_P(
    History, HistorySearch,
    testing::Values(SearchRow{"Address", "news.te", {"https://news.test/today"}},
                    SearchRow{"TitleWithoutCase", "NEWS OF", {"https://news.test/today"}},
                    SearchRow{"WordsInEitherPlace", "plain test/a", {"https://plain.test/a"}},
                    SearchRow{"EveryWordMustBeFound", "news kitchen", {}},
                    SearchRow{"AccentsWithoutCase", "ÉTÉ", {"https://unicode.test/"}},
                    SearchRow{"PercentIsALetter", "%", {"https://kitchen.test/?q=50%25"}},
                    SearchRow{"UnderscoreIsALetter", "_", {"https://under_score.test/"}},
                    SearchRow{"Backslash", "\\", {}},
                    SearchRow{"Quotes", "'s \"quoted\"", {"https://quotes.test/"}},
                    SearchRow{"SqlText", "' OR 1=1 --", {}},
                    SearchRow{"BinaryJunk", "\xff\xfe\x80", {}},
                    SearchRow{"Blank", " \t ", Everything}),
    [](const testing::TestParamInfo<SearchRow> &info) { return std::string(info.param.name); });

TEST(HistoryStore, SearchesAnyNumberOfAddressesNewestFirst)
{
    Store store;
    for (int n = 0; n < 2100; ++n)
        ASSERT_NE(store.history.recordVisit("https://often.test/" + std::to_string(n), "", n + 10), 0);
    store.history.recordVisit("https://seldom.test/", "", 1);
    const std::vector<Visit> found = store.history.visits("often", 5000);
    ASSERT_EQ(found.size(), 2100u);
    EXPECT_EQ(found.front().address, "https://often.test/2099");
    EXPECT_EQ(found.back().address, "https://often.test/0");
}

struct HostileRow
{
    const char *name;
    std::string address;
    std::string title;
    std::string keptAddress; // "" when it is not kept
    std::string keptTitle;
};
void PrintTo(const HostileRow &row, std::ostream *out) { *out << row.name; }

class HostileVisit : public testing::TestWithParam<HostileRow>
{
};

TEST_P(HostileVisit, IsKeptAsValidTextAndFoundByIt)
{
    const HostileRow &row = GetParam();
    Store store;
    const std::int64_t visit = store.history.recordVisit(row.address, row.title);
    EXPECT_EQ(visit != 0, !row.keptAddress.empty());
    const std::vector<Visit> visits = store.history.visits();
    ASSERT_EQ(visits.size(), row.keptAddress.empty() ? 0u : 1u);
    if (visits.empty())
        return;
    EXPECT_EQ(visits[0].address, row.keptAddress);
    EXPECT_EQ(visits[0].title, row.keptTitle);
    EXPECT_EQ(store.history.visits(row.keptAddress).size(), 1u);
}

const std::string LongAddress = "https://long.test/" + std::string(10000, 'x');
std::string repeated(const std::string &text, int times)
{
    std::string result;
    while (times-- > 0)
        result += text;
    return result;
}

INSTANTIATE_TEST_SUITE_P(
    History, HostileVisit,
    testing::Values(
        HostileRow{"Quotes", "https://q.test/?a='1'&b=\"2\"", "Tom's \"page\"", "https://q.test/?a='1'&b=\"2\"",
                   "Tom's \"page\""},
        HostileRow{"LikeWildcards", "https://w.test/%_\\%", "100% _real_", "https://w.test/%_\\%", "100% _real_"},
        HostileRow{"BinaryJunk", "https://j.test/\xff\xfe\x80", "\xc3\x28 bad", "https://j.test/\uFFFD\uFFFD\uFFFD",
                   "\uFFFD( bad"},
        HostileRow{"NulInTitle", "https://n.test/", std::string("a\0b", 3), "https://n.test/", "a\uFFFDb"},
        HostileRow{"VeryLongAddress", LongAddress, "Long", LongAddress, "Long"},
        HostileRow{"TitleCutAtAWholeCharacter", "https://t.test/", repeated("é", 5000), "https://t.test/",
                   repeated("é", 2048)},
        HostileRow{"AddressTooLongToKeep", "data:text/plain," + std::string(HistoryStore::MaxAddress, 'x'), "", "", ""},
        HostileRow{"NoAddress", "", "Title", "", ""}),
    [](const testing::TestParamInfo<HostileRow> &info) { return std::string(info.param.name); });

TEST(HistoryStore, ATitleArrivingLaterNamesTheAddress)
{
    Store store;
    const std::int64_t first = store.history.recordVisit("https://t.test/", "");
    ASSERT_TRUE(store.history.setTitle(first, "Late title"));
    // A later visit whose title has not arrived yet keeps the one known.
    store.history.recordVisit("https://t.test/", "");
    for (const Visit &visit : store.history.visits())
        EXPECT_EQ(visit.title, "Late title");
    EXPECT_EQ(store.history.visits("late").size(), 2u);
    EXPECT_FALSE(store.history.setTitle(first + 1000, "Nobody"));
}

TEST(HistoryStore, DeletedVisitsLeaveNoTraceOfTheirAddress)
{
    Store store;
    const std::string path = store.db.path();
    store.history.recordVisit("https://a.test/", "A", 1000);
    const std::int64_t a2 = store.history.recordVisit("https://a.test/", "A", 2000);
    const std::int64_t b = store.history.recordVisit("https://b.test/secret-marker", "B", 3000);
    ASSERT_TRUE(store.history.remove({a2, b, 424242}));
    EXPECT_EQ(addresses(store.history.visits()), std::vector<std::string>{"https://a.test/"});
    EXPECT_EQ(historytest::ask(path, "SELECT address || ' ' || visit_count || ' ' || last_visit FROM places"),
              "https://a.test/ 1 1000");

    for (int n = 0; n < 500; ++n)
        store.history.recordVisit("https://c.test/secret-marker/" + std::to_string(n), "secret-marker");
    ASSERT_TRUE(store.history.clear());
    EXPECT_TRUE(store.history.visits().empty());
    EXPECT_EQ(historytest::ask(path, "SELECT count(*) FROM places"), "0");
    // Neither the file nor its journal holds the deleted text any more.
    for (const std::string &file : {path, path + "-wal"})
        EXPECT_EQ(testutil::fileContents(file).find("secret-marker"), std::string::npos) << file;
}

} // namespace
