#include "browser/makeraddresses.h"
#include "navigation/pagestatus.h"
#include "support/testenv.h"
#include "support/testmain.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

namespace {
QString panel(const TestBrowser &t, int n)
{
    return t.window->panels[n - 1]->text();
}
} // namespace

class tst_PageStatus : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void downloadBegunAnnouncesTheLoad();
    void downloadCompleteShowsAddressAndTitle_data();
    void downloadCompleteShowsAddressAndTitle();
    void statusTextGoesToTheMiddlePanel_data();
    void statusTextGoesToTheMiddlePanel();
    void commandStateRewritesTheAddressBarWithoutSurfing();
    void referralAddressIsRedirected_data();
    void referralAddressIsRedirected();
    void startWithoutHomeEndsOnTheStartPage();
    void clockShowsTheTimeWithSeconds();
    void clockFormatKeepsSecondsAndDropsTheZone_data();
    void clockFormatKeepsSecondsAndDropsTheZone();
};

void tst_PageStatus::downloadBegunAnnouncesTheLoad()
{
    TestBrowser t;
    t.window->load();
    t.view->fireStatusText("earlier text");
    t.view->fireDownloadBegun();
    QCOMPARE(panel(t, 1), QString("Getting Page..."));
    QCOMPARE(panel(t, 2), QString("Skimlark is receiving packets..."));
    QCOMPARE(t.window->windowTitle(), QString("Skimlark"));
}

void tst_PageStatus::downloadCompleteShowsAddressAndTitle_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("title");
    QTest::newRow("plain") << "http://a.test/" << "A page";
    QTest::newRow("blanks kept") << "http://a.test/x?q=1" << "  spaced title  ";
    QTest::newRow("no title") << "http://a.test/" << "";
    QTest::newRow("markup shown as text") << "http://a.test/" << "<b>bold</b> & co";
    QTest::newRow("long title not shortened") << "http://a.test/" << QString(300, 'x');
}

void tst_PageStatus::downloadCompleteShowsAddressAndTitle()
{
    QFETCH(QString, address);
    QFETCH(QString, title);
    TestBrowser t;
    t.window->load();
    t.view->fireDownloadBegun();
    t.view->address = address;
    t.view->title = title;
    t.view->fireDownloadComplete();
    QCOMPARE(panel(t, 1), QString("Got it"));
    QCOMPARE(panel(t, 2), address);
    QCOMPARE(t.window->windowTitle(), "Skimlark - " + title);
    // Page text never becomes markup in the status bar.
    QCOMPARE(t.window->panels[1]->textFormat(), Qt::PlainText);
}

void tst_PageStatus::statusTextGoesToTheMiddlePanel_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("link") << "http://link.test/page";
    QTest::newRow("empty clears") << "";
    QTest::newRow("blanks kept") << "  x  ";
}

void tst_PageStatus::statusTextGoesToTheMiddlePanel()
{
    QFETCH(QString, text);
    TestBrowser t;
    t.window->load();
    t.view->address = "http://a.test/";
    t.view->fireDownloadComplete();
    t.view->fireStatusText(text);
    QCOMPARE(panel(t, 2), text);
    // Panel 1 and the caption belong to the load events.
    QCOMPARE(panel(t, 1), QString("Got it"));
    QCOMPARE(t.window->windowTitle(), QString("Skimlark - "));
}

void tst_PageStatus::commandStateRewritesTheAddressBarWithoutSurfing()
{
    TestBrowser t;
    t.seed("MRURL", "0", "http://last.test/");
    t.window->load();
    QSignalSpy surf(t.window->Command2, &QPushButton::clicked);
    QSignalSpy picked(t.window->Combo1, &QComboBox::activated);
    t.window->Combo1->lineEdit()->setText("half typ");
    t.view->address = "http://now.test/";
    t.view->fireCommandState(2, false);
    QCOMPARE(t.window->Combo1->currentText(), QString("http://now.test/"));
    // Neither parameter matters: the same for any command.
    t.view->address = "http://later.test/";
    t.view->fireCommandState(1, true);
    QCOMPARE(t.window->Combo1->currentText(), QString("http://later.test/"));
    QCOMPARE(surf.count(), 0);
    QCOMPARE(picked.count(), 0);
    QVERIFY(t.view->navigations.isEmpty());
    // The visited-address list is left as it was.
    QCOMPARE(t.window->Combo1->count(), 1);
    QCOMPARE(t.window->Combo1->itemText(0), QString("http://last.test/"));
    QCOMPARE(t.stored("MRURL", "0"), QString("http://last.test/"));
}

void tst_PageStatus::referralAddressIsRedirected_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<bool>("redirected");
    const QString referral = maker::ReferralAddress;
    QTest::newRow("exact") << referral << referral << true;
    QTest::newRow("from a frame of the page") << referral << "http://ads.test/frame" << true;
    QTest::newRow("frame only") << "http://other.test/" << referral << false;
    QTest::newRow("other case") << QString(referral).replace("homepage", "HomePage") << "" << false;
    QTest::newRow("upper-case host") << QString(referral).replace("www.velmora", "WWW.velmora") << "" << false;
    QTest::newRow("extra slash") << QString(referral).replace("/?x=", "//?x=") << "" << false;
    QTest::newRow("trailing slash") << referral + "/" << "" << false;
    QTest::newRow("added query key") << referral + "&ref=1" << "" << false;
    QTest::newRow("https") << QString(referral).replace("http://", "https://") << "" << false;
    QTest::newRow("start page itself") << maker::StartPage << "" << false;
    QTest::newRow("empty") << "" << "" << false;
}

void tst_PageStatus::referralAddressIsRedirected()
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

void tst_PageStatus::startWithoutHomeEndsOnTheStartPage()
{
    TestBrowser t;
    t.window->load();
    t.view->navigate(t.window->TabStrip1->tag(0));
    t.view->finishLoad("Affiliates");
    QCOMPARE(t.view->navigations, (QStringList{maker::ReferralAddress, maker::StartPage}));
    t.view->finishLoad("Skimlark start");
    QCOMPARE(t.view->navigations.size(), 2);
    QCOMPARE(t.window->windowTitle(), QString("Skimlark - Skimlark start"));
    QCOMPARE(panel(t, 1), QString("Got it"));
    QCOMPARE(panel(t, 2), maker::StartPage);
    QCOMPARE(t.window->Combo1->currentText(), maker::StartPage);
}

void tst_PageStatus::clockShowsTheTimeWithSeconds()
{
    TestBrowser t;
    QCOMPARE(t.window->Timer3->interval(), 500);
    QVERIFY(t.window->Timer3->isActive());
    // Shown from the start, not half a second later.
    const QString format = PageStatus::clockFormat(QLocale());
    QVERIFY(QLocale().toTime(panel(t, 3), format).isValid());
    // It ticks: the text changes when the second does.
    const QString shown = panel(t, 3);
    QTRY_VERIFY(panel(t, 3) != shown);
    QVERIFY(QLocale().toTime(panel(t, 3), format).isValid());
}

void tst_PageStatus::clockFormatKeepsSecondsAndDropsTheZone_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("shown");
    QTest::newRow("English (US)") << "en_US" << "1:04:05 PM";
    QTest::newRow("German") << "de_DE" << "13:04:05";
    QTest::newRow("British") << "en_GB" << "13:04:05";
    QTest::newRow("C") << "C" << "13:04:05";
}

void tst_PageStatus::clockFormatKeepsSecondsAndDropsTheZone()
{
    QFETCH(QString, locale);
    QFETCH(QString, shown);
    const QLocale l(locale);
    QCOMPARE(l.toString(QTime(13, 4, 5), PageStatus::clockFormat(l)), shown);
}

SKIMLARK_TEST_MAIN(tst_PageStatus)
#include "tst_pagestatus.moc"
