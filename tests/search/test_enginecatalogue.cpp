#include "search/enginecatalogue.h"
#include "search/enginemenuitems.h"

#include <gtest/gtest.h>
#include <set>

using namespace enginecatalogue;

namespace {
const std::string Portal = "https://www.search.com/search?channel=1&tag=st.se.fd..sch&q=cats";
const std::string Seekways1 = "https://www.seekways.example/cgi-bin/sponsors/smartsearch.cgi?keywords=cats";
const std::string Seekways2 = "https://www.seekways.example/search/search.cgi?Terms=cats";
} // namespace

TEST(EngineCatalogue, EveryRowBuildsItsAddress)
{
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"", Portal},
        {"abc", "https://www.alltheweb.com/search?cat=web&lang=any&query=cats"},
        {"yahoo", "https://search.yahoo.com/bin/search?p=cats"},
        {"excite", "https://search.msn.com/results.asp?RS=CHECKED&FORM=MSNH&v=1&q=cats"},
        {"google", "https://www.google.com/search?q=cats"},
        {"seekways", Seekways1},
        {"search", Portal},
        {"overture", "https://search.dmoz.org/cgi-bin/search?search=cats"},
        {"hotbot", "https://hotbot.lycos.com/?query=cats"},
        {"lycos", "https://search.lycos.com/main/default.asp?lpv=1&loc=searchhp&query=cats"},
        {"altavista", "https://www.altavista.com/sites/search/web?q=cats&pg=q&kl=XX"},
        {"dogpile", "https://search.dogpile.com/texis/search?q=cats&geo=no&fs=web"},
        {"seekways", Seekways2},
        {"cbsnews", "https://search.atomz.com/search/?sp-q=cats&sp-k=CBS+News&sp-s=1&sp-p=all&sp-a=sp5d2e8a71"},
        {"foxnews", "https://search.foxnews.com/cgi-bin/ss_query?sitenbr=44154048&help=0&sitemap=1&keys=cats"},
        {"cnnnews", "https://cnn.looksmart.com/r_search?l&izch&qc=&col=cnni&qm=0&st=1&nh=10&rf=1&venue=all"
                    "&keyword=&qp=&search=0&key=cats"},
        {"nbcnews", "https://search.msn.com/vresults.asp?q=cats&tballssMSNBC=Go&FORM=MSNBC&RS=CHECKED"
                    "&dom=www.msnbc.com&un=doc&cfg=MSNBC&v=1&co=50&ba=0"},
        {"webcrawler", "https://search.webcrawler.com/_1_7Q3WMRA815TBXC4__info.wbcrwl/dog/results"
                       "?otmpl=dog/webresults.htm&qkw=cats&qcat=web&qk=20&top=1&start=&ver=4012"},
        {"downloadcom", "https://download.com.com/3120-20-0.html?qt=cats&tg=dl-2001"},
        {"newscomsearch", "https://news.com.com/search?tag=st.ne.sr.srch.cnetnews&cat=282&q=cats"},
    };
    ASSERT_EQ(rows().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i + 1));
        EXPECT_EQ(rows()[i].id, expected[i].first);
        EXPECT_EQ(queryAddress(rows()[i], "cats"), expected[i].second);
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

TEST(EngineCatalogue, TabsInRebuildOrderWithFrontPagesAndSearches)
{
    const struct { int position; std::string caption, frontPage, search; } expected[] = {
        {3, "  Yahoo  ", "https://www.yahoo.com", "https://search.yahoo.com/bin/search?p=cats"},
        {4, "  Google  ", "https://www.google.com", "https://www.google.com/search?q=cats"},
        {5, "  MSN  ", "https://www.msn.com", "https://search.msn.com/results.asp?RS=CHECKED&FORM=MSNH&v=1&q=cats"},
        {6, "  Lycos  ", "https://www.lycos.com",
         "https://search.lycos.com/main/default.asp?lpv=1&loc=searchhp&query=cats"},
        {7, "  HotBot  ", "https://www.hotbot.com", "https://hotbot.lycos.com/?query=cats"},
        {8, "  WebCrawler  ", "https://www.webcrawler.com",
         "https://search.webcrawler.com/_1_7Q3WMRA815TBXC4__info.wbcrwl/dog/results"
         "?otmpl=dog/webresults.htm&qkw=cats&qcat=web&qk=20&top=1&start=&ver=4012"},
        {9, "  Alta Vista  ", "https://www.altavista.com", "https://www.altavista.com/sites/search/web?q=cats&pg=q&kl=XX"},
        {10, "  All The Web  ", "https://www.alltheweb.com/",
         "https://www.alltheweb.com/search?cat=web&lang=any&query=cats"},
        {2, "  DMOZ - Open Directory Project  ", "https://www.dmoz.org",
         "https://search.dmoz.org/cgi-bin/search?search=cats"},
    };
    const auto tabs = engineTabs();
    ASSERT_EQ(tabs.size(), std::size(expected));
    for (size_t i = 0; i < tabs.size(); ++i) {
        SCOPED_TRACE(expected[i].caption);
        EXPECT_EQ(tabs[i]->tab.position, expected[i].position);
        EXPECT_EQ(tabs[i]->tab.caption, expected[i].caption);
        EXPECT_EQ(tabTarget(*tabs[i], ""), expected[i].frontPage);
        EXPECT_EQ(tabTarget(*tabs[i], "cats"), expected[i].search);
        // Only the empty string is empty: a blank is searched for.
        EXPECT_NE(tabTarget(*tabs[i], " ").find("%20"), std::string::npos);
    }
    EXPECT_EQ(tabCaptions(), (std::vector<std::string>{
                                 "  DMOZ - Open Directory Project  ", "  Yahoo  ", "  Google  ", "  MSN  ",
                                 "  Lycos  ", "  HotBot  ", "  WebCrawler  ", "  Alta Vista  ",
                                 "  All The Web  "}));
}

TEST(EngineCatalogue, StartupMarksFollowTheStoredId)
{
    const struct { std::string engine; std::set<std::string> items; } cases[] = {
        {"google", {"mnugoogle"}},
        {"excite", {"mnuexcite"}},
        {"seekways", {"mnuaskjeeves", "mnuseekways"}},
        {"", {"mnusearchcom"}},
        {"search", {"mnusearchcom"}},
        {"dogpile", {}},
        {"Google", {}},
    };
    for (const auto &c : cases) {
        std::set<std::string> marked;
        for (const EngineMark &mark : StartupEngineMarks) {
            if (c.engine == mark.engineId)
                marked.insert(mark.item);
        }
        EXPECT_EQ(marked, c.items) << "engine '" << c.engine << "'";
    }
}
