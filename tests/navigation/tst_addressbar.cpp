#include "support/windowdriver.h"
#include "support/testmain.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
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
} // namespace

class tst_AddressBar : public QObject
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
    void nothingButAChoiceFromTheListSurfs();
};

void tst_AddressBar::surfSendsTheTextUnchanged_data()
{
    QTest::addColumn<bool>("byEnter");
    QTest::newRow("enter") << true;
    QTest::newRow("button") << false;
}

void tst_AddressBar::surfSendsTheTextUnchanged()
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

void tst_AddressBar::hiddenPhraseShowsItsBoxAndNothingElse()
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

void tst_AddressBar::twoSurfsKeepOnlyTheLaterForTheNextStart()
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

void tst_AddressBar::choosingAListEntrySurfsIt()
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

void tst_AddressBar::nothingButAChoiceFromTheListSurfs()
{
    TestBrowser t;
    t.seed("MRURL", "0", "http://last.test/");
    QVERIFY(windowdriver::start(t));
    frmBrowser &w = *t.window;
    // Text written from code, as page events do, then focus moves and a wheel turn.
    w.Combo1->setEditText("http://page.test/");
    w.Combo1->setCurrentIndex(0);
    QVERIFY(windowdriver::typeInto(w.Combo1, ""));
    QVERIFY(windowdriver::typeInto(w.Text1, ""));
    const QPointF at = w.Combo1->rect().center();
    QWheelEvent wheel(at, w.Combo1->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w.Combo1, &wheel);
    QCoreApplication::processEvents();
    QVERIFY(t.view->navigations.isEmpty());
    QCOMPARE(w.Combo1->count(), 1);
}

SKIMLARK_TEST_MAIN(tst_AddressBar)
#include "tst_addressbar.moc"
