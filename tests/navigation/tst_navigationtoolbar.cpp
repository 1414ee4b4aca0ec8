#include "browser/makeraddresses.h"
#include "navigation/toolbaricons.h"
#include "support/testenv.h"
#include "support/testmain.h"

#include <QAction>
#include <QImage>
#include <QSignalSpy>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace {
const QStringList FavoriteKeys = {"one", "two", "three", "four", "five",
                                  "six", "seven", "eight", "nine", "ten"};

// Clicks the button as a user would, through its tool button.
void click(frmBrowser &w, const QString &key)
{
    QWidget *button = w.Toolbar1->widgetForAction(w.toolbarButton(key));
    QVERIFY2(button, qPrintable(key));
    QTest::mouseClick(button, Qt::LeftButton);
}

// Loads each address in turn so that the fake view has a history.
void visit(FakePageView *view, const QStringList &addresses)
{
    for (const QString &address : addresses) {
        view->navigate(address);
        view->finishLoad(address);
    }
    view->navigations.clear();
    view->calls.clear();
}
} // namespace

class tst_NavigationToolbar : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void impossibleStepsAreReported_data();
    void impossibleStepsAreReported();
    void possibleStepsMoveSilently();
    void stopAndRefresh_data();
    void stopAndRefresh();
    void homeReadsTheAddressAfresh_data();
    void homeReadsTheAddressAfresh();
    void favoriteButtonsRunTheFavoriteCommands();
    void separatorsDoNothing();
    void everyButtonHasItsOwnPicture();
    void picturesAreDrawnForEachDensity();

private:
    std::unique_ptr<TestBrowser> t;
};

void tst_NavigationToolbar::init()
{
    t = std::make_unique<TestBrowser>();
    t->window->load();
    t->window->show();
    QVERIFY(QTest::qWaitForWindowExposed(t->window.get()));
}

void tst_NavigationToolbar::impossibleStepsAreReported_data()
{
    QTest::addColumn<QStringList>("history");
    QTest::addColumn<int>("backSteps");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("message");
    const QString back = "You're as back as you're gonna get!";
    const QString forward = "You're as foward as you're gonna get!";
    QTest::newRow("back before any page") << QStringList{} << 0 << "back" << back;
    QTest::newRow("back on the first page") << QStringList{"http://a.test/"} << 0 << "back" << back;
    QTest::newRow("forward before any page") << QStringList{} << 0 << "forward" << forward;
    QTest::newRow("forward at the end") << QStringList{"http://a.test/", "http://b.test/"} << 0
                                        << "forward" << forward;
    QTest::newRow("back after going back to the start")
        << QStringList{"http://a.test/", "http://b.test/"} << 1 << "back" << back;
}

void tst_NavigationToolbar::impossibleStepsAreReported()
{
    QFETCH(QStringList, history);
    QFETCH(int, backSteps);
    QFETCH(QString, key);
    QFETCH(QString, message);
    visit(t->view, history);
    for (int i = 0; i < backSteps; ++i)
        QVERIFY(t->view->goBack());
    const QString pageBefore = t->view->address;
    t->view->calls.clear();

    click(*t->window, key);
    QCOMPARE(t->dialogs.messages.size(), 1);
    QCOMPARE(t->dialogs.messages[0].text, message);
    QCOMPARE(t->dialogs.messages[0].title, QString("Skimlark"));
    // Nothing else: one attempt, no retry, the page stays.
    QCOMPARE(t->view->calls, QStringList{key});
    QCOMPARE(t->view->address, pageBefore);
}

void tst_NavigationToolbar::possibleStepsMoveSilently()
{
    visit(t->view, {"http://a.test/", "http://b.test/"});
    click(*t->window, "back");
    QCOMPARE(t->view->address, QString("http://a.test/"));
    click(*t->window, "forward");
    QCOMPARE(t->view->address, QString("http://b.test/"));
    QCOMPARE(t->view->calls, (QStringList{"back", "forward"}));
    QVERIFY(t->dialogs.messages.isEmpty());
}

void tst_NavigationToolbar::stopAndRefresh_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("stop") << "stop";
    QTest::newRow("refresh") << "refresh";
}

void tst_NavigationToolbar::stopAndRefresh()
{
    QFETCH(QString, key);
    click(*t->window, key);
    QCOMPARE(t->view->calls, QStringList{key});
    QVERIFY(t->dialogs.messages.isEmpty());
}

void tst_NavigationToolbar::homeReadsTheAddressAfresh_data()
{
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nothing stored") << false << "" << maker::StartPage;
    QTest::newRow("stored") << true << "http://home.test/" << "http://home.test/";
    QTest::newRow("stored empty") << true << "" << "";
    QTest::newRow("stored as typed") << true << " Home.Test " << " Home.Test ";
}

void tst_NavigationToolbar::homeReadsTheAddressAfresh()
{
    QFETCH(bool, stored);
    QFETCH(QString, address);
    QFETCH(QString, expected);
    // Stored after start-up: the next click goes there without a restart.
    if (stored)
        t->seed("Home", "Address", address);
    click(*t->window, "home");
    QCOMPARE(t->view->navigations, QStringList{expected});
    QVERIFY(t->dialogs.messages.isEmpty());
}

void tst_NavigationToolbar::favoriteButtonsRunTheFavoriteCommands()
{
    QList<QSignalSpy *> spies;
    for (int n = 1; n <= 10; ++n)
        spies << new QSignalSpy(t->window->menuItem(QString("mnuf%1").arg(n)), &QAction::triggered);
    for (int n = 1; n <= 10; ++n) {
        click(*t->window, FavoriteKeys[n - 1]);
        for (int m = 1; m <= 10; ++m)
            QCOMPARE(spies[m - 1]->count(), m <= n ? 1 : 0);
    }
    qDeleteAll(spies);
    QVERIFY(t->view->calls.isEmpty());
    QVERIFY(t->dialogs.messages.isEmpty());
}

void tst_NavigationToolbar::separatorsDoNothing()
{
    int separators = 0;
    for (int position = 1; position <= 23; ++position) {
        QAction *action = t->window->toolbarButton(position);
        if (!action->isSeparator())
            continue;
        ++separators;
        Q_EMIT t->window->Toolbar1->actionTriggered(action);
    }
    QCOMPARE(separators, 8);
    QVERIFY(t->view->calls.isEmpty());
    QVERIFY(t->dialogs.messages.isEmpty());
}

void tst_NavigationToolbar::everyButtonHasItsOwnPicture()
{
    QSet<QByteArray> seen;
    for (int position = 1; position <= 23; ++position) {
        QAction *action = t->window->toolbarButton(position);
        if (action->isSeparator())
            continue;
        QVERIFY2(!action->icon().isNull(), qPrintable(action->objectName()));
        // The caption (the design tooltip) is what a screen reader reads.
        auto *button = qobject_cast<QToolButton *>(t->window->Toolbar1->widgetForAction(action));
        QVERIFY(button);
        QVERIFY(!button->text().isEmpty());
        const QImage image = action->icon().pixmap(QSize(24, 24), 1.0).toImage();
        seen.insert(QByteArray(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes()));
    }
    QCOMPARE(seen.size(), 15);
    QCOMPARE(t->window->toolbarButton("back")->icon().pixmap(24, 24).toImage(),
             toolbaricons::draw("left", 24, 1.0).toImage());
}

void tst_NavigationToolbar::picturesAreDrawnForEachDensity()
{
    QCOMPARE(toolbaricons::keys().size(), 15);
    for (const QString &key : toolbaricons::keys()) {
        for (qreal ratio : {1.0, 2.0}) {
            const QPixmap picture = toolbaricons::icon(key).pixmap(QSize(24, 24), ratio);
            QCOMPARE(picture.devicePixelRatio(), ratio);
            QCOMPARE(picture.size(), QSize(24, 24) * ratio);
        }
        // The 2x picture is drawn at full resolution, not blown up from 1x.
        const QImage sharp = toolbaricons::draw(key, 24, 2.0).toImage();
        const QImage blownUp = toolbaricons::draw(key, 24, 1.0).toImage().scaled(48, 48);
        QVERIFY2(sharp.convertToFormat(blownUp.format()) != blownUp, qPrintable(key));
    }
    // An unknown key draws nothing rather than failing.
    const QImage none = toolbaricons::draw("nonsense", 24, 1.0).toImage();
    for (int y = 0; y < none.height(); ++y) {
        for (int x = 0; x < none.width(); ++x)
            QCOMPARE(qAlpha(none.pixel(x, y)), 0);
    }
}

SKIMLARK_TEST_MAIN(tst_NavigationToolbar)
#include "tst_navigationtoolbar.moc"
