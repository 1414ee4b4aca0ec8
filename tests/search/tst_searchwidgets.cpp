#include "support/windowdriver.h"
#include "support/testmain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {
const QStringList EngineIds = {
    "overture", "google", "yahoo", "excite", "lycos", "hotbot", "webcrawler", "altavista", "abc",
    "search", "seekways", "seekways", "newscomsearch", "cbsnews", "foxnews", "cnnnews", "nbcnews",
    "downloadcom"};
} // namespace

class tst_SearchWidgets : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { windowdriver::failOnOtherWarnings(); }
    void enterSearchesInTheBoxAndSurfsInTheBar();
    void searchCommandUsesTheStoredEngine_data();
    void searchCommandUsesTheStoredEngine();
    void menuChoiceKeepsOneMarkAndStoresTheId_data();
    void menuChoiceKeepsOneMarkAndStoresTheId();
    void tabOpensFrontPageOrSearch_data();
    void tabOpensFrontPageOrSearch();
};

void tst_SearchWidgets::enterSearchesInTheBoxAndSurfsInTheBar()
{
    TestBrowser t;
    QVERIFY(windowdriver::start(t));
    frmBrowser &w = *t.window;
    QSignalSpy returns(w.Text1, &QLineEdit::returnPressed);
    w.Text1->clear();
    QVERIFY(windowdriver::typeInto(w.Text1, "C++ & C#"));
    QVERIFY(w.Command1->isDefault() && !w.Command2->isDefault());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(t.view->navigations, QStringList{"http://www.google.com/search?q=C%2B%2B%20%26%20C%23"});
    // Search ran once; Surf did not (no new entry, nothing stored).
    QCOMPARE(returns.count(), 0);
    QCOMPARE(w.Combo1->count(), 1);
    QCOMPARE(t.stored("MRURL", "0"), QString("<missing>"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(t.view->navigations.size(), 2);

    t.view->navigations.clear();
    QVERIFY(windowdriver::typeInto(w.Combo1, "http://a.test/"));
    QVERIFY(w.Command2->isDefault() && !w.Command1->isDefault());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(t.view->navigations, QStringList{"http://a.test/"});
    QCOMPARE(w.Combo1->count(), 2);
}

void tst_SearchWidgets::searchCommandUsesTheStoredEngine_data()
{
    QTest::addColumn<QString>("engine"); // "<none>": nothing stored
    QTest::addColumn<QString>("text");   // "<untouched>": the start-up text
    QTest::addColumn<QStringList>("navigations");
    QTest::newRow("nothing stored is google") << "<none>" << "<untouched>"
        << QStringList{"http://www.google.com/search?q=Enter%20your%20search%20keyword%20here"};
    QTest::newRow("empty box on cbs news") << "cbsnews" << ""
        << QStringList{"http://search.atomz.com/search/?sp-q=&sp-k=CBS+News&sp-s=1&sp-p=all&sp-a=sp5d2e8a71"};
}

void tst_SearchWidgets::searchCommandUsesTheStoredEngine()
{
    QFETCH(QString, engine);
    QFETCH(QString, text);
    QFETCH(QStringList, navigations);
    TestBrowser t;
    if (engine != "<none>")
        t.seed("Home", "Engine", engine);
    t.window->load();
    if (text != "<untouched>")
        t.window->Text1->setText(text);
    QTest::mouseClick(t.window->Command1, Qt::LeftButton);
    QCOMPARE(t.view->navigations, navigations);
    QVERIFY(t.dialogs.messages.isEmpty());
}

void tst_SearchWidgets::menuChoiceKeepsOneMarkAndStoresTheId_data()
{
    QTest::addColumn<QString>("startEngine");
    QTest::addColumn<QStringList>("startMarks");
    QTest::newRow("from google") << "google" << QStringList{"mnugoogle"};
    QTest::newRow("from the two seekways marks") << "seekways" << QStringList{"mnuaskjeeves", "mnuseekways"};
}

void tst_SearchWidgets::menuChoiceKeepsOneMarkAndStoresTheId()
{
    QFETCH(QString, startEngine);
    QFETCH(QStringList, startMarks);
    TestBrowser t;
    t.seed("Home", "Engine", startEngine);
    t.window->load();
    frmBrowser &w = *t.window;
    QCOMPARE(checkedEngineItems(w), startMarks);
    w.Text1->setText("words");
    // Every item in turn, hidden ones included, and the first one twice.
    for (const QString &name : EngineItemNames + QStringList{EngineItemNames.first()}) {
        w.menuItem(name)->trigger();
        QCOMPARE(checkedEngineItems(w), QStringList{name});
        QCOMPARE(t.stored("Home", "Engine"), EngineIds.at(EngineItemNames.indexOf(name)));
    }
    QVERIFY(t.view->navigations.isEmpty());
    QCOMPARE(w.Text1->text(), QString("words"));
}

void tst_SearchWidgets::tabOpensFrontPageOrSearch_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("target");
    QTest::newRow("empty box, front page") << "" << 4 << "http://www.google.com";
    QTest::newRow("cats on DMOZ") << "cats" << 2 << "http://search.dmoz.org/cgi-bin/search?search=cats";
}

void tst_SearchWidgets::tabOpensFrontPageOrSearch()
{
    QFETCH(QString, text);
    QFETCH(int, position);
    QFETCH(QString, target);
    TestBrowser t;
    t.seed("Home", "Engine", "excite");
    QVERIFY(windowdriver::start(t));
    frmBrowser &w = *t.window;
    w.Text1->setText(text);
    const QPoint at = w.TabStrip1->tabRect(position - 1).center();
    QTest::mouseClick(w.TabStrip1, Qt::LeftButton, {}, at);
    QTest::mouseClick(w.TabStrip1, Qt::LeftButton, {}, at);
    QCOMPARE(t.view->navigations, (QStringList{target, target}));
    // The tab leaves the chosen engine alone.
    QCOMPARE(checkedEngineItems(w), QStringList{"mnuexcite"});
    QCOMPARE(t.stored("Home", "Engine"), QString("excite"));
}

SKIMLARK_TEST_MAIN(tst_SearchWidgets)
#include "tst_searchwidgets.moc"
