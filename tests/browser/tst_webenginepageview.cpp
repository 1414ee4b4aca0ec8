#include "browser/webenginepageview.h"
#include "support/fakedialogs.h"
#include "support/testmain.h"
#include "support/testserver.h"

#include <QSignalSpy>
#include <QTemporaryFile>
#include <QWebEngineProfile>
#include <QtTest>

// The real engine, with every request routed to a loopback proxy of the test's own.
class tst_WebEnginePageView : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void typedTextBecomesAnAddress_data();
    void typedTextBecomesAnAddress();
    void navigationReachesTheServerWithTheExactAddress();
    void eventsAndHistoryOfARealLoad();

private:
    TestServer m_server;
    QWebEngineProfile *m_profile = nullptr;
    FakeDialogs m_dialogs;
};

void tst_WebEnginePageView::initTestCase()
{
    QVERIFY(m_server.start());
    // The engine reads its flags when it first starts, which is after this.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " " + m_server.proxyFlag().toUtf8()
                + " --proxy-bypass-list=<-loopback>");
    m_profile = new QWebEngineProfile(this);
}

void tst_WebEnginePageView::typedTextBecomesAnAddress_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QUrl>("expected");
    QTest::newRow("scheme-less host") << "example.com" << QUrl("http://example.com");
    QTest::newRow("full address unchanged") << "https://a.test/x?y=1" << QUrl("https://a.test/x?y=1");
    QTest::newRow("absolute path is a file") << "/tmp/page.html" << QUrl::fromLocalFile("/tmp/page.html");
    QTest::newRow("empty is blank") << "" << QUrl("about:blank");
}

void tst_WebEnginePageView::typedTextBecomesAnAddress()
{
    QFETCH(QString, typed);
    QFETCH(QUrl, expected);
    QCOMPARE(WebEnginePageView::addressToUrl(typed), expected);
}

void tst_WebEnginePageView::navigationReachesTheServerWithTheExactAddress()
{
    WebEnginePageView view(m_profile, &m_dialogs);
    view.resize(400, 300);
    view.show();
    QSignalSpy complete(&view, &PageView::downloadComplete);
    m_server.requests.clear();
    view.navigate("http://site.test/search?q=C%2B%2B&x=1");
    QTRY_VERIFY_WITH_TIMEOUT(!m_server.requests.isEmpty(), 20000);
    QCOMPARE(m_server.requests.first().target, QByteArray("http://site.test/search?q=C%2B%2B&x=1"));
    QTRY_VERIFY_WITH_TIMEOUT(complete.count() >= 1, 20000);

    m_server.requests.clear();
    view.navigate("example.test");
    QTRY_VERIFY_WITH_TIMEOUT(!m_server.requests.isEmpty(), 20000);
    QCOMPARE(m_server.requests.first().target, QByteArray("http://example.test/"));
}

void tst_WebEnginePageView::eventsAndHistoryOfARealLoad()
{
    WebEnginePageView view(m_profile, &m_dialogs);
    view.resize(400, 300);
    view.show();
    QSignalSpy begun(&view, &PageView::downloadBegun);
    QSignalSpy complete(&view, &PageView::downloadComplete);
    QSignalSpy document(&view, &PageView::documentComplete);
    QSignalSpy state(&view, &PageView::commandStateChanged);

    QVERIFY(!view.goBack());
    QVERIFY(!view.goForward());
    view.navigate("http://one.test/");
    QTRY_COMPARE_WITH_TIMEOUT(complete.count(), 1, 20000);
    QCOMPARE(begun.count(), 1);
    QCOMPARE(view.currentAddress(), QString("http://one.test/"));
    QCOMPARE(view.currentTitle(), QString("Test page"));
    QCOMPARE(document.last().at(0).toString(), QString("http://one.test/"));
    QVERIFY(state.count() >= 1);
    QVERIFY(!view.goBack());

    view.navigate("http://two.test/");
    QTRY_COMPARE_WITH_TIMEOUT(complete.count(), 2, 20000);
    QVERIFY(view.goBack());
    QTRY_COMPARE_WITH_TIMEOUT(view.currentAddress(), QString("http://one.test/"), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(complete.count() >= 3, 20000);
    QVERIFY(view.goForward());
    QTRY_COMPARE_WITH_TIMEOUT(view.currentAddress(), QString("http://two.test/"), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(complete.count() >= 4, 20000);
    QVERIFY(!view.goForward());
}

SKIMLARK_TEST_MAIN(tst_WebEnginePageView)
#include "tst_webenginepageview.moc"
