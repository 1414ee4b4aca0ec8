#include "search/enginecatalogue.h"
#include "support/testmain.h"

#include <QtTest>

using namespace enginecatalogue;

class tst_EngineCatalogue : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { QTest::failOnWarning(QRegularExpression(".*")); }
    void everyRowBuildsItsAddress_data();
    void everyRowBuildsItsAddress();
    void engineIdSelectsRows_data();
    void engineIdSelectsRows();
    void keywordsArePercentEncoded_data();
    void keywordsArePercentEncoded();
    void tabTargets_data();
    void tabTargets();
};

void tst_EngineCatalogue::everyRowBuildsItsAddress_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("address");
    const QList<std::tuple<QString, QString>> expected = {
        {"", "http://www.search.com/search?channel=1&tag=st.se.fd..sch&q=cats"},
        {"abc", "http://www.alltheweb.com/search?cat=web&lang=any&query=cats"},
        {"yahoo", "http://search.yahoo.com/bin/search?p=cats"},
        {"excite", "http://search.msn.com/results.asp?RS=CHECKED&FORM=MSNH&v=1&q=cats"},
        {"google", "http://www.google.com/search?q=cats"},
        {"seekways", "http://www.seekways.example/cgi-bin/sponsors/smartsearch.cgi?keywords=cats"},
        {"search", "http://www.search.com/search?channel=1&tag=st.se.fd..sch&q=cats"},
        {"overture", "http://search.dmoz.org/cgi-bin/search?search=cats"},
        {"hotbot", "http://hotbot.lycos.com/?query=cats"},
        {"lycos", "http://search.lycos.com/main/default.asp?lpv=1&loc=searchhp&query=cats"},
        {"altavista", "http://www.altavista.com/sites/search/web?q=cats&pg=q&kl=XX"},
        {"dogpile", "http://search.dogpile.com/texis/search?q=cats&geo=no&fs=web"},
        {"seekways", "http://www.seekways.example/search/search.cgi?Terms=cats"},
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
    for (int i = 0; i < expected.size(); ++i)
        QTest::addRow("row %d %s", i + 1, qPrintable(std::get<0>(expected[i])))
            << i + 1 << std::get<0>(expected[i]) << std::get<1>(expected[i]);
}

void tst_EngineCatalogue::everyRowBuildsItsAddress()
{
    QFETCH(int, row);
    QFETCH(QString, id);
    QFETCH(QString, address);
    QCOMPARE(rows().size(), 20);
    const EngineRow &entry = rows().at(row - 1);
    QCOMPARE(entry.id, id);
    QCOMPARE(queryAddress(entry, "cats"), address);
}

void tst_EngineCatalogue::engineIdSelectsRows_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QStringList>("addresses");
    QTest::newRow("seekways walks two rows in table order")
        << "seekways"
        << QStringList{"http://www.seekways.example/cgi-bin/sponsors/smartsearch.cgi?keywords=cats",
                       "http://www.seekways.example/search/search.cgi?Terms=cats"};
    QTest::newRow("empty id is the portal only")
        << "" << QStringList{"http://www.search.com/search?channel=1&tag=st.se.fd..sch&q=cats"};
    QTest::newRow("null id is the empty id")
        << QString() << QStringList{"http://www.search.com/search?channel=1&tag=st.se.fd..sch&q=cats"};
    QTest::newRow("excite is MSN")
        << "excite" << QStringList{"http://search.msn.com/results.asp?RS=CHECKED&FORM=MSNH&v=1&q=cats"};
    QTest::newRow("capital letter matches nothing") << "Google" << QStringList{};
    QTest::newRow("leading blank matches nothing") << " google" << QStringList{};
    QTest::newRow("trailing blank matches nothing") << "google " << QStringList{};
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
    QTest::newRow("equals and ampersand") << "a=b&AT&T" << "a%3Db%26AT%26T";
    QTest::newRow("unreserved kept") << "Az09-._~" << "Az09-._~";
    QTest::newRow("blanks are kept as blanks") << "  " << "%20%20";
    QTest::newRow("slash and question mark") << "a/b?c" << "a%2Fb%3Fc";
    QTest::newRow("empty") << "" << "";
}

void tst_EngineCatalogue::keywordsArePercentEncoded()
{
    QFETCH(QString, text);
    QFETCH(QString, encoded);
    QCOMPARE(encodeKeywords(text), encoded);
    // The encoded words sit between the prefix and the suffix, nothing else changes.
    QCOMPARE(queryAddresses("altavista", text),
             QStringList{"http://www.altavista.com/sites/search/web?q=" + encoded + "&pg=q&kl=XX"});
}

void tst_EngineCatalogue::tabTargets_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("frontPage");
    QTest::addColumn<QString>("search");
    QTest::newRow("3 Yahoo") << 3 << "http://www.yahoo.com" << "http://search.yahoo.com/bin/search?p=cats";
    QTest::newRow("4 Google") << 4 << "http://www.google.com" << "http://www.google.com/search?q=cats";
    QTest::newRow("5 MSN") << 5 << "http://www.msn.com"
                           << "http://search.msn.com/results.asp?RS=CHECKED&FORM=MSNH&v=1&q=cats";
    QTest::newRow("6 Lycos") << 6 << "http://www.lycos.com"
                             << "http://search.lycos.com/main/default.asp?lpv=1&loc=searchhp&query=cats";
    QTest::newRow("7 HotBot") << 7 << "http://www.hotbot.com" << "http://hotbot.lycos.com/?query=cats";
    QTest::newRow("8 WebCrawler")
        << 8 << "http://www.webcrawler.com"
        << "http://search.webcrawler.com/_1_7Q3WMRA815TBXC4__info.wbcrwl/dog/results"
           "?otmpl=dog/webresults.htm&qkw=cats&qcat=web&qk=20&top=1&start=&ver=4012";
    QTest::newRow("9 Alta Vista") << 9 << "http://www.altavista.com"
                                  << "http://www.altavista.com/sites/search/web?q=cats&pg=q&kl=XX";
    QTest::newRow("10 All The Web") << 10 << "http://www.alltheweb.com/"
                                    << "http://www.alltheweb.com/search?cat=web&lang=any&query=cats";
    QTest::newRow("2 DMOZ") << 2 << "http://www.dmoz.org" << "http://search.dmoz.org/cgi-bin/search?search=cats";
}

void tst_EngineCatalogue::tabTargets()
{
    QFETCH(int, position);
    QFETCH(QString, frontPage);
    QFETCH(QString, search);
    // The rows come in rebuild order: 3..10, then 2.
    const int order = position == 2 ? 8 : position - 3;
    const EngineTab &tab = engineTabs().at(order);
    QCOMPARE(engineTabs().size(), 9);
    QCOMPARE(tab.position, position);
    QCOMPARE(tabTarget(tab, ""), frontPage);
    QCOMPARE(tabTarget(tab, QString()), frontPage);
    QCOMPARE(tabTarget(tab, "cats"), search);
    // Only the empty string is empty: a blank is searched for, encoded.
    QVERIFY(tabTarget(tab, " ").contains("%20"));
}

SKIMLARK_TEST_MAIN(tst_EngineCatalogue)
#include "tst_enginecatalogue.moc"
