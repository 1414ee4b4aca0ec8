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
    void openFilterKeepsTheTextAndItsPatterns();
    void openNavigatesOnlyToAPickedPath_data();
    void openNavigatesOnlyToAPickedPath();
    void printAndPreviewFocusFirstAndIgnoreFailures();
    void saveAndHelpGoToThePageView();
};

void tst_FileCommands::openFilterKeepsTheTextAndItsPatterns()
{
    QCOMPARE(FileCommands::qtFilter(FileCommands::OpenFilter),
             QString("All Internet Files (*.hmt,*.html,*.asp,*.shtml,*.js,*.dhtml) "
                     "(*.htm *.html *.asp *.shtml *.js *.dhtml)"));
    QCOMPARE(FileCommands::qtFilter("Text | *.txt;;"), QString("Text (*.txt)"));
}

void tst_FileCommands::openNavigatesOnlyToAPickedPath_data()
{
    QTest::addColumn<QString>("picked");
    QTest::newRow("cancelled picker") << QString();
    QTest::newRow("path as returned") << "/tmp/My Pages/start page #1.htm";
}

void tst_FileCommands::openNavigatesOnlyToAPickedPath()
{
    QFETCH(QString, picked);
    TestBrowser t;
    t.window->load();
    t.dialogs.openAnswers << picked;
    t.window->menuItem("mnuopen")->trigger();
    QCOMPARE(t.dialogs.openFilters, QStringList{FileCommands::qtFilter(FileCommands::OpenFilter)});
    QStringList calls{"takeFocus"};
    if (!picked.isEmpty())
        calls << "navigate:" + picked;
    QCOMPARE(t.view->calls, calls);
    QVERIFY(t.dialogs.messages.isEmpty());
}

void tst_FileCommands::printAndPreviewFocusFirstAndIgnoreFailures()
{
    for (const QString call : {"print", "printPreview"}) {
        for (bool viewCanDoIt : {true, false}) {
            TestBrowser t;
            t.window->load();
            t.view->printResult = viewCanDoIt;
            t.window->menuItem("mnu" + call.toLower())->trigger();
            QCOMPARE(t.view->calls, (QStringList{"takeFocus", call}));
            QVERIFY(t.dialogs.messages.isEmpty());
        }
    }
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
