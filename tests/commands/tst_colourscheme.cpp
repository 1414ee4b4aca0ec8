#include "commands/colournumber.h"
#include "support/testenv.h"
#include "support/testmain.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

namespace {
const QString Home = QStringLiteral("Home");
const QStringList ColourKeys = {"Addressbarfontcolor", "Addressbarbackgroundcolor",
                                "Searchboxfontcolor", "Searchboxbackgroundcolor"};

struct FieldColours
{
    QColor addressText, addressBase, searchText, searchBase;
    bool operator==(const FieldColours &o) const
    {
        return addressText == o.addressText && addressBase == o.addressBase
               && searchText == o.searchText && searchBase == o.searchBase;
    }
};

FieldColours fieldColours(const frmBrowser &w)
{
    return {w.Combo1->palette().color(QPalette::Text), w.Combo1->palette().color(QPalette::Base),
            w.Text1->palette().color(QPalette::Text), w.Text1->palette().color(QPalette::Base)};
}
} // namespace

class tst_ColourScheme : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void colourNumberText_data();
    void colourNumberText();
    void eachCommandColoursItsFieldAndStoresIt_data();
    void eachCommandColoursItsFieldAndStoresIt();
    void cancelAfterEarlierChangesChangesNothing();
    void pickerPreselectsTheLastAcceptedColour();
    void storedColoursReturnAtTheNextStart();
};

void tst_ColourScheme::colourNumberText_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("text");
    QTest::newRow("pure red") << QColor(255, 0, 0) << "255";
    QTest::newRow("pure green") << QColor(0, 255, 0) << "65280";
    QTest::newRow("pure blue") << QColor(0, 0, 255) << "16711680";
    QTest::newRow("white") << QColor(255, 255, 255) << "16777215";
    QTest::newRow("black") << QColor(0, 0, 0) << "0";
}

// The text the command stores, and the colour the next start reads back from it.
void tst_ColourScheme::colourNumberText()
{
    QFETCH(QColor, colour);
    QFETCH(QString, text);
    TestBrowser t;
    t.window->load();
    t.dialogs.colourAnswers << colour;
    t.window->menuItem("mnuchangebackgroundcolorsearchbox")->trigger();
    QCOMPARE(t.stored(Home, "Searchboxbackgroundcolor"), text);
    QCOMPARE(colournumber::colorFromText(text), std::optional<QColor>(colour));
}

void tst_ColourScheme::eachCommandColoursItsFieldAndStoresIt_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("addressBar");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("key");
    QTest::newRow("address bar text") << "mnuchangefontcoloraddressbar" << true
                                      << int(QPalette::Text) << "Addressbarfontcolor";
    QTest::newRow("address bar background") << "mnuchangebackgroundcoloraddressbar" << true
                                            << int(QPalette::Base) << "Addressbarbackgroundcolor";
    QTest::newRow("search box text") << "mnuchangefontcolorsearchbox" << false
                                     << int(QPalette::Text) << "Searchboxfontcolor";
    QTest::newRow("search box background") << "mnuchangebackgroundcolorsearchbox" << false
                                           << int(QPalette::Base) << "Searchboxbackgroundcolor";
}

void tst_ColourScheme::eachCommandColoursItsFieldAndStoresIt()
{
    QFETCH(QString, item);
    QFETCH(bool, addressBar);
    QFETCH(int, role);
    QFETCH(QString, key);
    TestBrowser t;
    t.window->load();
    const FieldColours before = fieldColours(*t.window);
    const QColor chosen(12, 34, 56);
    t.dialogs.colourAnswers << chosen;
    t.window->menuItem(item)->trigger();

    QWidget *target = addressBar ? static_cast<QWidget *>(t.window->Combo1) : t.window->Text1;
    QWidget *other = addressBar ? static_cast<QWidget *>(t.window->Text1) : t.window->Combo1;
    QCOMPARE(target->palette().color(QPalette::ColorRole(role)), chosen);
    if (addressBar)
        QCOMPARE(t.window->Combo1->lineEdit()->palette().color(QPalette::ColorRole(role)), chosen);
    QCOMPARE(other->palette().color(QPalette::Text),
             addressBar ? before.searchText : before.addressText);
    QCOMPARE(other->palette().color(QPalette::Base),
             addressBar ? before.searchBase : before.addressBase);
    for (const QString &k : ColourKeys)
        QCOMPARE(t.stored(Home, k), k == key ? QString("3678732") : QString("<missing>"));
    QCOMPARE(t.window->commonDialogColour, chosen);
}

void tst_ColourScheme::cancelAfterEarlierChangesChangesNothing()
{
    TestBrowser t;
    t.window->load();
    t.dialogs.colourAnswers << QColor(Qt::red) << QColor(Qt::blue);
    t.window->menuItem("mnuchangefontcolorsearchbox")->trigger();
    t.window->menuItem("mnuchangebackgroundcoloraddressbar")->trigger();
    const FieldColours before = fieldColours(*t.window);
    QStringList storedBefore;
    for (const QString &k : ColourKeys)
        storedBefore << t.stored(Home, k);

    for (const char *item : {"mnuchangefontcoloraddressbar", "mnuchangebackgroundcoloraddressbar",
                             "mnuchangefontcolorsearchbox", "mnuchangebackgroundcolorsearchbox"}) {
        t.dialogs.colourAnswers << std::nullopt;
        t.window->menuItem(item)->trigger();
    }
    QCOMPARE(t.dialogs.colourPickerStarts.size(), 6);
    QVERIFY(fieldColours(*t.window) == before);
    QStringList storedAfter;
    for (const QString &k : ColourKeys)
        storedAfter << t.stored(Home, k);
    QCOMPARE(storedAfter, storedBefore);
    QCOMPARE(t.window->commonDialogColour, QColor(Qt::blue));
    QVERIFY(t.dialogs.messages.isEmpty());
}

void tst_ColourScheme::pickerPreselectsTheLastAcceptedColour()
{
    TestBrowser t;
    t.seed(Home, "Searchboxfontcolor", "65280");
    t.window->load();
    t.dialogs.colourAnswers << QColor(Qt::red) << std::nullopt << QColor(Qt::white);
    t.window->menuItem("mnuchangefontcolorsearchbox")->trigger();
    t.window->menuItem("mnuchangebackgroundcoloraddressbar")->trigger();
    t.window->menuItem("mnuchangefontcoloraddressbar")->trigger();
    t.window->menuItem("mnuchangebackgroundcolorsearchbox")->trigger();
    // Black at first whatever is stored, then whatever was last accepted in any command.
    const QList<QColor> starts = {Qt::black, Qt::red, Qt::red, Qt::white};
    QCOMPARE(t.dialogs.colourPickerStarts, starts);
    QCOMPARE(t.stored(Home, "Addressbarfontcolor"), QString("16777215"));
}

void tst_ColourScheme::storedColoursReturnAtTheNextStart()
{
    TestBrowser t;
    t.window->load();
    t.dialogs.colourAnswers << QColor(200, 10, 20) << QColor(1, 2, 3);
    t.window->menuItem("mnuchangebackgroundcoloraddressbar")->trigger();
    t.window->menuItem("mnuchangefontcolorsearchbox")->trigger();

    frmBrowser next(t.settings, t.dialogs, new FakePageView);
    next.load();
    QCOMPARE(next.Combo1->palette().color(QPalette::Base), QColor(200, 10, 20));
    QCOMPARE(next.Text1->palette().color(QPalette::Text), QColor(1, 2, 3));
}

SKIMLARK_TEST_MAIN(tst_ColourScheme)
#include "tst_colourscheme.moc"
