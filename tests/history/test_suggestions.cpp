#include "history/addresssuggestions.h"
#include "history/historydatabase.h"
#include "history/historystore.h"
#include "historytest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Store
{
    historytest::TempDir dir;
    HistoryDatabase db{dir.file("history.sqlite")};
    HistoryStore history{db};
    AddressSuggestions suggestions{db};
};

// The text with each range in brackets, as the address bar shows it in bold.
std::string marked(std::string text, const std::vector<textmatch::Range> &ranges)
{
    for (auto range = ranges.rbegin(); range != ranges.rend(); ++range) {
        text.insert(range->start + range->length, "]");
        text.insert(range->start, "[");
    }
    return text;
}

struct SuggestionRow
{
    const char *name;
    std::string typed;
    std::vector<std::string> shown; // "address | title", the words in brackets
};
void PrintTo(const SuggestionRow &row, std::ostream *out) { *out << row.name; }

class Suggestions : public testing::TestWithParam<SuggestionRow>
{
};

TEST_P(Suggestions, RankAndMarkWhatWasTyped)
{
    Store store;
    // address, title, times visited (the last the latest)
    for (const auto &[address, title, times] : std::vector<std::tuple<std::string, std::string, std::vector<int>>>{
             {"https://news.test/", "News today", {1, 2, 3}},
             {"https://newspaper.test/", "Daily paper", {4, 5, 6}},
             {"https://kitchen.test/", "Straße und Strauß", {7}},
             {"https://example.test/cv", "Résumé tips", {8}},
             {"https://renewal.test/", "Renewal office", {10}}}) {
        for (int time : times)
            ASSERT_NE(store.history.recordVisit(address, title, time), 0);
    }
    std::vector<std::string> shown;
    for (const Suggestion &suggestion : store.suggestions.find(GetParam().typed))
        shown.push_back(marked(suggestion.address, suggestion.inAddress) + " | "
                        + marked(suggestion.title, suggestion.inTitle));
    EXPECT_EQ(shown, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    History, Suggestions,
    testing::Values(
        SuggestionRow{"MostVisitedThenMostRecent",
                      "new",
                      {"https://[new]spaper.test/ | Daily paper", "https://[new]s.test/ | [New]s today",
                       "https://re[new]al.test/ | Re[new]al office"}},
        SuggestionRow{"EveryWordInBold", "today NEWS", {"https://[news].test/ | [News] [today]"}},
        SuggestionRow{"OverlappingWordsMerge",
                      "news ews new",
                      {"https://[news]paper.test/ | Daily paper", "https://[news].test/ | [News] today"}},
        SuggestionRow{"FoldingThatChangesLength", "STRASSE", {"https://kitchen.test/ | [Straße] und Strauß"}},
        SuggestionRow{"Accents", "rÉsumÉ", {"https://example.test/cv | [Résumé] tips"}},
        SuggestionRow{"AddressAndTitleTogether", "cv tips", {"https://example.test/[cv] | Résumé [tips]"}},
        SuggestionRow{"WildcardsAreLetters", "n%s", {}},
        SuggestionRow{"NothingTyped", "  ", {}},
        SuggestionRow{"NoMatch", "zzz", {}}),
    [](const testing::TestParamInfo<SuggestionRow> &info) { return std::string(info.param.name); });

TEST(AddressSuggestions, OffersAtMostEight)
{
    Store store;
    for (int n = 0; n < 12; ++n)
        store.history.recordVisit("https://many.test/" + std::to_string(n), "", n + 1);
    const std::vector<Suggestion> found = store.suggestions.find("many");
    ASSERT_EQ(found.size(), AddressSuggestions::MaxShown);
    EXPECT_EQ(found.front().address, "https://many.test/11");
}

TEST(AddressSuggestions, LongerTextIsFoundAmongAnyNumberOfAddresses)
{
    Store store;
    ASSERT_NE(store.history.recordVisit("https://zq-rare.test/", "Seen once", 1), 0);
    for (int n = 0; n < 1200; ++n)
        store.history.recordVisit("https://often.test/" + std::to_string(n), "", n + 2);
    // Two letters are looked for among the thousand best-ranked, three among all.
    EXPECT_TRUE(store.suggestions.find("zq").empty());
    const std::vector<Suggestion> found = store.suggestions.find("zq-");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].address, "https://zq-rare.test/");
}

} // namespace
