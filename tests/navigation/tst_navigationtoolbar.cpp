#include "browser/makeraddresses.h"
#include "navigation/toolbaricons.h"
#include "support/testenv.h"
#include "support/testmain.h"

#include <QAction>
#include <QSignalSpy>
#include <QToolBar>
#include <QtTest>

namespace {
const QString NotStored = "<not stored>";
}

class tst_NavigationToolbar : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void clickActsOnTheKey_data();
    void clickActsOnTheKey();
    void favoriteButtonsRunTheFavoriteCommands();
    void separatorsDoNothing();
    void picturesAreOursAtEachDensity();

private:
    // Clicks the button as a user would, through its tool button.
    void click(const QString &key)
    {
        QTest::mouseClick(t->window->Toolbar1->widgetForAction(t->window->toolbarButton(key)),
                          Qt::LeftButton);
    }
    std::unique_ptr<TestBrowser> t;
};

void tst_NavigationToolbar::init()
{
    t = std::make_unique<TestBrowser>();
    t->window->load();
    t->window->show();
    QVERIFY(QTest::qWaitForWindowExposed(t->window.get()));
    // Showing the window opened the home page; start each test from a quiet view.
    QTRY_VERIFY(!t->window->firstActivationPending());
    t->view->navigations.clear();
}

void tst_NavigationToolbar::clickActsOnTheKey_data()
{
    QTest::addColumn<QStringList>("history");
    QTest::addColumn<int>("backSteps");
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QString>("message");
    const QString back = "You're as back as you're gonna get!";
    const QString forward = "You're as foward as you're gonna get!";
    const QStringList ab = {"http://a.test/", "http://b.test/"};
    QTest::newRow("back before any page") << QStringList{} << 0 << NotStored << "back" << QStringList{"back"} << back;
    QTest::newRow("back on the first page") << ab.mid(0, 1) << 0 << NotStored << "back" << QStringList{"back"} << back;
    QTest::newRow("back at the start after going back") << ab << 1 << NotStored << "back" << QStringList{"back"} << back;
    QTest::newRow("forward before any page") << QStringList{} << 0 << NotStored << "forward" << QStringList{"forward"} << forward;
    QTest::newRow("forward at the end") << ab << 0 << NotStored << "forward" << QStringList{"forward"} << forward;
    QTest::newRow("back possible") << ab << 0 << NotStored << "back" << QStringList{"back"} << "";
    QTest::newRow("forward possible") << ab << 1 << NotStored << "forward" << QStringList{"forward"} << "";
    QTest::newRow("stop") << ab << 0 << NotStored << "stop" << QStringList{"stop"} << "";
    QTest::newRow("refresh") << ab << 0 << NotStored << "refresh" << QStringList{"refresh"} << "";
    QTest::newRow("home, nothing stored") << ab << 0 << NotStored << "home"
                                          << QStringList{"navigate:" + maker::StartPage} << "";
    QTest::newRow("home stored") << ab << 0 << "http://home.test/" << "home"
                                 << QStringList{"navigate:http://home.test/"} << "";
    QTest::newRow("home stored empty") << ab << 0 << "" << "home" << QStringList{"navigate:"} << "";
    QTest::newRow("home stored as typed") << ab << 0 << " Home.Test " << "home"
                                          << QStringList{"navigate: Home.Test "} << "";
}

void tst_NavigationToolbar::clickActsOnTheKey()
{
    QFETCH(QStringList, history);
    QFETCH(int, backSteps);
    QFETCH(QString, home);
    QFETCH(QString, key);
    QFETCH(QStringList, calls);
    QFETCH(QString, message);
    for (const QString &address : history) {
        t->view->navigate(address);
        t->view->finishLoad(address);
    }
    for (int i = 0; i < backSteps; ++i)
        QVERIFY(t->view->goBack());
    // Stored after start-up: Home reads it afresh at the click.
    if (home != NotStored)
        t->seed("Home", "Address", home);
    const QString pageBefore = t->view->address;
    t->view->calls.clear();

    click(key);
    QCOMPARE(t->view->calls, calls);
    if (message.isEmpty()) {
        QVERIFY(t->dialogs.messages.isEmpty());
    } else {
        // The message and nothing else: no retry, the page stays.
        QCOMPARE(t->dialogs.messages.size(), 1);
        QCOMPARE(t->dialogs.messages[0].text, message);
        QCOMPARE(t->dialogs.messages[0].title, QString("Skimlark"));
        QCOMPARE(t->view->address, pageBefore);
    }
}

void tst_NavigationToolbar::favoriteButtonsRunTheFavoriteCommands()
{
    const QStringList keys = {"one", "two", "three", "four", "five",
                              "six", "seven", "eight", "nine", "ten"};
    QList<QAction *> triggered;
    for (int n = 1; n <= 10; ++n) {
        QAction *item = t->window->menuItem(QString("mnuf%1").arg(n));
        connect(item, &QAction::triggered, this, [&triggered, item] { triggered << item; });
    }
    for (int n = 1; n <= 10; ++n) {
        click(keys[n - 1]);
        QCOMPARE(triggered.size(), n);
        QCOMPARE(triggered.last(), t->window->menuItem(QString("mnuf%1").arg(n)));
    }
    // Empty slots: each click captured the page, none navigated, no Back/Forward message.
    QVERIFY(t->view->navigations.isEmpty());
    QCOMPARE(t->dialogs.messages.size(), 10);
    for (const auto &message : t->dialogs.messages)
        QVERIFY(message.text.startsWith("You added "));
}

void tst_NavigationToolbar::separatorsDoNothing()
{
    t->view->calls.clear();
    for (QAction *action : t->window->Toolbar1->actions()) {
        if (action->isSeparator())
            Q_EMIT t->window->Toolbar1->actionTriggered(action);
    }
    QVERIFY(t->view->calls.isEmpty());
    QVERIFY(t->dialogs.messages.isEmpty());
}

void tst_NavigationToolbar::picturesAreOursAtEachDensity()
{
    QSet<QByteArray> distinct;
    for (QAction *action : t->window->Toolbar1->actions()) {
        if (action->isSeparator())
            continue;
        const QString picture = toolbaricons::pictureFor(action->objectName());
        QVERIFY2(toolbaricons::keys().contains(picture), qPrintable(action->objectName()));
        const QImage image = action->icon().pixmap(QSize(24, 24), 1.0).toImage();
        QCOMPARE(image, toolbaricons::draw(picture, 24, 1.0).toImage());
        // The 2x picture is drawn at full resolution, not blown up from 1x.
        const QPixmap sharp = action->icon().pixmap(QSize(24, 24), 2.0);
        QCOMPARE(sharp.size(), QSize(48, 48));
        const QImage blownUp = toolbaricons::draw(picture, 24, 1.0).toImage().scaled(48, 48);
        QVERIFY(sharp.toImage().convertToFormat(blownUp.format()) != blownUp);
        distinct.insert(QByteArray(reinterpret_cast<const char *>(image.constBits()),
                                   image.sizeInBytes()));
    }
    QCOMPARE(distinct.size(), 15);
}

SKIMLARK_TEST_MAIN(tst_NavigationToolbar)
#include "tst_navigationtoolbar.moc"
