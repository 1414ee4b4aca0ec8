#include "search/enginecatalogue.h"

#include <gtest/gtest.h>

using namespace enginecatalogue;

namespace {
const std::string Portal = "https://www.search.com/search?channel=1&tag=st.se.fd..sch&q=cats";
const std::string Seekways1 = "https://www.seekways.example/cgi-bin/sponsors/smartsearch.cgi?keywords=cats";
const std::string Seekways2 = "https://www.seekways.example/search/search.cgi?Terms=cats";
} // namespace

TEST(EngineCatalogue, EveryRowBuildsItsAddressAndItsTabsFrontPage)
{
    const struct { std::string id, address; int tab; std::string frontPage; } expected[] = {
        {"", Portal, 0, ""},
        {"abc", "https://www.alltheweb.com/search?cat=web&lang=any&query=cats", 10, "https://www.alltheweb.com/"},
        {"yahoo", "https://search.yahoo.com/bin/search?p=cats", 3, "https://www.yahoo.com"},
        {"excite", "https://search.msn.com/results.asp?RS=CHECKED&FORM=MSNH&v=1&q=cats", 5, "https://www.msn.com"},
        {"google", "https://www.google.com/search?q=cats", 4, "https://www.google.com"},
        {"seekways", Seekways1, 0, ""},
        {"search", Portal, 0, ""},
        {"overture", "https://search.dmoz.org/cgi-bin/search?search=cats", 2, "https://www.dmoz.org"},
        {"hotbot", "https://hotbot.lycos.com/?query=cats", 7, "https://www.hotbot.com"},
        {"lycos", "https://search.lycos.com/main/default.asp?lpv=1&loc=searchhp&query=cats", 6, "https://www.lycos.com"},
        {"altavista", "https://www.altavista.com/sites/search/web?q=cats&pg=q&kl=XX", 9, "https://www.altavista.com"},
        {"dogpile", "https://search.dogpile.com/texis/search?q=cats&geo=no&fs=web", 0, ""},
        {"seekways", Seekways2, 0, ""},
        {"cbsnews", "https://search.atomz.com/search/?sp-q=cats&sp-k=CBS+News&sp-s=1&sp-p=all&sp-a=sp5d2e8a71", 0, ""},
        {"foxnews", "https://search.foxnews.com/cgi-bin/ss_query?sitenbr=44154048&help=0&sitemap=1&keys=cats", 0, ""},
        {"cnnnews", "https://cnn.looksmart.com/r_search?l&izch&qc=&col=cnni&qm=0&st=1&nh=10&rf=1&venue=all"
                    "&keyword=&qp=&search=0&key=cats", 0, ""},
        {"nbcnews", "https://search.msn.com/vresults.asp?q=cats&tballssMSNBC=Go&FORM=MSNBC&RS=CHECKED"
                    "&dom=www.msnbc.com&un=doc&cfg=MSNBC&v=1&co=50&ba=0", 0, ""},
        {"webcrawler", "https://search.webcrawler.com/_1_7Q3WMRA815TBXC4__info.wbcrwl/dog/results"
                       "?otmpl=dog/webresults.htm&qkw=cats&qcat=web&qk=20&top=1&start=&ver=4012",
         8, "https://www.webcrawler.com"},
        {"downloadcom", "https://download.com.com/3120-20-0.html?qt=cats&tg=dl-2001", 0, ""},
        {"newscomsearch", "https://news.com.com/search?tag=st.ne.sr.srch.cnetnews&cat=282&q=cats", 0, ""},
    };
    ASSERT_EQ(rows().size(), std::size(expected));
    for (size_t i = 0; i < rows().size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i + 1));
        EXPECT_EQ(rows()[i].id, expected[i].id);
        EXPECT_EQ(queryAddress(rows()[i], "cats"), expected[i].address);
        EXPECT_EQ(rows()[i].tab.position, expected[i].tab);
        EXPECT_EQ(tabTarget(rows()[i], ""), expected[i].frontPage);
    }
    std::vector<int> rebuildOrder;
    for (const EngineRow *tab : engineTabs())
        rebuildOrder.push_back(tab->tab.position);
    EXPECT_EQ(rebuildOrder, (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10, 2}));
    EXPECT_EQ(tabCaptions(), (std::vector<std::string>{"  DMOZ - Open Directory Project  ", "  Yahoo  ", "  Google  ",
                                                       "  MSN  ", "  Lycos  ", "  HotBot  ", "  WebCrawler  ",
                                                       "  Alta Vista  ", "  All The Web  "}));
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
