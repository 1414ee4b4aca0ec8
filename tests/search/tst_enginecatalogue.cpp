#include "search/enginecatalogue.h"
#include "support/testmain.h"

#include <QtTest>

using namespace enginecatalogue;

namespace {
const QString Portal = "http://www.search.com/search?channel=1&tag=st.se.fd..sch&q=cats";
const QString Seekways1 = "http://www.seekways.example/cgi-bin/sponsors/smartsearch.cgi?keywords=cats";
const QString Seekways2 = "http://www.seekways.example/search/search.cgi?Terms=cats";
} // namespace

class tst_EngineCatalogue : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { QTest::failOnWarning(QRegularExpression(".*")); }
    void everyRowBuildsItsAddress();
    void engineIdSelectsRows_data();
    void engineIdSelectsRows();
    void keywordsArePercentEncoded_data();
    void keywordsArePercentEncoded();
    void tabTargets();
};

void tst_EngineCatalogue::everyRowBuildsItsAddress()
{
    const QList<QPair<QString, QString>> expected = {
        {"", Portal},
        {"abc", "http://www.alltheweb.com/search?cat=web&lang=any&query=cats"},
        {"yahoo", "http://search.yahoo.com/bin/search?p=cats"},
        {"excite", "http://search.msn.com/results.asp?RS=CHECKED&FORM=MSNH&v=1&q=cats"},
        {"google", "http://www.google.com/search?q=cats"},
        {"seekways", Seekways1},
        {"search", Portal},
        {"overture", "http://search.dmoz.org/cgi-bin/search?search=cats"},
        {"hotbot", "http://hotbot.lycos.com/?query=cats"},
        {"lycos", "http://search.lycos.com/main/default.asp?lpv=1&loc=searchhp&query=cats"},
        {"altavista", "http://www.altavista.com/sites/search/web?q=cats&pg=q&kl=XX"},
        {"dogpile", "http://search.dogpile.com/texis/search?q=cats&geo=no&fs=web"},
        {"seekways", Seekways2},
        {"cbsnews", "http://search.atomz.com/search/?sp-q=cats&sp-k=CBS+News&sp-s=1&sp-p=all&sp-a=sp5d2e8a71"},
        {"foxnews", "http://search.foxnews.com/cgi-bin/ss_query?sitenbr=44154048&help=0&sitemap=1&keys=cats"},
        {"cnnnews", "http://cnn.looksmart.com/r_search?l&izch&qc=&col=cnni&qm=0&st=1&nh=10&rf=1&venue=all"
                    "&keyword=&qp=&search=0&key=cats"},
        {"nbcnews", "http://search.msn.com/vresults.asp?q=cats&tballssMSNBC=Go&FORM=MSNBC&RS=CHECKED"
                    "&dom=www.msnbc.com&un=doc&cfg=MSNBC&v=1&co=50&ba=0"},
        {"webcrawler", "http://search.webcrawler.com/_1_7Q3WMRA815TBXC4__info.wbcrwl/dog/results"
                       "?otmpl=dog/webresults.htm&qkw=cats&qcat=web&qk=20&top=1&start=&ver=4012"},
        {"downloadcom", "http://download.com.com/3120-20-0.html?qt=cats&tg=dl-2001"},
        {"newscomsearch", "http://news.com.com/search?tag=st.ne.sr.srch.cnetnews&cat=282&q=cats"},
    };
    QCOMPARE(rows().size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(rows().at(i).id, expected[i].first);
        QCOMPARE(queryAddress(rows().at(i), "cats"), expected[i].second);
    }
}

void tst_EngineCatalogue::engineIdSelectsRows_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QStringList>("addresses");
    QTest::newRow("seekways walks two rows in order") << "seekways" << QStringList{Seekways1, Seekways2};
    QTest::newRow("empty id") << "" << QStringList{Portal};
    QTest::newRow("null id") << QString() << QStringList{Portal};
    QTest::newRow("capital letter") << "Google" << QStringList{};
    QTest::newRow("trailing blank") << "google " << QStringList{};
    QTest::newRow("unknown id") << "bing" << QStringList{};
}

void tst_EngineCatalogue::engineIdSelectsRows()
{
    QFETCH(QString, engine);
    QFETCH(QStringList, addresses);
    QCOMPARE(queryAddresses(engine, "cats"), addresses);
}

void tst_EngineCatalogue::keywordsArePercentEncoded_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("encoded");
    QTest::newRow("plus ampersand hash") << "C++ & C#" << "C%2B%2B%20%26%20C%23";
    QTest::newRow("percent sign") << "50% off" << "50%25%20off";
    QTest::newRow("non-ascii as utf-8") << QString::fromUtf8("naïve café") << "na%C3%AFve%20caf%C3%A9";
    QTest::newRow("reserved and unreserved") << "a=b/c?Az09-._~" << "a%3Db%2Fc%3FAz09-._~";
    QTest::newRow("empty") << "" << "";
}

void tst_EngineCatalogue::keywordsArePercentEncoded()
{
    QFETCH(QString, text);
    QFETCH(QString, encoded);
    QCOMPARE(encodeKeywords(text), encoded);
    QCOMPARE(queryAddresses("altavista", text),
             QStringList{"http://www.altavista.com/sites/search/web?q=" + encoded + "&pg=q&kl=XX"});
}

void tst_EngineCatalogue::tabTargets()
{
    // position, front page, search for "cats"; in rebuild order 3..10, then 2.
    const QList<std::tuple<int, QString, QString>> expected = {
        {3, "http://www.yahoo.com", "http://search.yahoo.com/bin/search?p=cats"},
        {4, "http://www.google.com", "http://www.google.com/search?q=cats"},
        {5, "http://www.msn.com", "http://search.msn.com/results.asp?RS=CHECKED&FORM=MSNH&v=1&q=cats"},
        {6, "http://www.lycos.com", "http://search.lycos.com/main/default.asp?lpv=1&loc=searchhp&query=cats"},
        {7, "http://www.hotbot.com", "http://hotbot.lycos.com/?query=cats"},
        {8, "http://www.webcrawler.com", "http://search.webcrawler.com/_1_7Q3WMRA815TBXC4__info.wbcrwl/dog/"
                                         "results?otmpl=dog/webresults.htm&qkw=cats&qcat=web&qk=20&top=1&start=&ver=4012"},
        {9, "http://www.altavista.com", "http://www.altavista.com/sites/search/web?q=cats&pg=q&kl=XX"},
        {10, "http://www.alltheweb.com/", "http://www.alltheweb.com/search?cat=web&lang=any&query=cats"},
        {2, "http://www.dmoz.org", "http://search.dmoz.org/cgi-bin/search?search=cats"},
    };
    QCOMPARE(engineTabs().size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const auto &[position, frontPage, search] = expected[i];
        const EngineTab &tab = engineTabs().at(i);
        QCOMPARE(tab.position, position);
        QCOMPARE(tabTarget(tab, ""), frontPage);
        QCOMPARE(tabTarget(tab, "cats"), search);
        // Only the empty string is empty: a blank is searched for.
        QVERIFY(tabTarget(tab, " ").contains("%20"));
    }
}

SKIMLARK_TEST_MAIN(tst_EngineCatalogue)
#include "tst_enginecatalogue.moc"
