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
    void otherCommandsGoToThePageView();
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

void tst_FileCommands::otherCommandsGoToThePageView()
{
    TestBrowser t;
    t.window->load();
    // Print and preview focus the page first; a refusal is not reported.
    for (bool viewCanDoIt : {false, true}) {
        t.view->printResult = viewCanDoIt;
        t.window->menuItem("mnuprint")->trigger();
        t.window->menuItem("mnuprintpreview")->trigger();
    }
    t.window->menuItem("mnusave")->trigger();
    t.window->menuItem("mnumarrowgatehelp")->trigger();
    QCOMPARE(t.view->calls, (QStringList{"takeFocus", "print", "takeFocus", "printPreview",
                                         "takeFocus", "print", "takeFocus", "printPreview",
                                         "saveAs", "navigate:" + maker::HelpPage}));
    QCOMPARE(maker::HelpPage, QString("http://www.velmora.example/skimlark/skimlarkhelp.htm"));
    QVERIFY(t.dialogs.messages.isEmpty());
}

SKIMLARK_TEST_MAIN(tst_FileCommands)
#include "tst_filecommands.moc"
