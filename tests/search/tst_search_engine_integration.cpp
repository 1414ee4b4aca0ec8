#include "browser/frmbrowser.h"
#include "browser/webenginepageview.h"
#include "settings/settingsstore.h"
#include "support/fakedialogs.h"
#include "support/testmain.h"
#include "support/testserver.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEngineProfile>
#include <QtTest>

namespace {
// The real view, also noting each navigate() the window asks of it.
class RecordingPageView : public WebEnginePageView
{
public:
    using WebEnginePageView::WebEnginePageView;
    void navigate(const QString &address) override
    {
        navigations << address;
        WebEnginePageView::navigate(address);
    }
    QStringList navigations;
};
} // namespace

// A search typed into the real window and sent with Enter, seen by a loopback
// proxy of the test's own: nothing leaves the machine. The loads also reach
// the status display.
class tst_SearchEngineIntegration : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void enterSendsTheStoredEnginesQuery_data();
    void enterSendsTheStoredEnginesQuery();

private:
    TestServer m_server;
    QWebEngineProfile *m_profile = nullptr;
};

void tst_SearchEngineIntegration::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " " + m_server.proxyFlag().toUtf8()
                + " --proxy-bypass-list=<-loopback>");
    m_profile = new QWebEngineProfile(this);
}

void tst_SearchEngineIntegration::enterSendsTheStoredEnginesQuery_data()
{
    QTest::addColumn<QString>("engine"); // empty: nothing stored
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArrayList>("requests");
    QTest::newRow("default google") << "" << "C++ & C#"
        << QByteArrayList{"http://www.google.com/search?q=C%2B%2B%20%26%20C%23"};
    QTest::newRow("alta vista, non-ascii") << "altavista" << QString::fromUtf8("naïve café")
        << QByteArrayList{"http://www.altavista.com/sites/search/web?q=na%C3%AFve%20caf%C3%A9&pg=q&kl=XX"};
    QTest::newRow("seekways, two requests in order") << "seekways" << "50% off"
        << QByteArrayList{"http://www.seekways.example/cgi-bin/sponsors/smartsearch.cgi?keywords=50%25%20off",
                          "http://www.seekways.example/search/search.cgi?Terms=50%25%20off"};
}

void tst_SearchEngineIntegration::enterSendsTheStoredEnginesQuery()
{
    QFETCH(QString, engine);
    QFETCH(QString, typed);
    QFETCH(QByteArrayList, requests);
    QTemporaryDir dir;
    SettingsStore settings(dir.path());
    settings.write("Skimlark", "Home", "Address", "http://home.test/");
    if (!engine.isEmpty())
        settings.write("Skimlark", "Home", "Engine", engine);
    FakeDialogs dialogs;
    auto *view = new RecordingPageView(m_profile, &dialogs);
    frmBrowser window(settings, dialogs, view);
    QSignalSpy complete(view, &PageView::documentComplete);
    window.load();
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.ensureFirstActivation();
    QTRY_VERIFY_WITH_TIMEOUT(!complete.isEmpty(), 30000);
    m_server.requests.clear();
    view->navigations.clear();
    complete.clear();
    window.Text1->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(window.Text1->hasFocus());
    window.Text1->clear();
    for (const QChar ch : typed) {
        // Key clicks know ASCII only; other letters arrive as text, as a keyboard layout sends them.
        if (ch.unicode() < 0x80)
            QTest::keyClicks(window.Text1, QString(ch));
        else
            QTest::sendKeyEvent(QTest::Click, window.Text1, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
    QCOMPARE(window.Text1->text(), typed);
    QTest::keyClick(window.Text1, Qt::Key_Return);

    const QByteArray last = requests.constLast();
    QTRY_VERIFY_WITH_TIMEOUT(!complete.isEmpty()
                                 && QUrl(view->currentAddress()).toEncoded() == last,
                             30000);
    QStringList asked;
    for (const QByteArray &request : requests)
        asked << QString::fromLatin1(request);
    QCOMPARE(view->navigations, asked);
    // The engine may abandon a first request for a second issued at once.
    const QByteArrayList sent = m_server.targets();
    if (requests.size() == 2 && sent.size() == 1)
        QCOMPARE(sent, QByteArrayList{last});
    else
        QCOMPARE(sent, requests);

    // The engine's load events reach the status display, a failed load's too.
    QTRY_COMPARE(window.panels[0]->text(), QString("Got it"));
    QCOMPARE(window.Combo1->currentText(), view->currentAddress());
    QCOMPARE(window.windowTitle(), QString("Skimlark - Test page"));
    const QString missing = "file:///nonexistent-skimlark-page.html";
    QSignalSpy begun(view, &PageView::downloadBegun);
    QSignalSpy loaded(view, &PageView::downloadComplete);
    view->navigate(missing);
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 20000);
    QCOMPARE(begun.count(), 1);
    QCOMPARE((QStringList{window.panels[0]->text(), window.panels[1]->text(), window.Combo1->currentText()}),
             (QStringList{"Got it", missing, missing}));
    QCOMPARE(window.windowTitle(), "Skimlark - " + view->currentTitle());
}

SKIMLARK_TEST_MAIN(tst_SearchEngineIntegration)
#include "tst_search_engine_integration.moc"
