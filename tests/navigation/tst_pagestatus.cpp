#include "browser/makeraddresses.h"
#include "navigation/pagestatus.h"
#include "support/testenv.h"
#include "support/testmain.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
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
    QTest::newRow("complete, title kept as is") << QStringList{"begun", "complete"} << "  <b>x</b> & co  "
        << QStringList{"Got it", address, "Skimlark -   <b>x</b> & co  "};
    QTest::newRow("no title") << QStringList{"complete"} << ""
        << QStringList{"Got it", address, "Skimlark - "};
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
    QCOMPARE((QStringList{t.window->panels[0]->text(), t.window->panels[1]->text(),
                          t.window->windowTitle()}), expected);
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
    t.view->address = "http://now.test/";
    t.view->fireCommandState(2, false);
    QCOMPARE(t.window->Combo1->currentText(), QString("http://now.test/"));
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
    QTest::newRow("trailing slash") << referral + "/" << "" << false;
    QTest::newRow("added query key") << referral + "&ref=1" << "" << false;
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

void tst_PageStatus::clockFormatKeepsSecondsAndDropsTheZone_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("shown");
    QTest::newRow("English (US)") << "en_US" << "1:04:05 PM";
    QTest::newRow("German") << "de_DE" << "13:04:05";
}

void tst_PageStatus::clockFormatKeepsSecondsAndDropsTheZone()
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

SKIMLARK_TEST_MAIN(tst_PageStatus)
#include "tst_pagestatus.moc"
