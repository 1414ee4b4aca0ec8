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
const QStringList EngineItems = {
    "mnugotosearch", "mnugoogle", "mnuyahoo", "mnuexcite", "mnulycos", "mnudogpile",
    "mnuwebcrawler", "mnualtavista", "mnuabc", "mnusearchcom", "mnuaskjeeves", "mnuseekways",
    "mnunewscomsearch", "mnucbsnewssearch", "mnufoxnewssearch", "mnucnnnewssearch",
    "mnunbcsearch", "mnudownloadcom"};
const QStringList EngineIds = {
    "overture", "google", "yahoo", "excite", "lycos", "hotbot", "webcrawler", "altavista", "abc",
    "search", "seekways", "seekways", "newscomsearch", "cbsnews", "foxnews", "cnnnews", "nbcnews",
    "downloadcom"};

QStringList checkedItems(const frmBrowser &w)
{
    QStringList result;
    for (const QString &name : EngineItems) {
        if (w.menuItem(name)->isChecked())
            result << name;
    }
    return result;
}

} // namespace

class tst_SearchWidgets : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { windowdriver::failOnOtherWarnings(); }
    void enterInSearchBoxSearchesOnceAndNeverSurfs();
    void enterSurfsOnceFocusMovesToTheAddressBar();
    void searchCommandUsesTheStoredEngine_data();
    void searchCommandUsesTheStoredEngine();
    void menuChoiceKeepsOneMarkAndStoresTheId_data();
    void menuChoiceKeepsOneMarkAndStoresTheId();
    void tabSelectionOpensFrontPageOrSearch_data();
    void tabSelectionOpensFrontPageOrSearch();
    void homePageTabOpensItsTag();
    void tabLeavesTheStoredEngineAlone();
};

void tst_SearchWidgets::enterInSearchBoxSearchesOnceAndNeverSurfs()
{
    TestBrowser t;
    QVERIFY(windowdriver::start(t));
    frmBrowser &w = *t.window;
    QSignalSpy returns(w.Text1, &QLineEdit::returnPressed);
    w.Text1->clear();
    QVERIFY(windowdriver::typeInto(w.Text1, "C++ & C#"));
    QVERIFY(w.Command1->isDefault());
    QVERIFY(!w.Command2->isDefault());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(t.view->navigations, QStringList{"http://www.google.com/search?q=C%2B%2B%20%26%20C%23"});
    // The Enter went to the button, not into the box; Surf did not run.
    QCOMPARE(returns.count(), 0);
    QCOMPARE(w.Combo1->count(), 1);
    QCOMPARE(t.stored("MRURL", "0"), QString("<missing>"));
    QCOMPARE(w.Text1->text(), QString("C++ & C#"));

    // The keypad's Enter does the same.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(t.view->navigations.size(), 2);
}

void tst_SearchWidgets::enterSurfsOnceFocusMovesToTheAddressBar()
{
    TestBrowser t;
    QVERIFY(windowdriver::start(t));
    frmBrowser &w = *t.window;
    QVERIFY(windowdriver::typeInto(w.Text1, "x"));
    QVERIFY(w.Command1->isDefault());
    QVERIFY(windowdriver::typeInto(w.Combo1, "http://a.test/"));
    QVERIFY(w.Command2->isDefault());
    QVERIFY(!w.Command1->isDefault());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(t.view->navigations, QStringList{"http://a.test/"});
    QCOMPARE(w.Combo1->count(), 2);
    // Back in the search box, Enter searches again.
    QVERIFY(windowdriver::typeInto(w.Text1, ""));
    QVERIFY(w.Command1->isDefault());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(t.view->navigations.size(), 2);
    QVERIFY(t.view->navigations.last().startsWith("http://www.google.com/search?q="));
}

void tst_SearchWidgets::searchCommandUsesTheStoredEngine_data()
{
    QTest::addColumn<QString>("engine"); // "<none>": nothing stored
    QTest::addColumn<QString>("text");   // "<untouched>": the start-up text
    QTest::addColumn<QStringList>("navigations");
    QTest::newRow("nothing stored is google")
        << "<none>" << "cats" << QStringList{"http://www.google.com/search?q=cats"};
    QTest::newRow("empty box on cbs news")
        << "cbsnews" << ""
        << QStringList{"http://search.atomz.com/search/?sp-q=&sp-k=CBS+News&sp-s=1&sp-p=all&sp-a=sp5d2e8a71"};
    QTest::newRow("untouched box searches the start-up words")
        << "<none>" << "<untouched>"
        << QStringList{"http://www.google.com/search?q=Enter%20your%20search%20keyword%20here"};
    QTest::newRow("seekways twice in table order")
        << "seekways" << "cats"
        << QStringList{"http://www.seekways.example/cgi-bin/sponsors/smartsearch.cgi?keywords=cats",
                       "http://www.seekways.example/search/search.cgi?Terms=cats"};
    QTest::newRow("stored empty id is the portal")
        << "" << "cats" << QStringList{"http://www.search.com/search?channel=1&tag=st.se.fd..sch&q=cats"};
    QTest::newRow("capital G does nothing") << "Google" << "cats" << QStringList{};
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
    QCOMPARE(t.stored("Home", "Engine"), engine == "<none>" ? QString("<missing>") : engine);
}

void tst_SearchWidgets::menuChoiceKeepsOneMarkAndStoresTheId_data()
{
    QTest::addColumn<QString>("startEngine");
    QTest::addColumn<QStringList>("startMarks");
    QTest::newRow("from google") << "google" << QStringList{"mnugoogle"};
    QTest::newRow("from the two hidden seekways marks")
        << "seekways" << QStringList{"mnuaskjeeves", "mnuseekways"};
    QTest::newRow("from no mark") << "dogpile" << QStringList{};
}

void tst_SearchWidgets::menuChoiceKeepsOneMarkAndStoresTheId()
{
    QFETCH(QString, startEngine);
    QFETCH(QStringList, startMarks);
    TestBrowser t;
    t.seed("Home", "Engine", startEngine);
    t.window->load();
    frmBrowser &w = *t.window;
    QCOMPARE(checkedItems(w), startMarks);
    w.Text1->setText("words");
    // Every item in turn, hidden ones included, and the first one twice.
    QStringList order = EngineItems;
    order << EngineItems.first();
    for (const QString &name : order) {
        w.menuItem(name)->trigger();
        QCOMPARE(checkedItems(w), QStringList{name});
        QCOMPARE(t.stored("Home", "Engine"), EngineIds.at(EngineItems.indexOf(name)));
    }
    // A choice does nothing else.
    QVERIFY(t.view->navigations.isEmpty());
    QCOMPARE(w.Text1->text(), QString("words"));
    QCOMPARE(w.TabStrip1->tag(4), QString());
}

void tst_SearchWidgets::tabSelectionOpensFrontPageOrSearch_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("target");
    QTest::newRow("empty box, Google front page") << "" << 4 << "http://www.google.com";
    QTest::newRow("empty box, All The Web front page") << "" << 10 << "http://www.alltheweb.com/";
    QTest::newRow("cats on Alta Vista")
        << "cats" << 9 << "http://www.altavista.com/sites/search/web?q=cats&pg=q&kl=XX";
    QTest::newRow("cats on DMOZ") << "cats" << 2 << "http://search.dmoz.org/cgi-bin/search?search=cats";
    QTest::newRow("blank box is a search")
        << " " << 4 << "http://www.google.com/search?q=%20";
}

void tst_SearchWidgets::tabSelectionOpensFrontPageOrSearch()
{
    QFETCH(QString, text);
    QFETCH(int, position);
    QFETCH(QString, target);
    TestBrowser t;
    QVERIFY(windowdriver::start(t));
    frmBrowser &w = *t.window;
    w.Text1->setText(text);
    QTest::mouseClick(w.TabStrip1, Qt::LeftButton, {}, w.TabStrip1->tabRect(position - 1).center());
    QCOMPARE(t.view->navigations, QStringList{target});
    // A second click on the same tab opens it again.
    QTest::mouseClick(w.TabStrip1, Qt::LeftButton, {}, w.TabStrip1->tabRect(position - 1).center());
    QCOMPARE(t.view->navigations, (QStringList{target, target}));
}

void tst_SearchWidgets::homePageTabOpensItsTag()
{
    TestBrowser t;
    t.window->load();
    frmBrowser &w = *t.window;
    w.ensureFirstActivation();
    QCOMPARE(t.view->navigations,
             QStringList{"http://www.velmora.example/affiliates/?x=homepage&hp=skimlark"});
    // A new home address is opened by the next selection, without a restart.
    w.TabStrip1->setTag(0, "http://home.test/");
    w.TabStrip1->select(4);
    w.TabStrip1->select(0);
    QCOMPARE(t.view->navigations.last(), QString("http://home.test/"));
    QCOMPARE(w.TabStrip1->tag(0), QString("http://home.test/"));
}

void tst_SearchWidgets::tabLeavesTheStoredEngineAlone()
{
    TestBrowser t;
    t.seed("Home", "Engine", "excite");
    t.window->load();
    frmBrowser &w = *t.window;
    w.Text1->setText("cats");
    w.TabStrip1->select(2);
    QCOMPARE(t.view->navigations, QStringList{"http://search.yahoo.com/bin/search?p=cats"});
    QCOMPARE(checkedItems(w), QStringList{"mnuexcite"});
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    QCOMPARE(t.view->navigations.last(),
             QString("http://search.msn.com/results.asp?RS=CHECKED&FORM=MSNH&v=1&q=cats"));
    QCOMPARE(t.stored("Home", "Engine"), QString("excite"));
}

SKIMLARK_TEST_MAIN(tst_SearchWidgets)
#include "tst_searchwidgets.moc"
