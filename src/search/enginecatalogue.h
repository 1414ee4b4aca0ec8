#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The search engines the program knows: how an engine id and the words typed
// into the search box become query addresses, and where the engine tabs go.
// Everything here is a pure function of its arguments.
namespace enginecatalogue {

// Search hosts. Rows that share a provider's host share one constant.
inline const QString SearchPortalHost = QStringLiteral("www.search.com");
inline const QString AllTheWebHost = QStringLiteral("www.alltheweb.com");
inline const QString YahooSearchHost = QStringLiteral("search.yahoo.com");
inline const QString MsnSearchHost = QStringLiteral("search.msn.com");
inline const QString GoogleHost = QStringLiteral("www.google.com");
// A name of no real site: reserved, so the hidden engine's keywords reach no third party.
inline const QString SeekwaysHost = QStringLiteral("www.seekways.example");
inline const QString DmozSearchHost = QStringLiteral("search.dmoz.org");
inline const QString HotBotSearchHost = QStringLiteral("hotbot.lycos.com");
inline const QString LycosSearchHost = QStringLiteral("search.lycos.com");
inline const QString AltaVistaHost = QStringLiteral("www.altavista.com");
inline const QString DogpileSearchHost = QStringLiteral("search.dogpile.com");
inline const QString CbsNewsSearchHost = QStringLiteral("search.atomz.com");
inline const QString FoxNewsSearchHost = QStringLiteral("search.foxnews.com");
inline const QString CnnSearchHost = QStringLiteral("cnn.looksmart.com");
inline const QString WebCrawlerSearchHost = QStringLiteral("search.webcrawler.com");
inline const QString DownloadSiteHost = QStringLiteral("download.com.com");
inline const QString TechNewsHost = QStringLiteral("news.com.com");
// The NBC news site, named inside the NBC News query on MSN's search host.
inline const QString NbcNewsSiteHost = QStringLiteral("www.msnbc.com");

// Front-page hosts of the engine tabs, where they differ from the search host.
inline const QString YahooFrontHost = QStringLiteral("www.yahoo.com");
inline const QString MsnFrontHost = QStringLiteral("www.msn.com");
inline const QString LycosFrontHost = QStringLiteral("www.lycos.com");
inline const QString HotBotFrontHost = QStringLiteral("www.hotbot.com");
inline const QString WebCrawlerFrontHost = QStringLiteral("www.webcrawler.com");
inline const QString DmozFrontHost = QStringLiteral("www.dmoz.org");

// One row of the catalogue: "http://" + host + pathAndQuery + keywords + suffix.
struct EngineRow
{
    QString id;
    QString host;
    QString pathAndQuery;
    QString suffix;
};

// The 20 rows in order. Ids are not unique: an id with two rows searches twice.
const QList<EngineRow> &rows();

// The keywords as a query value: UTF-8, everything outside the unreserved
// characters percent-encoded, so "C++", "AT&T" or "50% off" reach the engine
// as typed.
QString encodeKeywords(const QString &text);

// The query address of one row for the typed text.
QString queryAddress(const EngineRow &row, const QString &text);

// Every row whose id equals engineId exactly, in table order. An id no row
// carries (including one that differs only in case) gives none.
QStringList queryAddresses(const QString &engineId, const QString &text);

// One engine tab of the tab strip.
struct EngineTab
{
    int position;  // 1-based tab position, 2..10
    int row;       // 1-based catalogue row searched when the box holds text
    QString frontPage;
};

// The nine engine tabs in the order their targets are rebuilt: 3..10, then 2.
const QList<EngineTab> &engineTabs();

// A tab's target: the search for the text, or the front page when the text is
// empty (only the empty string counts: blanks are words to search for).
QString tabTarget(const EngineTab &tab, const QString &text);

} // namespace enginecatalogue
