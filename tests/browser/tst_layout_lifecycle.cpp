#include "browser/toolbarcomponent.h"
#include "support/testenv.h"
#include "support/testmain.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

namespace {
bool showLoaded(frmBrowser &w)
{
    w.load();
    w.show();
    return QTest::qWaitForWindowExposed(&w);
}

// Gives the window the outer size that yields `client`.
void resizeClientTo(frmBrowser &w, const QSize &client)
{
    w.resize(client + w.size() - w.clientArea()->size());
    QTRY_COMPARE(w.clientArea()->size(), client);
}

// Page area from 1980 twips down to 50 twips above the bottom; the page view
// stops 405 twips short of the page area's bottom.
int pictureHeight(int clientHeight) { return qRound((clientHeight * 15 - 1980 - 50) / 15.0); }
int viewHeight(int clientHeight) { return qRound((pictureHeight(clientHeight) * 15 - 405) / 15.0); }
} // namespace

class tst_LayoutLifecycle : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void pageAreaFollowsTheWindow();
    void minimiseAndRestoreKeepTheLayout();
    void firstActivationSelectsTheHomePageTabOnce();
    void closingEndsTheRunAndWritesNothing_data();
    void closingEndsTheRunAndWritesNothing();
};

void tst_LayoutLifecycle::pageAreaFollowsTheWindow()
{
    TestBrowser t;
    frmBrowser &w = *t.window;
    QVERIFY(showLoaded(w));
    for (const QSize &client : {QSize(1144, 527), QSize(600, 400)}) {
        resizeClientTo(w, client);
        QCOMPARE(w.Picture1->geometry(), QRect(0, 132, client.width(), pictureHeight(client.height())));
        QCOMPARE(w.WebBrowser1->geometry(), QRect(0, 0, client.width(), viewHeight(client.height())));
        QCOMPARE(w.TabStrip1->geometry(), QRect(0, 80, client.width(), 25));
        QCOMPARE(w.StatusBar1->geometry(), QRect(0, client.height() - 27, client.width(), 27));
        QCOMPARE(w.Combo1->geometry(), QRect(464, 48, 273, 21));
    }

    // Too low for the page area: heights keep their last values, widths follow.
    resizeClientTo(w, QSize(700, 120));
    QCOMPARE(w.Picture1->size(), QSize(700, pictureHeight(400)));
    QCOMPARE(w.WebBrowser1->size(), QSize(700, viewHeight(400)));
    // High enough for the page area but not for the page view inside it.
    resizeClientTo(w, QSize(700, 150));
    QCOMPARE(w.Picture1->height(), pictureHeight(150));
    QCOMPARE(w.WebBrowser1->height(), viewHeight(400));
    resizeClientTo(w, QSize(900, 500));
    QCOMPARE(w.WebBrowser1->size(), QSize(900, viewHeight(500)));
}

void tst_LayoutLifecycle::minimiseAndRestoreKeepTheLayout()
{
    TestBrowser t;
    frmBrowser &w = *t.window;
    QVERIFY(showLoaded(w));
    resizeClientTo(w, QSize(1000, 600));
    const QList<QRect> before = {w.Picture1->geometry(), w.WebBrowser1->geometry(),
                                 w.TabStrip1->geometry(), w.Combo1->geometry()};
    w.showMinimized();
    QTRY_VERIFY(w.isMinimized());
    w.showNormal();
    QTRY_VERIFY(!w.isMinimized());
    QTRY_COMPARE(w.clientArea()->size(), QSize(1000, 600));
    QCOMPARE((QList<QRect>{w.Picture1->geometry(), w.WebBrowser1->geometry(),
                           w.TabStrip1->geometry(), w.Combo1->geometry()}), before);
}

void tst_LayoutLifecycle::firstActivationSelectsTheHomePageTabOnce()
{
    TestBrowser t;
    frmBrowser &w = *t.window;
    QSignalSpy selected(w.TabStrip1, &EngineTabBar::selected);
    QSignalSpy first(&w, &frmBrowser::firstActivated);
    auto send = [&w](QEvent::Type type) {
        QEvent event(type);
        QApplication::sendEvent(&w, &event);
    };
    // Before the load there is no Home Page tab to open.
    send(QEvent::WindowActivate);
    QCOMPARE(selected.count(), 0);

    w.load();
    w.show();
    w.activateWindow();
    QTRY_COMPARE(selected.count(), 1);
    QCOMPARE(selected.first().at(0).toInt(), 0);
    QVERIFY(!w.firstActivationPending());

    // Switching away and back, and start-up's own fallback call, open nothing more.
    send(QEvent::WindowDeactivate);
    send(QEvent::WindowActivate);
    w.ensureFirstActivation();
    QCOMPARE(selected.count(), 1);
    QCOMPARE(first.count(), 1);
}

void tst_LayoutLifecycle::closingEndsTheRunAndWritesNothing_data()
{
    QTest::addColumn<bool>("byExit");
    QTest::newRow("close box") << false;
    QTest::newRow("E&xit") << true;
}

void tst_LayoutLifecycle::closingEndsTheRunAndWritesNothing()
{
    QFETCH(bool, byExit);
    TestBrowser t;
    t.seed("Home", "Address", "http://home.test/");
    t.seed("MRURL", "0", "http://last.test/");
    QFile file(t.settings.filePath("Skimlark"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray storedBefore = file.readAll();
    file.close();

    frmBrowser &w = *t.window;
    QVERIFY(showLoaded(w));
    QVERIFY(w.toolbarComponent()->progressBar());
    QWidget about; // an ownerless window of the program, as the About box is
    about.show();
    QSignalSpy closing(&w, &frmBrowser::closing);
    if (byExit)
        w.menuItem("mnuexit")->trigger();
    else
        QVERIFY(w.close());

    QCOMPARE(closing.count(), 1);
    QVERIFY(!w.isVisible());
    QVERIFY(!about.isVisible());
    QVERIFY(!w.toolbarComponent()->progressBar());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), storedBefore);
    w.close();
    QCOMPARE(closing.count(), 1);
}

SKIMLARK_TEST_MAIN(tst_LayoutLifecycle)
#include "tst_layout_lifecycle.moc"
