#include "search/enginecatalogue.h"

#include <gtest/gtest.h>

using namespace enginecatalogue;

namespace {
const std::string Portal = "https://www.search.com/search?channel=1&tag=st.se.fd..sch&q=cats";
const std::string Seekways1 = "https://www.seekways.example/cgi-bin/sponsors/smartsearch.cgi?keywords=cats";
const std::string Seekways2 = "https://www.seekways.example/search/search.cgi?Terms=cats";
} // namespace

// Every row searches its own host, encrypted, with the words once; a tab row
// also has an encrypted front page for an empty search box.
TEST(EngineCatalogue, EveryRowSearchesItsOwnHostOverHttpsWithTheWordsOnce)
{
    for (const EngineRow &row : rows()) {
        SCOPED_TRACE(row.id + " " + row.host);
        const std::string address = queryAddress(row, "k%y w");
        EXPECT_EQ(address.rfind("https://" + row.host + "/", 0), 0u) << address;
        const std::size_t words = address.find("k%25y%20w");
        EXPECT_NE(words, std::string::npos) << address;
        EXPECT_EQ(address.find("k%25y%20w", words + 1), std::string::npos) << address;
        if (row.tab.position) {
            EXPECT_EQ(tabTarget(row, "").rfind("https://", 0), 0u);
            EXPECT_EQ(tabTarget(row, "x"), queryAddress(row, "x"));
        }
    }
}

TEST(EngineCatalogue, EngineIdSelectsEveryMatchingRowExactly)
{
    const struct { std::string engine; std::vector<std::string> addresses; } cases[] = {
        {"seekways", {Seekways1, Seekways2}},
        {"", {Portal}},
        {"Google", {}},
        {"google ", {}},
        {"bing", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(queryAddresses(c.engine, "cats"), c.addresses) << "engine '" << c.engine << "'";
}

TEST(EngineCatalogue, KeywordsArePercentEncoded)
{
    const struct { std::string text, encoded; } cases[] = {
        {"C++ & C#", "C%2B%2B%20%26%20C%23"},
        {"50% off", "50%25%20off"},
        {"naïve café", "na%C3%AFve%20caf%C3%A9"},
        {"a=b/c?Az09-._~", "a%3Db%2Fc%3FAz09-._~"},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(queryAddresses("altavista", c.text),
                  std::vector<std::string>{"https://www.altavista.com/sites/search/web?q=" + c.encoded
                                           + "&pg=q&kl=XX"})
            << c.text;
}
