#include "support/testenv.h"
#include "support/testmain.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {
const QStringList EngineItems = {
    "mnugotosearch", "mnugoogle", "mnuyahoo", "mnuexcite", "mnulycos", "mnudogpile",
    "mnuwebcrawler", "mnualtavista", "mnuabc", "mnusearchcom", "mnuaskjeeves", "mnuseekways",
    "mnunewscomsearch", "mnucbsnewssearch", "mnufoxnewssearch", "mnucnnnewssearch",
    "mnunbcsearch", "mnudownloadcom"};

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
    void menuTreeIsComplete();
    void loadNavigatesNowhereAndWritesNothing();
    void unwritableStoreIsReportedOnce();
};

void tst_FrmBrowserLoad::firstRunWithEmptyStore()
{
    TestBrowser t;
    t.window->load();
    frmBrowser &w = *t.window;
    QCOMPARE(checkedItems(w), QStringList{"mnugoogle"});
    for (int n = 1; n <= 10; ++n)
        QCOMPARE(w.favoriteButton(n)->toolTip(),
                 QString("Click here to add current website to favorite #%1").arg(n));
    QCOMPARE(w.Command1->toolTip(), QString());
    QCOMPARE(w.TabStrip1->count(), 10);
    QCOMPARE(w.TabStrip1->tabText(0), QString("Home Page"));
    QCOMPARE(w.TabStrip1->tag(0),
             QString("http://www.velmora.example/affiliates/?x=homepage&hp=skimlark"));
    QCOMPARE(w.TabStrip1->tabToolTip(0), QString());
    const QStringList captions = {"  DMOZ - Open Directory Project  ", "  Yahoo  ", "  Google  ",
                                  "  MSN  ", "  Lycos  ", "  HotBot  ", "  WebCrawler  ",
                                  "  Alta Vista  ", "  All The Web  "};
    for (int i = 0; i < captions.size(); ++i) {
        QCOMPARE(w.TabStrip1->tabText(i + 1), captions[i]);
        QCOMPARE(w.TabStrip1->tag(i + 1), QString());
    }
    QCOMPARE(w.Text1->palette().color(QPalette::Text), QColor(Qt::black));
    QCOMPARE(w.Combo1->palette().color(QPalette::Text), QColor(Qt::black));
    QCOMPARE(w.Combo1->count(), 1);
    QCOMPARE(w.Combo1->itemText(0), QString());
    QCOMPARE(w.Combo1->currentText(), QString());
    QCOMPARE(w.Text1->text(), QString("Enter your search keyword here"));
    QCOMPARE(w.visitedAddressCounter(), 0);
    QVERIFY(w.firstActivationPending());
    QCOMPARE(w.windowTitle(), QString("Skimlark"));
}

void tst_FrmBrowserLoad::storedEngineMarks_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QStringList>("marked");
    QTest::newRow("seekways marks both hidden items")
        << "seekways" << QStringList{"mnuaskjeeves", "mnuseekways"};
    QTest::newRow("empty marks the portal") << "" << QStringList{"mnusearchcom"};
    QTest::newRow("search") << "search" << QStringList{"mnusearchcom"};
    QTest::newRow("overture is DMOZ") << "overture" << QStringList{"mnugotosearch"};
    QTest::newRow("hotbot") << "hotbot" << QStringList{"mnudogpile"};
    QTest::newRow("excite is MSN") << "excite" << QStringList{"mnuexcite"};
    QTest::newRow("foxnews hidden") << "foxnews" << QStringList{"mnufoxnewssearch"};
    QTest::newRow("case differs") << "Google" << QStringList{};
    QTest::newRow("dogpile has no item") << "dogpile" << QStringList{};
    QTest::newRow("leading blank") << " google" << QStringList{};
}

void tst_FrmBrowserLoad::storedEngineMarks()
{
    QFETCH(QString, engine);
    QFETCH(QStringList, marked);
    TestBrowser t;
    t.seed("Home", "Engine", engine);
    t.window->load();
    QCOMPARE(checkedItems(*t.window), marked);
    for (const QString &name : marked) {
        if (name == "mnuaskjeeves" || name == "mnuseekways")
            QVERIFY(!t.window->menuItem(name)->isVisible());
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
    QCOMPARE(w.favoriteButton(1)->toolTip(),
             QString("Click here to add current website to favorite #1"));
    QCOMPARE(w.Combo1->count(), 1);
    QCOMPARE(w.Combo1->itemText(0), QString("http://last.test/"));
    QCOMPARE(w.Combo1->currentText(), QString());
}

void tst_FrmBrowserLoad::colourTexts_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("applied");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("address text white kept at design") << "Addressbarfontcolor" << "16777215" << false << QColor();
    QTest::newRow("address text black applied") << "Addressbarfontcolor" << "0" << true << QColor(Qt::black);
    QTest::newRow("address back black kept") << "Addressbarbackgroundcolor" << "0" << false << QColor();
    QTest::newRow("address back red") << "Addressbarbackgroundcolor" << "255" << true << QColor(255, 0, 0);
    QTest::newRow("search back white applied") << "Searchboxbackgroundcolor" << "16777215" << true << QColor(Qt::white);
    QTest::newRow("search text blue") << "Searchboxfontcolor" << "16711680" << true << QColor(0, 0, 255);
    QTest::newRow("search text green") << "Searchboxfontcolor" << "65280" << true << QColor(0, 255, 0);
    QTest::newRow("word skipped") << "Searchboxbackgroundcolor" << "purple" << false << QColor();
    QTest::newRow("too large skipped") << "Searchboxbackgroundcolor" << "16777216" << false << QColor();
    QTest::newRow("negative skipped") << "Addressbarbackgroundcolor" << "-5" << false << QColor();
}

void tst_FrmBrowserLoad::colourTexts()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(bool, applied);
    QFETCH(QColor, expected);
    TestBrowser design;
    QWidget *designField = key.startsWith("Address") ? static_cast<QWidget *>(design.window->Combo1)
                                                     : design.window->Text1;
    const QPalette::ColorRole role = key.endsWith("fontcolor") ? QPalette::Text : QPalette::Base;
    const QColor designColour = designField->palette().color(role);

    TestBrowser t;
    t.seed("Home", key, value);
    t.window->load();
    QWidget *field = key.startsWith("Address") ? static_cast<QWidget *>(t.window->Combo1)
                                               : t.window->Text1;
    QCOMPARE(field->palette().color(role), applied ? expected : designColour);
    // A skipped colour does not stop the rest of the load.
    QCOMPARE(t.window->TabStrip1->count(), 10);
    QCOMPARE(t.window->Combo1->count(), 1);
}

void tst_FrmBrowserLoad::menuTreeIsComplete()
{
    TestBrowser t;
    frmBrowser &w = *t.window;
    const QList<QPair<QString, QString>> items = {
        {"mnusetmypage", "&Set My Home Page"}, {"mnuopen", "Open"}, {"mnusave", "Save"},
        {"mnuiefavorites", "IE Favorites"}, {"mnuaddtoiefavorites", "Add to IE Favorites"},
        {"mnuprintpreview", "Print Preview"}, {"mnuprint", "Print"},
        {"mnuchangecolorscheme", "Change color scheme"}, {"mnuaddressbar", "Address Bar"},
        {"mnusearchbox", "Search Box"}, {"mnuinternetproperites", "Internet Properties"},
        {"mnuexit", "E&xit"}, {"mnuintegratedsearchengine", "Integrated &Search Engine"},
        {"mnugotosearch", "DMOZ - Open Directory Project"}, {"mnuexcite", "MSN"},
        {"mnudogpile", "HotBot"}, {"mnuabc", "All The Web"}, {"mnuaskjeeves", "Seekways"},
        {"mnuseekways", "Seekways"}, {"mnucbsnewssearch", "CBS News Search"},
        {"mnufoxnewssearch", "Fox News Search"}, {"mnucnnnewssearch", "CNN News Search"},
        {"mnunbcsearch", "NBC News Search"}, {"mnueditmyfavorites", "&Edit My Favorite Buttons"},
        {"mnufavoritebuttons", "&Favorite Buttons"}, {"mnu1", "&1"}, {"mnu9", "&9"},
        {"mnu10", "1&0"}, {"mnuf1", "&1"}, {"mnuf10", "1&0"}, {"mnua", "&Help"},
        {"mnumarrowgatehelp", "Skimlark &Help"}, {"mnuaboutquendle", "&About Skimlark"},
        {"mnuchangefontcoloraddressbar", "Change Font Color"},
        {"mnuchangebackgroundcolorsearchbox", "Change Background Color"}};
    for (const auto &item : items) {
        QVERIFY2(w.menuItem(item.first), qPrintable(item.first));
        QCOMPARE(w.menuItem(item.first)->text(), item.second);
    }
    for (const QString &separator : {"mnusepo", "mnusepos", "mnusepie", "mnusepset", "mnusepieprop",
                                     "mnusepcustomizexit", "mnuseips", "mnusepnews", "mnusepdown", "sepwr"})
        QVERIFY2(w.menuItem(separator) && w.menuItem(separator)->isSeparator(), qPrintable(separator));
    int hidden = 0;
    for (const QString &name : EngineItems)
        hidden += w.menuItem(name)->isVisible() ? 0 : 1;
    QCOMPARE(hidden, 4);
    QCOMPARE(w.toolbarButton("back"), w.toolbarButton(1));
    QCOMPARE(w.toolbarButton("one"), w.toolbarButton(14));
    QCOMPARE(w.toolbarButton("ten"), w.toolbarButton(23));
    QCOMPARE(w.toolbarButton("three")->text(), QString("My 3rd favorite site"));
}

void tst_FrmBrowserLoad::loadNavigatesNowhereAndWritesNothing()
{
    TestBrowser t;
    t.window->load();
    QVERIFY(t.view->navigations.isEmpty());
    QVERIFY(!QFile::exists(t.settings.filePath("Skimlark")));
    QVERIFY(t.dialogs.messages.isEmpty());
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
    // Later failed writes in the same run say nothing more.
    t.settings.write("Skimlark", "Home", "Engine", "yahoo");
    QCoreApplication::processEvents();
    QCOMPARE(t.dialogs.messages.size(), 1);
}

SKIMLARK_TEST_MAIN(tst_FrmBrowserLoad)
#include "tst_frmbrowser_load.moc"
