#include "browser/toolbarcomponent.h"
#include "support/testenv.h"
#include "support/testmain.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

namespace {
// Design places in pixels (twips / 15) of the controls that never move.
struct Fixed { const char *name; QRect place; };
const Fixed FixedPlaces[] = {
    {"Label1", QRect(8, 48, 137, 17)},   {"Text1", QRect(144, 48, 161, 21)},
    {"Command1", QRect(312, 48, 81, 25)}, {"Label2", QRect(400, 48, 73, 17)},
    {"Combo1", QRect(464, 48, 273, 21)}, {"Command2", QRect(744, 48, 49, 25)},
    {"UCmoreToolbar", QRect(0, 104, 1272, 26)},
};

QWidget *control(frmBrowser &w, const char *name)
{
    return w.findChild<QWidget *>(QLatin1String(name));
}

// Shows the window and gives it the outer size that yields `client`.
void resizeClientTo(frmBrowser &w, const QSize &client)
{
    const QSize chrome = w.size() - w.clientArea()->size();
    w.resize(client + chrome);
    QTRY_COMPARE(w.clientArea()->size(), client);
}

struct Sizes { QRect picture; QSize view; QRect tabs; };
Sizes sizes(frmBrowser &w)
{
    return {w.Picture1->geometry(), w.WebBrowser1->size(), w.TabStrip1->geometry()};
}
} // namespace

class tst_LayoutLifecycle : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void pageAreaFollowsTheWindow_data();
    void pageAreaFollowsTheWindow();
    void tooSmallStepsAreSkipped();
    void minimiseAndRestoreKeepTheLayout();
    void labelsShowTheirWholeCaption();
    void firstActivationSelectsTheHomePageTabOnce();
    void firstMouseMoveCountsOnlyOnTheWindowsSurface();
    void closingEndsTheRunAndWritesNothing_data();
    void closingEndsTheRunAndWritesNothing();
};

void tst_LayoutLifecycle::pageAreaFollowsTheWindow_data()
{
    QTest::addColumn<QSize>("client");
    QTest::newRow("design size") << QSize(1144, 527);
    QTest::newRow("larger") << QSize(1600, 1000);
    QTest::newRow("narrower than the search row") << QSize(600, 400);
}

void tst_LayoutLifecycle::pageAreaFollowsTheWindow()
{
    QFETCH(QSize, client);
    TestBrowser t;
    frmBrowser &w = *t.window;
    w.load();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    resizeClientTo(w, client);

    // Page area: from 1980 twips down to 50 twips above the bottom, full width.
    const int pictureHeight = qRound((client.height() * 15 - 1980 - 50) / 15.0);
    QCOMPARE(w.Picture1->geometry(), QRect(0, 132, client.width(), pictureHeight));
    // The page view stops 405 twips short of the page area's bottom.
    QCOMPARE(w.WebBrowser1->geometry(),
             QRect(0, 0, client.width(), qRound((pictureHeight * 15 - 405) / 15.0)));
    QCOMPARE(w.TabStrip1->geometry(), QRect(0, 80, client.width(), 25));
    // Docked bars span the width at their edges.
    QCOMPARE(w.Toolbar1->geometry(), QRect(0, 0, client.width(), 44));
    QCOMPARE(w.StatusBar1->geometry(), QRect(0, client.height() - 27, client.width(), 27));
    for (const Fixed &fixed : FixedPlaces)
        QCOMPARE(control(w, fixed.name)->geometry(), fixed.place);
}

void tst_LayoutLifecycle::tooSmallStepsAreSkipped()
{
    TestBrowser t;
    frmBrowser &w = *t.window;
    w.load();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    resizeClientTo(w, QSize(900, 500));
    const Sizes before = sizes(w);

    // Too low for the page area (under 1980 + 50 twips): the heights keep their
    // last values while the widths still follow.
    resizeClientTo(w, QSize(700, 120));
    QCOMPARE(w.Picture1->height(), before.picture.height());
    QCOMPARE(w.WebBrowser1->height(), before.view.height());
    QCOMPARE(w.Picture1->width(), 700);
    QCOMPARE(w.WebBrowser1->width(), 700);
    QCOMPARE(w.TabStrip1->width(), 700);

    // High enough for the page area but not for the page view inside it.
    resizeClientTo(w, QSize(700, 150));
    QCOMPARE(w.Picture1->height(), qRound((150 * 15 - 1980 - 50) / 15.0));
    QCOMPARE(w.WebBrowser1->height(), before.view.height());

    // The next resize that fits lays everything out again.
    resizeClientTo(w, QSize(900, 500));
    QCOMPARE(sizes(w).picture, before.picture);
    QCOMPARE(sizes(w).view, before.view);
}

void tst_LayoutLifecycle::minimiseAndRestoreKeepTheLayout()
{
    TestBrowser t;
    frmBrowser &w = *t.window;
    w.load();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    resizeClientTo(w, QSize(1000, 600));
    const Sizes before = sizes(w);
    const QRect fixedBefore = w.Combo1->geometry();

    w.showMinimized();
    QTRY_VERIFY(w.isMinimized());
    w.showNormal();
    QTRY_VERIFY(!w.isMinimized());
    QTRY_COMPARE(w.clientArea()->size(), QSize(1000, 600));
    QCOMPARE(sizes(w).picture, before.picture);
    QCOMPARE(sizes(w).view, before.view);
    QCOMPARE(sizes(w).tabs, before.tabs);
    QCOMPARE(w.Combo1->geometry(), fixedBefore);
}

void tst_LayoutLifecycle::labelsShowTheirWholeCaption()
{
    TestBrowser t;
    frmBrowser &w = *t.window;
    // Each label's place runs under the field after it: the caption must end before it.
    const QList<QPair<QLabel *, QWidget *>> rows = {{w.Label1, w.Text1}, {w.Label2, w.Combo1}};
    for (const auto &[label, field] : rows) {
        QVERIFY2(label->x() + label->fontMetrics().horizontalAdvance(label->text()) < field->x(),
                 qPrintable(label->text()));
        QVERIFY(label->fontMetrics().height() <= label->height());
        QVERIFY(label->font().bold());
        QVERIFY(label->font().pointSizeF() <= 9.75);
        QCOMPARE(label->buddy(), field);
    }
    QCOMPARE(w.Label1->font(), w.Label2->font());
    // The search box shows its invitation from the start.
    QCOMPARE(w.Text1->cursorPosition(), 0);
}

void tst_LayoutLifecycle::firstActivationSelectsTheHomePageTabOnce()
{
    TestBrowser t;
    frmBrowser &w = *t.window;
    QSignalSpy selected(w.TabStrip1, &EngineTabBar::selected);
    QSignalSpy first(&w, &frmBrowser::firstActivated);

    // Before the load there is no Home Page tab to open.
    QEvent early(QEvent::WindowActivate);
    QApplication::sendEvent(&w, &early);
    QCOMPARE(selected.count(), 0);

    w.load();
    w.show();
    w.activateWindow();
    QTRY_COMPARE(selected.count(), 1);
    QCOMPARE(selected.first().at(0).toInt(), 0);
    QCOMPARE(first.count(), 1);
    QCOMPARE(w.TabStrip1->currentIndex(), 0);
    QVERIFY(!w.firstActivationPending());

    // Switching away and back, and start-up's own fallback call, open nothing more.
    QEvent away(QEvent::WindowDeactivate);
    QApplication::sendEvent(&w, &away);
    QEvent back(QEvent::WindowActivate);
    QApplication::sendEvent(&w, &back);
    w.ensureFirstActivation();
    QCOMPARE(selected.count(), 1);
    QCOMPARE(first.count(), 1);
}

void tst_LayoutLifecycle::firstMouseMoveCountsOnlyOnTheWindowsSurface()
{
    TestBrowser t;
    frmBrowser &w = *t.window;
    w.load();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto moveTo = [&w](const QPoint &pos) {
        QMouseEvent move(QEvent::MouseMove, pos, w.clientArea()->mapToGlobal(pos), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w.clientArea(), &move);
    };
    // A move over the search box reaches the window only when passed on.
    moveTo(w.Text1->geometry().center());
    QVERIFY(!w.firstMouseMoveDone());
    // Between the search row and the tab strip lies the window's own surface.
    moveTo(QPoint(900, 76));
    QVERIFY(w.firstMouseMoveDone());
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
    w.load();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.toolbarComponent()->progressBar());
    // A window of the program without an owner, as the About box is.
    QWidget about;
    about.setWindowTitle("About Skimlark");
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

    // A second request while unloading changes nothing.
    w.close();
    QCOMPARE(closing.count(), 1);
}

SKIMLARK_TEST_MAIN(tst_LayoutLifecycle)
#include "tst_layout_lifecycle.moc"
