#include "browser/makeraddresses.h"
#include "navigation/toolbaricons.h"
#include "support/testenv.h"
#include "support/testmain.h"

#include <QAction>
#include <QToolBar>
#include <QtTest>

class tst_NavigationToolbar : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void clickActsOnTheKey_data();
    void clickActsOnTheKey();
    void favoriteButtonsRunTheFavoriteCommands();
    void picturesAreOursAtEachDensity();

private:
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
    QTRY_VERIFY(!t->window->firstActivationPending());
    t->view->navigations.clear();
}

void tst_NavigationToolbar::clickActsOnTheKey_data()
{
    QTest::addColumn<int>("pages"); // of a.test, b.test
    QTest::addColumn<int>("backSteps");
    QTest::addColumn<QString>("home"); // "-": not stored
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("message");
    const QString back = "You're as back as you're gonna get!";
    const QString forward = "You're as foward as you're gonna get!";
    QTest::newRow("back before any page") << 0 << 0 << "-" << "back" << "back" << back;
    QTest::newRow("back at the start after going back") << 2 << 1 << "-" << "back" << "back" << back;
    QTest::newRow("forward at the end") << 2 << 0 << "-" << "forward" << "forward" << forward;
    QTest::newRow("back possible") << 2 << 0 << "-" << "back" << "back" << "";
    QTest::newRow("forward possible") << 2 << 1 << "-" << "forward" << "forward" << "";
    QTest::newRow("stop") << 2 << 0 << "-" << "stop" << "stop" << "";
    QTest::newRow("refresh") << 2 << 0 << "-" << "refresh" << "refresh" << "";
    QTest::newRow("home, nothing stored") << 2 << 0 << "-" << "home" << "navigate:" + maker::StartPage << "";
    QTest::newRow("home stored as typed") << 2 << 0 << " Home.Test " << "home" << "navigate: Home.Test " << "";
}

void tst_NavigationToolbar::clickActsOnTheKey()
{
    QFETCH(int, pages);
    QFETCH(int, backSteps);
    QFETCH(QString, home);
    QFETCH(QString, key);
    QFETCH(QString, call);
    QFETCH(QString, message);
    for (const QString &address : QStringList{"http://a.test/", "http://b.test/"}.mid(0, pages)) {
        t->view->navigate(address);
        t->view->finishLoad(address);
    }
    for (int i = 0; i < backSteps; ++i)
        QVERIFY(t->view->goBack());
    // Stored after start-up: Home reads it afresh at the click.
    if (home != "-")
        t->seed("Home", "Address", home);
    const QString pageBefore = t->view->address;
    t->view->calls.clear();

    click(key);
    QCOMPARE(t->view->calls, QStringList{call});
    QCOMPARE(t->dialogs.messages.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
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
        // The 2x picture is drawn at full resolution, not blown up from 1x.
        const QPixmap sharp = action->icon().pixmap(QSize(24, 24), 2.0);
        QCOMPARE(sharp.size(), QSize(48, 48));
        const QImage blownUp = image.scaled(48, 48);
        QVERIFY(sharp.toImage().convertToFormat(blownUp.format()) != blownUp);
        distinct.insert(QByteArray(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes()));
    }
    QCOMPARE(distinct.size(), 15);
}

SKIMLARK_TEST_MAIN(tst_NavigationToolbar)
#include "tst_navigationtoolbar.moc"
