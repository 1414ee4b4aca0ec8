#include "browser/makeraddresses.h"
#include "navigation/pagestatus.h"
#include "navigation/toolbaricons.h"
#include "support/windowdriver.h"
#include "support/testmain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolBar>
#include <QWheelEvent>
#include <QtTest>

namespace {
QStringList entries(const QComboBox *combo)
{
    QStringList result;
    for (int i = 0; i < combo->count(); ++i)
        result << combo->itemText(i);
    return result;
}

void surf(frmBrowser &w, const QString &typed, bool byEnter)
{
    QVERIFY(windowdriver::typeInto(w.Combo1, typed));
    if (byEnter)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    else
        QTest::mouseClick(w.Command2, Qt::LeftButton);
}

// Clicks a toolbar button as a user would, through its tool button.
void click(TestBrowser &t, const QString &key)
{
    QTest::mouseClick(t.window->Toolbar1->widgetForAction(t.window->toolbarButton(key)), Qt::LeftButton);
}
} // namespace

class tst_Navigation : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { windowdriver::failOnOtherWarnings(); }
    void surfSendsTheTextUnchanged_data();
    void surfSendsTheTextUnchanged();
    void hiddenPhraseShowsItsBoxAndNothingElse_data() { surfSendsTheTextUnchanged_data(); }
    void hiddenPhraseShowsItsBoxAndNothingElse();
    void twoSurfsKeepOnlyTheLaterForTheNextStart();
    void choosingAListEntrySurfsIt();
    void textWrittenByCodeNeverSurfs();
    void eventsWriteTheirPanelsAndCaption_data();
    void eventsWriteTheirPanelsAndCaption();
    void onlyTheExactReferralAddressIsRedirected_data();
    void onlyTheExactReferralAddressIsRedirected();
    void clockFormatKeepsSecondsAndDropsTheZone_data();
    void clockFormatKeepsSecondsAndDropsTheZone();
    void clickActsOnTheKey_data();
    void clickActsOnTheKey();
    void favoriteButtonsRunTheFavoriteCommands();
    void picturesAreOursAtEachDensity();
};

void tst_Navigation::surfSendsTheTextUnchanged_data()
{
    QTest::addColumn<bool>("byEnter");
    QTest::newRow("enter") << true;
    QTest::newRow("button") << false;
}

void tst_Navigation::surfSendsTheTextUnchanged()
{
    QFETCH(bool, byEnter);
    const QString typed = " Example.COM/a b?kettle is brave ";
    TestBrowser t;
    QVERIFY(windowdriver::start(t));
    frmBrowser &w = *t.window;
    QSignalSpy returns(w.Combo1->lineEdit(), &QLineEdit::returnPressed);
    surf(w, typed, byEnter);
    QCOMPARE(t.view->navigations, QStringList{typed});
    QCOMPARE(returns.count(), 0); // the Enter went to "Surf", not into the field
    QCOMPARE(entries(w.Combo1), (QStringList{"", typed}));
    QCOMPARE(t.stored("MRURL", "0"), typed);
    QCOMPARE(t.stored("cbocount", "count"), QString("0"));
    QVERIFY(t.dialogs.messages.isEmpty());
}

void tst_Navigation::hiddenPhraseShowsItsBoxAndNothingElse()
{
    QFETCH(bool, byEnter);
    TestBrowser t;
    QVERIFY(windowdriver::start(t));
    frmBrowser &w = *t.window;
    surf(w, "Copper kettle is brave", byEnter);
    QCOMPARE(t.dialogs.messages.size(), 1);
    QCOMPARE(t.dialogs.messages[0].text, QString("hell yeah"));
    QCOMPARE(t.dialogs.messages[0].title, QString("Skimlark"));
    QVERIFY(t.view->navigations.isEmpty());
    QCOMPARE(entries(w.Combo1), QStringList{""});
    QCOMPARE(t.stored("MRURL", "0"), QString("<missing>"));
    QCOMPARE(w.Combo1->currentText(), QString("Copper kettle is brave"));
    // The phrase is exact: in other case or with a blank, it is an address.
    w.Combo1->lineEdit()->clear();
    surf(w, "copper kettle is brave ", byEnter);
    QCOMPARE(t.view->navigations, QStringList{"copper kettle is brave "});
    QCOMPARE(t.dialogs.messages.size(), 1);
}

void tst_Navigation::twoSurfsKeepOnlyTheLaterForTheNextStart()
{
    TestBrowser t;
    QVERIFY(windowdriver::start(t));
    frmBrowser &w = *t.window;
    surf(w, "http://a.test/", true);
    w.Combo1->lineEdit()->clear();
    surf(w, "http://b.test/", true);
    QCOMPARE(t.view->navigations, (QStringList{"http://a.test/", "http://b.test/"}));
    QCOMPARE(t.stored("MRURL", "0"), QString("http://b.test/"));
    frmBrowser restarted(t.settings, t.dialogs, new FakePageView);
    restarted.load();
    QCOMPARE(entries(restarted.Combo1), QStringList{"http://b.test/"});
}

void tst_Navigation::choosingAListEntrySurfsIt()
{
    TestBrowser t;
    t.seed("MRURL", "0", "http://last.test/");
    QVERIFY(windowdriver::start(t));
    frmBrowser &w = *t.window;
    QVERIFY(windowdriver::typeInto(w.Combo1, ""));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(t.view->navigations, QStringList{"http://last.test/"});
    QCOMPARE(entries(w.Combo1), (QStringList{"http://last.test/", "http://last.test/"}));
    QCOMPARE(t.stored("MRURL", "0"), QString("http://last.test/"));
}

void tst_Navigation::textWrittenByCodeNeverSurfs()
{
    TestBrowser t;
    t.seed("MRURL", "0", "http://last.test/");
    QVERIFY(windowdriver::start(t));
    frmBrowser &w = *t.window;
    QSignalSpy surfs(w.Command2, &QPushButton::clicked);
    // A page event rewrites the half-typed bar; then the focus leaves it and a wheel turns over it.
    w.Combo1->lineEdit()->setText("half typ");
    t.view->address = "http://now.test/";
    t.view->fireCommandState(2, false);
    QCOMPARE(w.Combo1->currentText(), QString("http://now.test/"));
    w.Combo1->setCurrentIndex(0);
    QVERIFY(windowdriver::typeInto(w.Combo1, ""));
    QVERIFY(windowdriver::typeInto(w.Text1, ""));
    const QPointF at = w.Combo1->rect().center();
    QWheelEvent wheel(at, w.Combo1->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w.Combo1, &wheel);
    QCoreApplication::processEvents();
    QCOMPARE(surfs.count(), 0);
    QVERIFY(t.view->navigations.isEmpty());
    QCOMPARE(w.Combo1->count(), 1);
    QCOMPARE(t.stored("MRURL", "0"), QString("http://last.test/"));
}

void tst_Navigation::eventsWriteTheirPanelsAndCaption_data()
{
    // Events in order: "begun", "complete", or "status:" followed by its text.
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("expected"); // panel 1, panel 2, caption
    const QString address = "http://a.test/x?q=1";
    QTest::newRow("begun") << QStringList{"status:old", "begun"} << "T"
        << QStringList{"Getting Page...", "Skimlark is receiving packets...", "Skimlark"};
    QTest::newRow("complete, title kept as is") << QStringList{"begun", "complete"} << "  <b>x</b> & co  "
        << QStringList{"Got it", address, "Skimlark -   <b>x</b> & co  "};
    QTest::newRow("no title") << QStringList{"complete"} << ""
        << QStringList{"Got it", address, "Skimlark - "};
    QTest::newRow("empty status clears") << QStringList{"complete", "status:"} << "T"
        << QStringList{"Got it", "", "Skimlark - T"};
    QTest::newRow("status during a load") << QStringList{"begun", "status:  x  "} << "T"
        << QStringList{"Getting Page...", "  x  ", "Skimlark"};
}

void tst_Navigation::eventsWriteTheirPanelsAndCaption()
{
    QFETCH(QStringList, events);
    QFETCH(QString, title);
    QFETCH(QStringList, expected);
    TestBrowser t;
    t.window->load();
    t.view->address = "http://a.test/x?q=1";
    t.view->title = title;
    for (const QString &event : events) {
        if (event == "begun")
            t.view->fireDownloadBegun();
        else if (event == "complete")
            t.view->fireDownloadComplete();
        else
            t.view->fireStatusText(event.mid(QString("status:").size()));
    }
    QCOMPARE((QStringList{t.window->panels[0]->text(), t.window->panels[1]->text(),
                          t.window->windowTitle()}), expected);
    // Page text never becomes markup in the status bar.
    QCOMPARE(t.window->panels[1]->textFormat(), Qt::PlainText);
}

void tst_Navigation::onlyTheExactReferralAddressIsRedirected_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<bool>("redirected");
    const QString referral = maker::ReferralAddress;
    QTest::newRow("exact") << referral << referral << true;
    QTest::newRow("from a frame of the page") << referral << "http://ads.test/frame" << true;
    QTest::newRow("frame only") << "http://other.test/" << referral << false;
    QTest::newRow("other case") << QString(referral).replace("homepage", "HomePage") << "" << false;
    QTest::newRow("trailing slash") << referral + "/" << "" << false;
    QTest::newRow("added query key") << referral + "&ref=1" << "" << false;
}

void tst_Navigation::onlyTheExactReferralAddressIsRedirected()
{
    QFETCH(QString, current);
    QFETCH(QString, frame);
    QFETCH(bool, redirected);
    TestBrowser t;
    t.window->load();
    t.view->address = current;
    t.view->fireDocumentComplete(frame);
    QCOMPARE(t.view->navigations, redirected ? QStringList{maker::StartPage} : QStringList{});
}

void tst_Navigation::clockFormatKeepsSecondsAndDropsTheZone_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("shown");
    QTest::newRow("English (US)") << "en_US" << "1:04:05 PM";
    QTest::newRow("German") << "de_DE" << "13:04:05";
}

void tst_Navigation::clockFormatKeepsSecondsAndDropsTheZone()
{
    QFETCH(QString, locale);
    QFETCH(QString, shown);
    const QLocale l(locale);
    QCOMPARE(l.toString(QTime(13, 4, 5), PageStatus::clockFormat(l)), shown);
    // The panel shows the time from the start and ticks.
    TestBrowser t;
    const QString first = t.window->panels[2]->text();
    QVERIFY(QLocale().toTime(first, PageStatus::clockFormat(QLocale())).isValid());
    QTRY_VERIFY(t.window->panels[2]->text() != first);
}

void tst_Navigation::clickActsOnTheKey_data()
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

void tst_Navigation::clickActsOnTheKey()
{
    QFETCH(int, pages);
    QFETCH(int, backSteps);
    QFETCH(QString, home);
    QFETCH(QString, key);
    QFETCH(QString, call);
    QFETCH(QString, message);
    TestBrowser t;
    QVERIFY(windowdriver::start(t));
    for (const QString &address : QStringList{"http://a.test/", "http://b.test/"}.mid(0, pages)) {
        t.view->navigate(address);
        t.view->finishLoad(address);
    }
    for (int i = 0; i < backSteps; ++i)
        QVERIFY(t.view->goBack());
    // Stored after start-up: Home reads it afresh at the click.
    if (home != "-")
        t.seed("Home", "Address", home);
    const QString pageBefore = t.view->address;
    t.view->calls.clear();

    click(t, key);
    QCOMPARE(t.view->calls, QStringList{call});
    QCOMPARE(t.dialogs.messages.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        QCOMPARE(t.dialogs.messages[0].text, message);
        QCOMPARE(t.dialogs.messages[0].title, QString("Skimlark"));
        QCOMPARE(t.view->address, pageBefore);
    }
}

void tst_Navigation::favoriteButtonsRunTheFavoriteCommands()
{
    TestBrowser t;
    QVERIFY(windowdriver::start(t));
    const QStringList keys = {"one", "two", "three", "four", "five",
                              "six", "seven", "eight", "nine", "ten"};
    QList<QAction *> triggered;
    for (int n = 1; n <= 10; ++n) {
        QAction *item = t.window->menuItem(QString("mnuf%1").arg(n));
        connect(item, &QAction::triggered, this, [&triggered, item] { triggered << item; });
    }
    for (int n = 1; n <= 10; ++n) {
        click(t, keys[n - 1]);
        QCOMPARE(triggered.size(), n);
        QCOMPARE(triggered.last(), t.window->menuItem(QString("mnuf%1").arg(n)));
    }
}

void tst_Navigation::picturesAreOursAtEachDensity()
{
    TestBrowser t;
    t.window->load();
    QSet<QByteArray> distinct;
    for (QAction *action : t.window->Toolbar1->actions()) {
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

SKIMLARK_TEST_MAIN(tst_Navigation)
#include "tst_navigation.moc"
