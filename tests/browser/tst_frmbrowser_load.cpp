#include "support/testenv.h"
#include "support/testmain.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class tst_FrmBrowserLoad : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void firstRunWithEmptyStore();
    void storedEngineMarks_data();
    void storedEngineMarks();
    void storedSettingsAreApplied();
    void colourTexts_data();
    void colourTexts();
    void menuCaptions();
    void unwritableStoreIsReportedOnce();
};

void tst_FrmBrowserLoad::firstRunWithEmptyStore()
{
    TestBrowser t;
    t.window->load();
    frmBrowser &w = *t.window;
    QCOMPARE(checkedEngineItems(w), QStringList{"mnugoogle"});
    QCOMPARE(w.favoriteButton(1)->toolTip(), QString("Click here to add current website to favorite #1"));
    QCOMPARE(w.favoriteButton(10)->toolTip(), QString("Click here to add current website to favorite #10"));
    QCOMPARE(w.Command1->toolTip(), QString());
    QCOMPARE(w.TabStrip1->count(), 10);
    QCOMPARE(w.TabStrip1->tabText(0), QString("Home Page"));
    QCOMPARE(w.TabStrip1->tag(0),
             QString("http://www.velmora.example/affiliates/?x=homepage&hp=skimlark"));
    QCOMPARE(w.TabStrip1->tabText(1), QString("  DMOZ - Open Directory Project  "));
    QCOMPARE(w.TabStrip1->tabText(9), QString("  All The Web  "));
    QCOMPARE(w.Combo1->count(), 1);
    QCOMPARE(w.Combo1->itemText(0), QString());
    QCOMPARE(w.Text1->text(), QString("Enter your search keyword here"));
    QVERIFY(w.firstActivationPending());
    QCOMPARE(w.windowTitle(), QString("Skimlark"));
    // Loading navigates nowhere, writes nothing and says nothing.
    QVERIFY(t.view->navigations.isEmpty());
    QVERIFY(!QFile::exists(t.settings.filePath("Skimlark")));
    QVERIFY(t.dialogs.messages.isEmpty());
}

void tst_FrmBrowserLoad::storedEngineMarks_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QStringList>("marked");
    QTest::newRow("seekways marks both hidden items")
        << "seekways" << QStringList{"mnuaskjeeves", "mnuseekways"};
    QTest::newRow("empty marks the portal") << "" << QStringList{"mnusearchcom"};
    QTest::newRow("overture is DMOZ") << "overture" << QStringList{"mnugotosearch"};
    QTest::newRow("hotbot") << "hotbot" << QStringList{"mnudogpile"};
    QTest::newRow("case differs") << "Google" << QStringList{};
    QTest::newRow("leading blank") << " google" << QStringList{};
}

void tst_FrmBrowserLoad::storedEngineMarks()
{
    QFETCH(QString, engine);
    QFETCH(QStringList, marked);
    TestBrowser t;
    t.seed("Home", "Engine", engine);
    t.window->load();
    QCOMPARE(checkedEngineItems(*t.window), marked);
    if (engine == "seekways") {
        QVERIFY(!t.window->menuItem("mnuaskjeeves")->isVisible());
        QVERIFY(!t.window->menuItem("mnuseekways")->isVisible());
    }
}

void tst_FrmBrowserLoad::storedSettingsAreApplied()
{
    TestBrowser t;
    t.seed("Home", "Address", "http://home.test/");
    t.seed("Home", "Address3", " spaced ");
    t.seed("Home", "Address10", "");
    t.seed("MRURL", "0", "http://last.test/");
    t.window->load();
    frmBrowser &w = *t.window;
    QCOMPARE(w.Command1->toolTip(), QString("http://home.test/"));
    QCOMPARE(w.TabStrip1->tag(0), QString("http://home.test/"));
    QCOMPARE(w.favoriteButton(3)->toolTip(), QString(" spaced "));
    // An empty tooltip on a toolbar button falls back to its caption.
    QCOMPARE(w.favoriteButton(10)->toolTip(), QString("My 10th favorite site"));
    QCOMPARE(w.Combo1->count(), 1);
    QCOMPARE(w.Combo1->itemText(0), QString("http://last.test/"));
    QCOMPARE(w.Combo1->currentText(), QString());
}

void tst_FrmBrowserLoad::colourTexts_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QColor>("expected"); // invalid: the design colour stays
    QTest::newRow("address text white kept") << "Addressbarfontcolor" << "16777215" << QColor();
    QTest::newRow("address text black") << "Addressbarfontcolor" << "0" << QColor(Qt::black);
    QTest::newRow("address back black kept") << "Addressbarbackgroundcolor" << "0" << QColor();
    QTest::newRow("search back white") << "Searchboxbackgroundcolor" << "16777215" << QColor(Qt::white);
    QTest::newRow("search text blue") << "Searchboxfontcolor" << "16711680" << QColor(0, 0, 255);
    QTest::newRow("word skipped") << "Searchboxbackgroundcolor" << "purple" << QColor();
    QTest::newRow("too large skipped") << "Searchboxbackgroundcolor" << "16777216" << QColor();
}

void tst_FrmBrowserLoad::colourTexts()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QColor, expected);
    const QPalette::ColorRole role = key.endsWith("fontcolor") ? QPalette::Text : QPalette::Base;
    auto field = [&key](frmBrowser &w) -> QWidget * {
        return key.startsWith("Address") ? static_cast<QWidget *>(w.Combo1) : w.Text1;
    };
    TestBrowser design;
    TestBrowser t;
    t.seed("Home", key, value);
    t.window->load();
    QCOMPARE(field(*t.window)->palette().color(role),
             expected.isValid() ? expected : field(*design.window)->palette().color(role));
    // A skipped colour does not stop the rest of the load.
    QCOMPARE(t.window->TabStrip1->count(), 10);
}

void tst_FrmBrowserLoad::menuCaptions()
{
    TestBrowser t;
    frmBrowser &w = *t.window;
    const QList<QPair<QString, QString>> items = {
        {"mnusetmypage", "&Set My Home Page"}, {"mnuiefavorites", "IE Favorites"},
        {"mnuaddtoiefavorites", "Add to IE Favorites"}, {"mnuprintpreview", "Print Preview"},
        {"mnuchangecolorscheme", "Change color scheme"}, {"mnuinternetproperites", "Internet Properties"},
        {"mnuexit", "E&xit"}, {"mnuintegratedsearchengine", "Integrated &Search Engine"},
        {"mnuexcite", "MSN"}, {"mnudogpile", "HotBot"}, {"mnuaskjeeves", "Seekways"},
        {"mnuseekways", "Seekways"}, {"mnueditmyfavorites", "&Edit My Favorite Buttons"},
        {"mnu9", "&9"}, {"mnu10", "1&0"},
        {"mnua", "&Help"}, {"mnumarrowgatehelp", "Skimlark &Help"},
        {"mnuaboutquendle", "&About Skimlark"}, {"mnuchangefontcoloraddressbar", "Change Font Color"},
        {"mnuchangebackgroundcolorsearchbox", "Change Background Color"}};
    for (const auto &item : items) {
        QVERIFY2(w.menuItem(item.first), qPrintable(item.first));
        QCOMPARE(w.menuItem(item.first)->text(), item.second);
    }
    QCOMPARE(w.toolbarButton("three")->text(), QString("My 3rd favorite site"));
}

void tst_FrmBrowserLoad::unwritableStoreIsReportedOnce()
{
    TestBrowser t;
    QFile blocker(t.dir.path() + "/Velmora");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    t.window->load();
    QTRY_COMPARE(t.dialogs.messages.size(), 1);
    QCOMPARE(t.dialogs.messages[0].title, QString("Skimlark"));
    QVERIFY(t.dialogs.messages[0].text.contains(t.settings.filePath("Skimlark")));
    t.settings.write("Skimlark", "Home", "Engine", "yahoo");
    QCoreApplication::processEvents();
    QCOMPARE(t.dialogs.messages.size(), 1);
}

SKIMLARK_TEST_MAIN(tst_FrmBrowserLoad)
#include "tst_frmbrowser_load.moc"
