#include "commands/colournumber.h"
#include "support/testenv.h"
#include "support/testmain.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

namespace {
const QString Home = QStringLiteral("Home");
// Each command and the setting it writes, in the order of fields() below.
const QStringList Items = {"mnuchangefontcoloraddressbar", "mnuchangebackgroundcoloraddressbar",
                           "mnuchangefontcolorsearchbox", "mnuchangebackgroundcolorsearchbox"};
const QStringList Keys = {"Addressbarfontcolor", "Addressbarbackgroundcolor",
                          "Searchboxfontcolor", "Searchboxbackgroundcolor"};

QList<QColor> fields(const frmBrowser &w)
{
    return {w.Combo1->palette().color(QPalette::Text), w.Combo1->palette().color(QPalette::Base),
            w.Text1->palette().color(QPalette::Text), w.Text1->palette().color(QPalette::Base)};
}

QStringList storedColours(const TestBrowser &t)
{
    QStringList result;
    for (const QString &key : Keys)
        result << t.stored(Home, key);
    return result;
}
} // namespace

class tst_ColourScheme : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void commandColoursOneFieldAndStoresItsNumber_data();
    void commandColoursOneFieldAndStoresItsNumber();
    void cancelAfterEarlierChangesChangesNothing();
    void pickerPreselectsTheLastAcceptedColour();
};

void tst_ColourScheme::commandColoursOneFieldAndStoresItsNumber_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("text");
    QTest::newRow("black address background") << 1 << QColor(0, 0, 0) << "0";
    QTest::newRow("red address text") << 0 << QColor(255, 0, 0) << "255";
    QTest::newRow("green search text") << 2 << QColor(0, 255, 0) << "65280";
    QTest::newRow("blue search background") << 3 << QColor(0, 0, 255) << "16711680";
    QTest::newRow("white search text") << 2 << QColor(255, 255, 255) << "16777215";
}

void tst_ColourScheme::commandColoursOneFieldAndStoresItsNumber()
{
    QFETCH(int, command);
    QFETCH(QColor, colour);
    QFETCH(QString, text);
    TestBrowser t;
    t.window->load();
    QList<QColor> expected = fields(*t.window);
    QVERIFY(expected[command] != colour);
    expected[command] = colour;
    t.dialogs.colourAnswers << colour;
    t.window->menuItem(Items[command])->trigger();

    QCOMPARE(fields(*t.window), expected);
    if (command < 2)
        QCOMPARE(t.window->Combo1->lineEdit()->palette().color(command ? QPalette::Base : QPalette::Text),
                 colour);
    QStringList stored(4, "<missing>");
    stored[command] = text;
    QCOMPARE(storedColours(t), stored);
    QCOMPARE(colournumber::colorFromText(text), std::optional<QColor>(colour));
    QCOMPARE(t.window->commonDialogColour, colour);
}

void tst_ColourScheme::cancelAfterEarlierChangesChangesNothing()
{
    TestBrowser t;
    t.window->load();
    t.dialogs.colourAnswers << QColor(Qt::red) << QColor(Qt::blue);
    t.window->menuItem(Items[2])->trigger();
    t.window->menuItem(Items[1])->trigger();
    const QList<QColor> before = fields(*t.window);
    const QStringList storedBefore = storedColours(t);

    for (const QString &item : Items) {
        t.dialogs.colourAnswers << std::nullopt;
        t.window->menuItem(item)->trigger();
    }
    QCOMPARE(t.dialogs.colourPickerStarts.size(), 6);
    QCOMPARE(fields(*t.window), before);
    QCOMPARE(storedColours(t), storedBefore);
    QCOMPARE(t.window->commonDialogColour, QColor(Qt::blue));
    QVERIFY(t.dialogs.messages.isEmpty());
}

void tst_ColourScheme::pickerPreselectsTheLastAcceptedColour()
{
    TestBrowser t;
    t.seed(Home, "Searchboxfontcolor", "65280");
    t.window->load();
    t.dialogs.colourAnswers << QColor(Qt::red) << std::nullopt << QColor(Qt::white);
    for (int command : {2, 1, 0, 3})
        t.window->menuItem(Items[command])->trigger();
    // Black at first whatever is stored, then whatever was last accepted in any command.
    QCOMPARE(t.dialogs.colourPickerStarts, (QList<QColor>{Qt::black, Qt::red, Qt::red, Qt::white}));
    QCOMPARE(t.stored(Home, "Addressbarfontcolor"), QString("16777215"));
}

SKIMLARK_TEST_MAIN(tst_ColourScheme)
#include "tst_colourscheme.moc"
