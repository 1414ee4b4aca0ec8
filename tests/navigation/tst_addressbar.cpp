#include "search/defaultbuttonrule.h"
#include "support/windowdriver.h"
#include "support/testmain.h"

#include <QAbstractItemView>
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
} // namespace

class tst_AddressBar : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { windowdriver::failOnOtherWarnings(); }
    void surfSendsTheTextUnchanged_data();
    void surfSendsTheTextUnchanged();
    void hiddenPhraseShowsItsBoxAndNothingElse_data();
    void hiddenPhraseShowsItsBoxAndNothingElse();
    void twoSurfsKeepOnlyTheLaterForTheNextStart();
    void choosingAListEntrySurfsIt();
    void choosingFromTheOpenListSurfsIt();
    void nothingButAChoiceFromTheListSurfs();
    void enterWithNoDefaultButtonOnlyNavigates();
};

void tst_AddressBar::surfSendsTheTextUnchanged_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("byEnter");
    QTest::newRow("enter, full address") << "http://a.test/x?y=1" << true;
    QTest::newRow("button, full address") << "http://a.test/x?y=1" << false;
    QTest::newRow("enter, text already in the list surfs once") << "http://before.test/" << true;
    QTest::newRow("enter, blanks and case kept") << " Example.COM/a b " << true;
    QTest::newRow("button, empty text") << "" << false;
    QTest::newRow("enter, phrase in other case") << "copper kettle is brave" << true;
    QTest::newRow("button, phrase with trailing blank") << "Copper kettle is brave " << false;
}

void tst_AddressBar::surfSendsTheTextUnchanged()
{
    QFETCH(QString, typed);
    QFETCH(bool, byEnter);
    TestBrowser t;
    t.seed("MRURL", "0", "http://before.test/");
    QVERIFY(windowdriver::start(t));
    frmBrowser &w = *t.window;
    QSignalSpy returns(w.Combo1->lineEdit(), &QLineEdit::returnPressed);
    QVERIFY(windowdriver::typeInto(w.Combo1, typed));
    if (byEnter)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    else
        QTest::mouseClick(w.Command2, Qt::LeftButton);
    QCOMPARE(t.view->navigations, QStringList{typed});
    QCOMPARE(returns.count(), 0); // the Enter went to "Surf", not into the field
    QCOMPARE(entries(w.Combo1), (QStringList{"http://before.test/", typed}));
    QCOMPARE(w.Combo1->currentText(), typed);
    QCOMPARE(t.stored("MRURL", "0"), typed);
    QCOMPARE(t.stored("cbocount", "count"), QString("0"));
    QVERIFY(w.Command2->isDefault());
    QVERIFY(t.dialogs.messages.isEmpty());
}

void tst_AddressBar::hiddenPhraseShowsItsBoxAndNothingElse_data()
{
    QTest::addColumn<bool>("byEnter");
    QTest::newRow("enter") << true;
    QTest::newRow("button") << false;
}

void tst_AddressBar::hiddenPhraseShowsItsBoxAndNothingElse()
{
    QFETCH(bool, byEnter);
    TestBrowser t;
    QVERIFY(windowdriver::start(t));
    frmBrowser &w = *t.window;
    QVERIFY(windowdriver::typeInto(w.Combo1, "Copper kettle is brave"));
    if (byEnter)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    else
        QTest::mouseClick(w.Command2, Qt::LeftButton);
    QCOMPARE(t.dialogs.messages.size(), 1);
    QCOMPARE(t.dialogs.messages[0].text, QString("hell yeah"));
    QCOMPARE(t.dialogs.messages[0].title, QString("Skimlark"));
    QVERIFY(t.view->navigations.isEmpty());
    QCOMPARE(entries(w.Combo1), QStringList{""});
    QCOMPARE(t.stored("MRURL", "0"), QString("<missing>"));
    QCOMPARE(t.stored("cbocount", "count"), QString("<missing>"));
    QCOMPARE(w.Combo1->currentText(), QString("Copper kettle is brave"));
}

void tst_AddressBar::twoSurfsKeepOnlyTheLaterForTheNextStart()
{
    TestBrowser t;
    QVERIFY(windowdriver::start(t));
    frmBrowser &w = *t.window;
    QVERIFY(windowdriver::typeInto(w.Combo1, "http://a.test/"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    w.Combo1->lineEdit()->clear();
    QVERIFY(windowdriver::typeInto(w.Combo1, "http://b.test/"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(t.view->navigations, (QStringList{"http://a.test/", "http://b.test/"}));
    QCOMPARE(entries(w.Combo1), (QStringList{"", "http://a.test/", "http://b.test/"}));
    QCOMPARE(t.stored("MRURL", "0"), QString("http://b.test/"));

    // The next start offers only the later address.
    auto *view = new FakePageView;
    frmBrowser restarted(t.settings, t.dialogs, view);
    restarted.load();
    QCOMPARE(entries(restarted.Combo1), QStringList{"http://b.test/"});
}

void tst_AddressBar::choosingAListEntrySurfsIt()
{
    TestBrowser t;
    t.seed("MRURL", "0", "http://last.test/");
    QVERIFY(windowdriver::start(t));
    frmBrowser &w = *t.window;
    // Moving the selection with the keyboard chooses the entry.
    QVERIFY(windowdriver::typeInto(w.Combo1, ""));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(t.view->navigations, QStringList{"http://last.test/"});
    QCOMPARE(entries(w.Combo1), (QStringList{"http://last.test/", "http://last.test/"}));
    QCOMPARE(w.Combo1->currentText(), QString("http://last.test/"));
    QCOMPARE(t.stored("MRURL", "0"), QString("http://last.test/"));
}

void tst_AddressBar::choosingFromTheOpenListSurfsIt()
{
    TestBrowser t;
    QVERIFY(windowdriver::start(t));
    frmBrowser &w = *t.window;
    // The empty start-up entry is a choice too: it surfs the empty address.
    w.Combo1->showPopup();
    QAbstractItemView *list = w.Combo1->view();
    QTRY_VERIFY(list->isVisible());
    const QRect row = list->visualRect(list->model()->index(0, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    QTRY_COMPARE(t.view->navigations, QStringList{""});
    QCOMPARE(entries(w.Combo1), (QStringList{"", ""}));
}

void tst_AddressBar::nothingButAChoiceFromTheListSurfs()
{
    TestBrowser t;
    t.seed("MRURL", "0", "http://last.test/");
    QVERIFY(windowdriver::start(t));
    frmBrowser &w = *t.window;
    // Text written from code, as the page events do.
    w.Combo1->setEditText("http://page.test/");
    w.Combo1->setCurrentIndex(0);
    // Leaving the bar, and opening its list, on a text that is also an entry.
    QVERIFY(windowdriver::typeInto(w.Combo1, ""));
    QVERIFY(windowdriver::typeInto(w.Text1, ""));
    QVERIFY(windowdriver::typeInto(w.Combo1, ""));
    w.Combo1->showPopup();
    QTRY_VERIFY(w.Combo1->view()->isVisible());
    w.Combo1->hidePopup();
    // Scrolling over the bar.
    const QPointF at = w.Combo1->rect().center();
    QWheelEvent wheel(at, w.Combo1->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w.Combo1, &wheel);
    QCoreApplication::processEvents();
    QVERIFY(t.view->navigations.isEmpty());
    QCOMPARE(w.Combo1->count(), 1);
}

void tst_AddressBar::enterWithNoDefaultButtonOnlyNavigates()
{
    TestBrowser t;
    QVERIFY(windowdriver::start(t));
    frmBrowser &w = *t.window;
    QVERIFY(windowdriver::typeInto(w.Combo1, "http://a.test/"));
    // Not reachable by focus alone: the bar takes the role when it gains the focus.
    auto *rule = w.findChild<DefaultButtonRule *>();
    QVERIFY(rule);
    rule->setDefault(nullptr);
    QVERIFY(!w.Command2->isDefault());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(t.view->navigations, QStringList{"http://a.test/"});
    QCOMPARE(w.Combo1->count(), 1);
    QCOMPARE(t.stored("MRURL", "0"), QString("<missing>"));
}

SKIMLARK_TEST_MAIN(tst_AddressBar)
#include "tst_addressbar.moc"
