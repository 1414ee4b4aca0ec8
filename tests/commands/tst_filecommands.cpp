#include "browser/makeraddresses.h"
#include "commands/filecommands.h"
#include "support/testenv.h"
#include "support/testmain.h"

#include <QAction>
#include <QtTest>

class tst_FileCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void openFilterKeepsTheTextAndItsPatterns_data();
    void openFilterKeepsTheTextAndItsPatterns();
    void openWithACancelledPickerNavigatesNowhere();
    void openNavigatesToThePathAsReturned();
    void printAndPreviewFocusFirstAndIgnoreFailures_data();
    void printAndPreviewFocusFirstAndIgnoreFailures();
    void saveAndHelpGoToThePageView();
};

void tst_FileCommands::openFilterKeepsTheTextAndItsPatterns_data()
{
    QTest::addColumn<QString>("menuText");
    QTest::addColumn<QString>("qtFilter");
    QTest::newRow("the Open filter")
        << FileCommands::OpenFilter
        << "All Internet Files (*.hmt,*.html,*.asp,*.shtml,*.js,*.dhtml) "
           "(*.htm *.html *.asp *.shtml *.js *.dhtml)";
    QTest::newRow("empty patterns dropped") << "Text | *.txt;;" << "Text (*.txt)";
}

void tst_FileCommands::openFilterKeepsTheTextAndItsPatterns()
{
    QFETCH(QString, menuText);
    QFETCH(QString, qtFilter);
    QCOMPARE(FileCommands::qtFilter(menuText), qtFilter);
}

void tst_FileCommands::openWithACancelledPickerNavigatesNowhere()
{
    TestBrowser t;
    t.window->load();
    t.window->menuItem("mnuopen")->trigger();
    QCOMPARE(t.dialogs.openFilters, QStringList{FileCommands::qtFilter(FileCommands::OpenFilter)});
    QVERIFY(t.view->navigations.isEmpty());
    QCOMPARE(t.view->calls, QStringList{"takeFocus"});
    QVERIFY(t.dialogs.messages.isEmpty());
}

void tst_FileCommands::openNavigatesToThePathAsReturned()
{
    TestBrowser t;
    t.window->load();
    const QString picked = QStringLiteral("/tmp/My Pages/start page #1.htm");
    t.dialogs.openAnswers << picked;
    t.window->menuItem("mnuopen")->trigger();
    QCOMPARE(t.view->calls, (QStringList{"takeFocus", "navigate:" + picked}));
}

void tst_FileCommands::printAndPreviewFocusFirstAndIgnoreFailures_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("call");
    QTest::addColumn<bool>("viewCanDoIt");
    QTest::newRow("print") << "mnuprint" << "print" << true;
    QTest::newRow("print refused") << "mnuprint" << "print" << false;
    QTest::newRow("preview") << "mnuprintpreview" << "printPreview" << true;
    QTest::newRow("preview refused") << "mnuprintpreview" << "printPreview" << false;
}

void tst_FileCommands::printAndPreviewFocusFirstAndIgnoreFailures()
{
    QFETCH(QString, item);
    QFETCH(QString, call);
    QFETCH(bool, viewCanDoIt);
    TestBrowser t;
    t.window->load();
    t.view->printResult = viewCanDoIt;
    t.window->menuItem(item)->trigger();
    QCOMPARE(t.view->calls, (QStringList{"takeFocus", call}));
    QVERIFY(t.dialogs.messages.isEmpty());
}

void tst_FileCommands::saveAndHelpGoToThePageView()
{
    TestBrowser t;
    t.window->load();
    t.window->menuItem("mnusave")->trigger();
    t.window->menuItem("mnumarrowgatehelp")->trigger();
    QCOMPARE(t.view->calls, (QStringList{"saveAs", "navigate:" + maker::HelpPage}));
    QCOMPARE(maker::HelpPage, QString("http://www.velmora.example/skimlark/skimlarkhelp.htm"));
}

SKIMLARK_TEST_MAIN(tst_FileCommands)
#include "tst_filecommands.moc"
