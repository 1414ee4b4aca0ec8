#include "search/enginecatalogue.h"

#include <algorithm>

namespace enginecatalogue {

namespace {

// Search hosts. Rows that share a provider's host share one constant.
const std::string SearchPortalHost = "www.search.com";
const std::string AllTheWebHost = "www.alltheweb.com";
const std::string YahooSearchHost = "search.yahoo.com";
const std::string MsnSearchHost = "search.msn.com";
const std::string GoogleHost = "www.google.com";
// A name of no real site: reserved, so the hidden engine's keywords reach no third party.
const std::string SeekwaysHost = "www.seekways.example";
const std::string DmozSearchHost = "search.dmoz.org";
const std::string HotBotSearchHost = "hotbot.lycos.com";
const std::string LycosSearchHost = "search.lycos.com";
const std::string AltaVistaHost = "www.altavista.com";
const std::string DogpileSearchHost = "search.dogpile.com";
const std::string CbsNewsSearchHost = "search.atomz.com";
const std::string FoxNewsSearchHost = "search.foxnews.com";
const std::string CnnSearchHost = "cnn.looksmart.com";
const std::string WebCrawlerSearchHost = "search.webcrawler.com";
const std::string DownloadSiteHost = "download.com.com";
const std::string TechNewsHost = "news.com.com";
// The NBC news site, named inside the NBC News query on MSN's search host.
const std::string NbcNewsSiteHost = "www.msnbc.com";

// Front-page hosts of the engine tabs, where they differ from the search host.
const std::string YahooFrontHost = "www.yahoo.com";
const std::string MsnFrontHost = "www.msn.com";
const std::string LycosFrontHost = "www.lycos.com";
const std::string HotBotFrontHost = "www.hotbot.com";
const std::string WebCrawlerFrontHost = "www.webcrawler.com";
const std::string DmozFrontHost = "www.dmoz.org";

// Keywords travel encrypted: every query and front page is an https address.
const std::string Scheme = "https://";

constexpr int TabRebuildOrder[] = {3, 4, 5, 6, 7, 8, 9, 10, 2};

} // namespace

const std::vector<EngineRow> &rows()
{
    // Paths, query keys, fixed values and suffixes are what each engine
    // expects, byte for byte; only the hosts above are ours to choose.
    static const std::vector<EngineRow> table = {
        {"", SearchPortalHost, "/search?channel=1&tag=st.se.fd..sch&q=", "", {}},
        {"abc", AllTheWebHost, "/search?cat=web&lang=any&query=", "",
         {10, "  All The Web  ", Scheme + AllTheWebHost + "/"}},
        {"yahoo", YahooSearchHost, "/bin/search?p=", "", {3, "  Yahoo  ", Scheme + YahooFrontHost}},
        {"excite", MsnSearchHost, "/results.asp?RS=CHECKED&FORM=MSNH&v=1&q=", "",
         {5, "  MSN  ", Scheme + MsnFrontHost}},
        {"google", GoogleHost, "/search?q=", "", {4, "  Google  ", Scheme + GoogleHost}},
        {"seekways", SeekwaysHost, "/cgi-bin/sponsors/smartsearch.cgi?keywords=", "", {}},
        {"search", SearchPortalHost, "/search?channel=1&tag=st.se.fd..sch&q=", "", {}},
        {"overture", DmozSearchHost, "/cgi-bin/search?search=", "",
         {2, "  DMOZ - Open Directory Project  ", Scheme + DmozFrontHost}},
        {"hotbot", HotBotSearchHost, "/?query=", "", {7, "  HotBot  ", Scheme + HotBotFrontHost}},
        {"lycos", LycosSearchHost, "/main/default.asp?lpv=1&loc=searchhp&query=", "",
         {6, "  Lycos  ", Scheme + LycosFrontHost}},
        {"altavista", AltaVistaHost, "/sites/search/web?q=", "&pg=q&kl=XX",
         {9, "  Alta Vista  ", Scheme + AltaVistaHost}},
        {"dogpile", DogpileSearchHost, "/texis/search?q=", "&geo=no&fs=web", {}},
        {"seekways", SeekwaysHost, "/search/search.cgi?Terms=", "", {}},
        {"cbsnews", CbsNewsSearchHost, "/search/?sp-q=", "&sp-k=CBS+News&sp-s=1&sp-p=all&sp-a=sp5d2e8a71", {}},
        {"foxnews", FoxNewsSearchHost, "/cgi-bin/ss_query?sitenbr=44154048&help=0&sitemap=1&keys=", "", {}},
        {"cnnnews", CnnSearchHost,
         "/r_search?l&izch&qc=&col=cnni&qm=0&st=1&nh=10&rf=1&venue=all&keyword=&qp=&search=0&key=", "", {}},
        {"nbcnews", MsnSearchHost, "/vresults.asp?q=",
         "&tballssMSNBC=Go&FORM=MSNBC&RS=CHECKED&dom=" + NbcNewsSiteHost + "&un=doc&cfg=MSNBC&v=1&co=50&ba=0",
         {}},
        {"webcrawler", WebCrawlerSearchHost,
         "/_1_7Q3WMRA815TBXC4__info.wbcrwl/dog/results?otmpl=dog/webresults.htm&qkw=",
         "&qcat=web&qk=20&top=1&start=&ver=4012", {8, "  WebCrawler  ", Scheme + WebCrawlerFrontHost}},
        {"downloadcom", DownloadSiteHost, "/3120-20-0.html?qt=", "&tg=dl-2001", {}},
        {"newscomsearch", TechNewsHost, "/search?tag=st.ne.sr.srch.cnetnews&cat=282&q=", "", {}},
    };
    return table;
}

std::string encodeKeywords(const std::string &text)
{
    static const char Hex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size() * 3);
    for (const unsigned char c : text) {
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')
                                || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_'
                                || c == '~';
        if (unreserved) {
            encoded += char(c);
        } else {
            encoded += '%';
            encoded += Hex[c >> 4];
            encoded += Hex[c & 0xF];
        }
    }
    return encoded;
}

std::string queryAddress(const EngineRow &row, const std::string &text)
{
    return Scheme + row.host + row.pathAndQuery + encodeKeywords(text) + row.suffix;
}

std::vector<std::string> queryAddresses(const std::string &engineId, const std::string &text)
{
    // Every matching row counts, not only the first.
    std::vector<std::string> addresses;
    for (const EngineRow &row : rows()) {
        if (row.id == engineId)
            addresses.push_back(queryAddress(row, text));
    }
    return addresses;
}

std::vector<const EngineRow *> engineTabs()
{
    std::vector<const EngineRow *> tabs;
    for (const int position : TabRebuildOrder) {
        const auto &table = rows();
        const auto row = std::find_if(table.begin(), table.end(), [position](const EngineRow &r) {
            return r.tab.position == position;
        });
        tabs.push_back(&*row);
    }
    return tabs;
}

std::vector<std::string> tabCaptions()
{
    std::vector<std::string> captions(9);
    for (const EngineRow *tab : engineTabs())
        captions[tab->tab.position - 2] = tab->tab.caption;
    return captions;
}

std::string tabTarget(const EngineRow &row, const std::string &text)
{
    if (text.empty())
        return row.tab.frontPage;
    return queryAddress(row, text);
}

} // namespace enginecatalogue
