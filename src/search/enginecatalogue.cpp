#include "enginecatalogue.h"

#include <QUrl>

namespace enginecatalogue {

const QList<EngineRow> &rows()
{
    // Paths, query keys, fixed values and suffixes are what each engine
    // expects, byte for byte; only the hosts above are ours to choose.
    static const QList<EngineRow> table = {
        /*  1 */ {QString(), SearchPortalHost, QStringLiteral("/search?channel=1&tag=st.se.fd..sch&q="), QString()},
        /*  2 */ {QStringLiteral("abc"), AllTheWebHost, QStringLiteral("/search?cat=web&lang=any&query="), QString()},
        /*  3 */ {QStringLiteral("yahoo"), YahooSearchHost, QStringLiteral("/bin/search?p="), QString()},
        /*  4 */ {QStringLiteral("excite"), MsnSearchHost, QStringLiteral("/results.asp?RS=CHECKED&FORM=MSNH&v=1&q="), QString()},
        /*  5 */ {QStringLiteral("google"), GoogleHost, QStringLiteral("/search?q="), QString()},
        /*  6 */ {QStringLiteral("seekways"), SeekwaysHost, QStringLiteral("/cgi-bin/sponsors/smartsearch.cgi?keywords="), QString()},
        /*  7 */ {QStringLiteral("search"), SearchPortalHost, QStringLiteral("/search?channel=1&tag=st.se.fd..sch&q="), QString()},
        /*  8 */ {QStringLiteral("overture"), DmozSearchHost, QStringLiteral("/cgi-bin/search?search="), QString()},
        /*  9 */ {QStringLiteral("hotbot"), HotBotSearchHost, QStringLiteral("/?query="), QString()},
        /* 10 */ {QStringLiteral("lycos"), LycosSearchHost, QStringLiteral("/main/default.asp?lpv=1&loc=searchhp&query="), QString()},
        /* 11 */ {QStringLiteral("altavista"), AltaVistaHost, QStringLiteral("/sites/search/web?q="), QStringLiteral("&pg=q&kl=XX")},
        /* 12 */ {QStringLiteral("dogpile"), DogpileSearchHost, QStringLiteral("/texis/search?q="), QStringLiteral("&geo=no&fs=web")},
        /* 13 */ {QStringLiteral("seekways"), SeekwaysHost, QStringLiteral("/search/search.cgi?Terms="), QString()},
        /* 14 */ {QStringLiteral("cbsnews"), CbsNewsSearchHost, QStringLiteral("/search/?sp-q="),
                  QStringLiteral("&sp-k=CBS+News&sp-s=1&sp-p=all&sp-a=sp5d2e8a71")},
        /* 15 */ {QStringLiteral("foxnews"), FoxNewsSearchHost,
                  QStringLiteral("/cgi-bin/ss_query?sitenbr=44154048&help=0&sitemap=1&keys="), QString()},
        /* 16 */ {QStringLiteral("cnnnews"), CnnSearchHost,
                  QStringLiteral("/r_search?l&izch&qc=&col=cnni&qm=0&st=1&nh=10&rf=1&venue=all&keyword=&qp=&search=0&key="),
                  QString()},
        /* 17 */ {QStringLiteral("nbcnews"), MsnSearchHost, QStringLiteral("/vresults.asp?q="),
                  QStringLiteral("&tballssMSNBC=Go&FORM=MSNBC&RS=CHECKED&dom=") + NbcNewsSiteHost
                      + QStringLiteral("&un=doc&cfg=MSNBC&v=1&co=50&ba=0")},
        /* 18 */ {QStringLiteral("webcrawler"), WebCrawlerSearchHost,
                  QStringLiteral("/_1_7Q3WMRA815TBXC4__info.wbcrwl/dog/results?otmpl=dog/webresults.htm&qkw="),
                  QStringLiteral("&qcat=web&qk=20&top=1&start=&ver=4012")},
        /* 19 */ {QStringLiteral("downloadcom"), DownloadSiteHost, QStringLiteral("/3120-20-0.html?qt="),
                  QStringLiteral("&tg=dl-2001")},
        /* 20 */ {QStringLiteral("newscomsearch"), TechNewsHost,
                  QStringLiteral("/search?tag=st.ne.sr.srch.cnetnews&cat=282&q="), QString()},
    };
    return table;
}

QString encodeKeywords(const QString &text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

QString queryAddress(const EngineRow &row, const QString &text)
{
    return QStringLiteral("http://") + row.host + row.pathAndQuery + encodeKeywords(text) + row.suffix;
}

QStringList queryAddresses(const QString &engineId, const QString &text)
{
    // Every matching row counts, not only the first. The empty id is compared
    // by emptiness, so a null and an empty string are the same id.
    QStringList addresses;
    for (const EngineRow &row : rows()) {
        if (row.id == engineId)
            addresses << queryAddress(row, text);
    }
    return addresses;
}

const QList<EngineTab> &engineTabs()
{
    static const QList<EngineTab> tabs = {
        {3, 3, QStringLiteral("http://") + YahooFrontHost},
        {4, 5, QStringLiteral("http://") + GoogleHost},
        {5, 4, QStringLiteral("http://") + MsnFrontHost},
        {6, 10, QStringLiteral("http://") + LycosFrontHost},
        {7, 9, QStringLiteral("http://") + HotBotFrontHost},
        {8, 18, QStringLiteral("http://") + WebCrawlerFrontHost},
        {9, 11, QStringLiteral("http://") + AltaVistaHost},
        {10, 2, QStringLiteral("http://") + AllTheWebHost + QLatin1Char('/')},
        {2, 8, QStringLiteral("http://") + DmozFrontHost},
    };
    return tabs;
}

QString tabTarget(const EngineTab &tab, const QString &text)
{
    if (text.isEmpty())
        return tab.frontPage;
    return queryAddress(rows().at(tab.row - 1), text);
}

} // namespace enginecatalogue
