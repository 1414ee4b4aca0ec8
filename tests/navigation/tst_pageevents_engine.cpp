#include "browser/frmbrowser.h"
#include "browser/webenginepageview.h"
#include "settings/settingsstore.h"
#include "support/fakedialogs.h"
#include "support/testmain.h"
#include "support/testserver.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEngineProfile>
#include <QtTest>

// The status display over the real engine: its loads, failed ones included,
// reach the panels, the caption and the address bar.
class tst_PageEventsEngine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void loadsReachTheStatusDisplay_data();
    void loadsReachTheStatusDisplay();

private:
    TestServer m_server;
    QWebEngineProfile *m_profile = nullptr;
};

void tst_PageEventsEngine::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " " + m_server.proxyFlag().toUtf8()
                + " --proxy-bypass-list=<-loopback>");
    m_profile = new QWebEngineProfile(this);
}

void tst_PageEventsEngine::loadsReachTheStatusDisplay_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("fails");
    QTest::newRow("page") << "http://page.test/a?b=1" << false;
    // A failed load ends as well as a good one.
    QTest::newRow("missing file") << "file:///nonexistent-skimlark-page.html" << true;
}

void tst_PageEventsEngine::loadsReachTheStatusDisplay()
{
    QFETCH(QString, address);
    QFETCH(bool, fails);
    QTemporaryDir dir;
    SettingsStore settings(dir.path());
    FakeDialogs dialogs;
    auto *view = new WebEnginePageView(m_profile, &dialogs);
    frmBrowser window(settings, dialogs, view);
    window.show();
    QSignalSpy begun(view, &PageView::downloadBegun);
    QSignalSpy complete(view, &PageView::downloadComplete);
    QSignalSpy state(view, &PageView::commandStateChanged);

    view->navigate(address);
    QTRY_COMPARE_WITH_TIMEOUT(complete.count(), 1, 20000);
    QCOMPARE(begun.count(), 1);
    QVERIFY(state.count() >= 1);
    QCOMPARE(window.panels[0]->text(), QString("Got it"));
    QCOMPARE(window.panels[1]->text(), address);
    QCOMPARE(window.Combo1->currentText(), address);
    QCOMPARE(window.windowTitle(), "Skimlark - " + view->currentTitle());
    if (!fails)
        QCOMPARE(window.windowTitle(), QString("Skimlark - Test page"));
}

SKIMLARK_TEST_MAIN(tst_PageEventsEngine)
#include "tst_pageevents_engine.moc"
