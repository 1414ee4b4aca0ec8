#include "support/testenv.h"
#include "support/testmain.h"

#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QtTest>

namespace {
QAction *editItem(const TestBrowser &t, int n) { return t.window->menuItem(QString("mnu%1").arg(n)); }
QAction *activateItem(const TestBrowser &t, int n) { return t.window->menuItem(QString("mnuf%1").arg(n)); }
const QString Referral = "http://www.velmora.example/affiliates/?x=homepage&hp=skimlark";
QString slotKey(int n) { return QString("Address%1").arg(n); }
QString invitation(int n) { return QString("Click here to add current website to favorite #%1").arg(n); }
QString sentence(const QString &address, int n)
{
    return QString("You added %1 to favorite button %2.  To access the website in the future, "
                   "simply click on button %2.").arg(address).arg(n);
}
void show(TestBrowser &t, const QString &address, const QString &title)
{
    t.view->navigate(address);
    t.view->finishLoad(title);
    t.view->navigations.clear();
}

// Dialogs whose message box stays open while the page moves on.
class PageMovesDuringMessage : public FakeDialogs
{
public:
    FakePageView *view = nullptr;
    void message(QWidget *parent, const QString &text, const QString &title) override
    {
        FakeDialogs::message(parent, text, title);
        view->address = "http://moved.test/";
    }
};
} // namespace

class tst_FavoriteCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everySlotEditsAndActivates_data();
    void everySlotEditsAndActivates();
    void activateWithEmptyAddressLeavesSlotEmpty();
    void slotOfBlanksIsNotEmpty();
    void tooltipShowsAddressAfterMessageCloses();
    void setHomePage_data();
    void setHomePage();
    void homeTabAndHomeButtonOpenTheNewHomePage();
    void failedWriteIsNotReportedAsDone();
};

void tst_FavoriteCommands::everySlotEditsAndActivates_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("title");
    QTest::newRow("1") << 1 << "Enter the URL of your favorite website " << "Enter the URL of your favorite website";
    QTest::newRow("2") << 2 << "Enter the URL of your 2nd favorite website " << "Enter the URL of your 2nd favorite website";
    QTest::newRow("3") << 3 << "Enter the URL of your 3rd favorite website " << "Enter the URL of your 3rdd favorite website";
    QTest::newRow("4") << 4 << "Enter the URL of your 4th favorite website " << "Enter the URL of your 4th favorite website";
    QTest::newRow("5") << 5 << "Enter the URL of your 5th favorite website " << "Enter the URL of your 5th favorite website";
    QTest::newRow("6") << 6 << "Enter the URL of your 6th favorite website " << "Enter the URL of your 6th favorite website";
    QTest::newRow("7") << 7 << "Enter the URL of your 7th favorite website " << "Enter the URL of your 7th favorite website";
    QTest::newRow("8") << 8 << "Enter the URL of your 8th favorite website " << "Enter the URL of your 8th favorite website";
    QTest::newRow("9") << 9 << "Enter the URL of your 9th favorite website " << "Enter the URL of your 9th favorite website";
    QTest::newRow("10") << 10 << "Enter the URL of your 10th favorite website " << "Enter the URL of your 10th favorite website";
}

void tst_FavoriteCommands::everySlotEditsAndActivates()
{
    QFETCH(int, n);
    QFETCH(QString, prompt);
    QFETCH(QString, title);
    const QString shown = "http://shown.test/page?a=1";
    TestBrowser t;
    t.window->load();
    show(t, shown, "Shown Page");

    // Cancel (the box returns the empty string) on the empty slot changes nothing.
    editItem(t, n)->trigger();
    QCOMPARE(t.dialogs.inputs.size(), 1);
    QCOMPARE(t.dialogs.inputs[0].prompt, prompt);
    QCOMPARE(t.dialogs.inputs[0].title, title);
    QCOMPARE(t.dialogs.inputs[0].initialText, QString());
    QCOMPARE(t.stored("Home", slotKey(n)), QString("<missing>"));
    QCOMPARE(t.window->favoriteButton(n)->toolTip(), invitation(n));

    // Activating the empty slot stores the page shown and does not navigate.
    activateItem(t, n)->trigger();
    QVERIFY(t.view->navigations.isEmpty());
    QCOMPARE(t.stored("Home", slotKey(n)), shown);
    QCOMPARE(t.window->favoriteButton(n)->toolTip(), shown);
    QCOMPARE(t.dialogs.messages.size(), 1);
    QCOMPARE(t.dialogs.messages[0].text, sentence(shown, n));
    QCOMPARE(t.dialogs.messages[0].title, QString("Shown Page was added to your favorites"));

    // Filled now: the next activation opens it, from elsewhere, and says nothing.
    show(t, "http://elsewhere.test/", "Elsewhere");
    activateItem(t, n)->trigger();
    QCOMPARE(t.view->navigations, QStringList{shown});
    QCOMPARE(t.dialogs.messages.size(), 1);

    // An edit starts from what is stored; Cancel keeps it, typed text replaces it exactly.
    editItem(t, n)->trigger();
    QCOMPARE(t.dialogs.inputs[1].initialText, shown);
    QCOMPARE(t.stored("Home", slotKey(n)), shown);
    t.dialogs.inputAnswers << " typed.test/x?y=1 ";
    editItem(t, n)->trigger();
    QCOMPARE(t.stored("Home", slotKey(n)), QString(" typed.test/x?y=1 "));
    QCOMPARE(t.window->favoriteButton(n)->toolTip(), QString(" typed.test/x?y=1 "));
    QCOMPARE(t.view->navigations.size(), 1);
    for (int other = 1; other <= 10; ++other) {
        if (other != n)
            QCOMPARE(t.stored("Home", slotKey(other)), QString("<missing>"));
    }
}

void tst_FavoriteCommands::activateWithEmptyAddressLeavesSlotEmpty()
{
    TestBrowser t;
    t.window->load();
    QVERIFY(t.view->currentAddress().isEmpty());
    activateItem(t, 4)->trigger();
    QCOMPARE(t.stored("Home", slotKey(4)), QString());
    QCOMPARE(t.dialogs.messages.size(), 1);
    QCOMPARE(t.dialogs.messages[0].text, sentence("", 4));
    QCOMPARE(t.dialogs.messages[0].title, QString(" was added to your favorites"));
    QCOMPARE(t.window->favoriteButton(4)->toolTip(), invitation(4));
    // Still empty: the next activation captures the page then shown.
    show(t, "http://later.test/", "Later");
    activateItem(t, 4)->trigger();
    QVERIFY(t.view->navigations.isEmpty());
    QCOMPARE(t.stored("Home", slotKey(4)), QString("http://later.test/"));
}

void tst_FavoriteCommands::slotOfBlanksIsNotEmpty()
{
    TestBrowser t;
    t.seed("Home", slotKey(7), "  ");
    t.window->load();
    t.view->address = "http://shown.test/";
    activateItem(t, 7)->trigger();
    QCOMPARE(t.view->navigations, QStringList{"  "});
    QVERIFY(t.dialogs.messages.isEmpty());
}

void tst_FavoriteCommands::tooltipShowsAddressAfterMessageCloses()
{
    QTemporaryDir dir;
    SettingsStore settings(dir.path());
    PageMovesDuringMessage dialogs;
    auto *view = new FakePageView;
    dialogs.view = view;
    frmBrowser window(settings, dialogs, view);
    window.load();
    view->address = "http://first.test/";
    window.menuItem("mnuf2")->trigger();
    // What was stored is what the message named; the tooltip follows the page.
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(settings.read("Skimlark", "Home", "Address2", "<missing>"), QString("http://first.test/"));
    QCOMPARE(window.favoriteButton(2)->toolTip(), QString("http://moved.test/"));
}

void tst_FavoriteCommands::setHomePage_data()
{
    QTest::addColumn<QString>("previous"); // "" = nothing stored
    QTest::addColumn<QString>("typed");    // "" = Cancel
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("tag");
    QTest::newRow("blanks kept, no scheme added") << "http://old.test/" << "  new.test  " << "  new.test  " << "  new.test  ";
    QTest::newRow("cancel, nothing stored") << "" << "" << "<missing>" << Referral;
    QTest::newRow("cancel, stored home page") << "http://old.test/" << "" << "http://old.test/" << "http://old.test/";
}

void tst_FavoriteCommands::setHomePage()
{
    QFETCH(QString, previous);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, tag);
    TestBrowser t;
    if (!previous.isEmpty())
        t.seed("Home", "Address", previous);
    t.window->load();
    const QString searchTooltip = t.window->Command1->toolTip();
    t.dialogs.inputAnswers << typed;
    t.window->menuItem("mnusetmypage")->trigger();
    QCOMPARE(t.dialogs.inputs.size(), 1);
    QCOMPARE(t.dialogs.inputs[0].prompt, QString("Enter the URL of your homepage "));
    QCOMPARE(t.dialogs.inputs[0].title, QString("Enter the URL of your homepage"));
    QCOMPARE(t.dialogs.inputs[0].initialText, QString()); // the current home is not offered
    QCOMPARE(t.stored("Home", "Address"), stored);
    QCOMPARE(t.window->TabStrip1->tag(0), tag);
    QCOMPARE(t.window->TabStrip1->tabToolTip(0), typed);
    QCOMPARE(t.window->Command1->toolTip(), searchTooltip); // set at start-up, for the whole run
    QVERIFY(t.view->navigations.isEmpty());
    QVERIFY(t.dialogs.messages.isEmpty());
}

void tst_FavoriteCommands::homeTabAndHomeButtonOpenTheNewHomePage()
{
    TestBrowser t;
    t.seed("Home", "Address", "http://old.test/");
    t.window->load();
    t.dialogs.inputAnswers << "http://new.test/";
    t.window->menuItem("mnusetmypage")->trigger();
    t.window->TabStrip1->select(0);
    t.window->toolbarButton("home")->trigger();
    QCOMPARE(t.view->navigations, (QStringList{"http://new.test/", "http://new.test/"}));
}

// A store that cannot be written: the window says so once; the tab keeps its
// target and no favorite is claimed as added.
void tst_FavoriteCommands::failedWriteIsNotReportedAsDone()
{
    TestBrowser t;
    t.window->load();
    QVERIFY(QDir().mkpath(t.settings.filePath("Skimlark")));
    t.dialogs.inputAnswers << "http://new.test/";
    t.window->menuItem("mnusetmypage")->trigger();
    QCOMPARE(t.dialogs.messages.size(), 1);
    QVERIFY(t.dialogs.messages[0].text.contains(t.settings.filePath("Skimlark")));
    QCOMPARE(t.window->TabStrip1->tag(0), Referral);
    QCOMPARE(t.window->TabStrip1->tabToolTip(0), QString());

    t.view->address = "http://shown.test/";
    activateItem(t, 3)->trigger();
    for (const FakeDialogs::Message &message : t.dialogs.messages)
        QVERIFY2(!message.text.startsWith("You added"), qPrintable(message.text));
    t.dialogs.inputAnswers << "http://typed.test/";
    editItem(t, 3)->trigger();
    QCOMPARE(t.window->favoriteButton(3)->toolTip(), invitation(3));
    QVERIFY(t.view->navigations.isEmpty());
}

SKIMLARK_TEST_MAIN(tst_FavoriteCommands)
#include "tst_favoritecommands.moc"
