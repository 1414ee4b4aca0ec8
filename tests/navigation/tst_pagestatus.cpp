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

class tst_PageStatus : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void eventsWriteTheirPanelsAndCaption_data();
    void eventsWriteTheirPanelsAndCaption();
    void commandStateRewritesTheAddressBarWithoutSurfing();
    void onlyTheExactReferralAddressIsRedirected_data();
    void onlyTheExactReferralAddressIsRedirected();
    void startWithoutHomeEndsOnTheStartPage();
    void clockShowsTheTimeWithSeconds();
    void clockFormatKeepsSecondsAndDropsTheZone_data();
    void clockFormatKeepsSecondsAndDropsTheZone();
};

void tst_PageStatus::eventsWriteTheirPanelsAndCaption_data()
{
    // Events in order: "begun", "complete", or "status:" followed by its text.
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("expected"); // panel 1, panel 2, caption
    const QString address = "http://a.test/x?q=1";
    QTest::newRow("begun") << QStringList{"status:old", "begun"} << "T"
        << QStringList{"Getting Page...", "Skimlark is receiving packets...", "Skimlark"};
    QTest::newRow("complete") << QStringList{"begun", "complete"} << "A page"
        << QStringList{"Got it", address, "Skimlark - A page"};
    QTest::newRow("title kept as is") << QStringList{"complete"} << "  <b>x</b> & co  "
        << QStringList{"Got it", address, "Skimlark -   <b>x</b> & co  "};
    QTest::newRow("no title") << QStringList{"complete"} << ""
        << QStringList{"Got it", address, "Skimlark - "};
    QTest::newRow("long title") << QStringList{"complete"} << QString(300, 'x')
        << QStringList{"Got it", address, "Skimlark - " + QString(300, 'x')};
    QTest::newRow("status after complete") << QStringList{"complete", "status:http://link.test/"} << "T"
        << QStringList{"Got it", "http://link.test/", "Skimlark - T"};
    QTest::newRow("empty status clears") << QStringList{"complete", "status:"} << "T"
        << QStringList{"Got it", "", "Skimlark - T"};
    QTest::newRow("status during a load") << QStringList{"begun", "status:  x  "} << "T"
        << QStringList{"Getting Page...", "  x  ", "Skimlark"};
}

void tst_PageStatus::eventsWriteTheirPanelsAndCaption()
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
    QCOMPARE(t.window->panels[0]->text(), expected[0]);
    QCOMPARE(t.window->panels[1]->text(), expected[1]);
    QCOMPARE(t.window->windowTitle(), expected[2]);
    // Page text never becomes markup in the status bar.
    QCOMPARE(t.window->panels[1]->textFormat(), Qt::PlainText);
}

void tst_PageStatus::commandStateRewritesTheAddressBarWithoutSurfing()
{
    TestBrowser t;
    t.seed("MRURL", "0", "http://last.test/");
    t.window->load();
    QSignalSpy surf(t.window->Command2, &QPushButton::clicked);
    t.window->Combo1->lineEdit()->setText("half typ");
    // Neither parameter matters.
    for (const auto &[command, enabled] : {std::pair{2, false}, std::pair{1, true}, std::pair{-1, true}}) {
        t.view->address = QString("http://now.test/%1").arg(command);
        t.view->fireCommandState(command, enabled);
        QCOMPARE(t.window->Combo1->currentText(), t.view->address);
    }
    QCOMPARE(surf.count(), 0);
    QVERIFY(t.view->navigations.isEmpty());
    QCOMPARE(t.window->Combo1->count(), 1);
    QCOMPARE(t.stored("MRURL", "0"), QString("http://last.test/"));
}

void tst_PageStatus::onlyTheExactReferralAddressIsRedirected_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<bool>("redirected");
    const QString referral = maker::ReferralAddress;
    QTest::newRow("exact") << referral << referral << true;
    QTest::newRow("from a frame of the page") << referral << "http://ads.test/frame" << true;
    QTest::newRow("frame only") << "http://other.test/" << referral << false;
    QTest::newRow("other case") << QString(referral).replace("homepage", "HomePage") << "" << false;
    QTest::newRow("extra slash") << QString(referral).replace("/?x=", "//?x=") << "" << false;
    QTest::newRow("trailing slash") << referral + "/" << "" << false;
    QTest::newRow("added query key") << referral + "&ref=1" << "" << false;
    QTest::newRow("https") << QString(referral).replace("http://", "https://") << "" << false;
    QTest::newRow("start page itself") << maker::StartPage << "" << false;
}

void tst_PageStatus::onlyTheExactReferralAddressIsRedirected()
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
    t.view->finishLoad("Skimlark start");
    QCOMPARE(t.view->navigations, (QStringList{maker::ReferralAddress, maker::StartPage}));
    QCOMPARE(t.window->windowTitle(), QString("Skimlark - Skimlark start"));
    QCOMPARE(t.window->panels[1]->text(), maker::StartPage);
    QCOMPARE(t.window->Combo1->currentText(), maker::StartPage);
}

void tst_PageStatus::clockShowsTheTimeWithSeconds()
{
    TestBrowser t;
    QCOMPARE(t.window->Timer3->interval(), 500);
    QVERIFY(t.window->Timer3->isActive());
    // Shown from the start, then ticking.
    const QString format = PageStatus::clockFormat(QLocale());
    const QString shown = t.window->panels[2]->text();
    QVERIFY(QLocale().toTime(shown, format).isValid());
    QTRY_VERIFY(t.window->panels[2]->text() != shown);
    QVERIFY(QLocale().toTime(t.window->panels[2]->text(), format).isValid());
}

void tst_PageStatus::clockFormatKeepsSecondsAndDropsTheZone_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("shown");
    QTest::newRow("English (US)") << "en_US" << "1:04:05 PM";
    QTest::newRow("German") << "de_DE" << "13:04:05";
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
