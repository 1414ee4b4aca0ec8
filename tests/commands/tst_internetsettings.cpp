#include "commands/internetsettingspanel.h"
#include "commands/toolscommands.h"
#include "support/testenv.h"
#include "support/testmain.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {
const QString Internet = QStringLiteral("Internet");

InternetSettingsPanel *openPanel(frmBrowser &window)
{
    window.menuItem("mnuinternetproperites")->trigger();
    return window.findChild<ToolsCommands *>()->internetPanel();
}
} // namespace

class tst_InternetSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void storedChoicesAreAppliedBeforeTheFirstPage_data();
    void storedChoicesAreAppliedBeforeTheFirstPage();
    void panelStoresAndAppliesEachChange();
    void deletingBrowsingDataAsksFirst();
};

void tst_InternetSettings::storedChoicesAreAppliedBeforeTheFirstPage_data()
{
    QTest::addColumn<QString>("javaScript");
    QTest::addColumn<QString>("images");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("nothing stored: both on") << QString() << QString()
                                             << QStringList{"javaScript:1", "images:1"};
    QTest::newRow("both off") << "0" << "0" << QStringList{"javaScript:0", "images:0"};
    QTest::newRow("script off only") << "0" << "1" << QStringList{"javaScript:0", "images:1"};
    QTest::newRow("damaged values keep the default") << "no" << " 0" << QStringList{"javaScript:1", "images:1"};
}

void tst_InternetSettings::storedChoicesAreAppliedBeforeTheFirstPage()
{
    QFETCH(QString, javaScript);
    QFETCH(QString, images);
    QFETCH(QStringList, calls);
    TestBrowser t;
    if (!javaScript.isNull())
        t.seed(Internet, "JavaScript", javaScript);
    if (!images.isNull())
        t.seed(Internet, "LoadImages", images);
    t.window->load();
    t.window->ensureFirstActivation();
    // The engine's settings come before any navigation.
    QCOMPARE(t.view->calls.mid(0, 2), calls);
}

void tst_InternetSettings::panelStoresAndAppliesEachChange()
{
    TestBrowser t;
    t.seed(Internet, "LoadImages", "0");
    t.window->load();
    InternetSettingsPanel *panel = openPanel(*t.window);
    QVERIFY(panel && panel->isVisible() && !panel->isModal());
    QVERIFY(panel->javaScriptBox()->isChecked());
    QVERIFY(!panel->imagesBox()->isChecked());
    t.view->calls.clear();

    panel->javaScriptBox()->click();
    QCOMPARE(t.stored(Internet, "JavaScript"), QString("0"));
    panel->imagesBox()->click();
    QCOMPARE(t.stored(Internet, "LoadImages"), QString("1"));
    panel->javaScriptBox()->click();
    QCOMPARE(t.stored(Internet, "JavaScript"), QString("1"));
    QCOMPARE(t.view->calls, (QStringList{"javaScript:0", "images:1", "javaScript:1"}));

    // One window, brought forward showing the store as it is now.
    panel->close();
    t.seed(Internet, "JavaScript", "0");
    QCOMPARE(openPanel(*t.window), panel);
    QVERIFY(panel->isVisible());
    QVERIFY(!panel->javaScriptBox()->isChecked());
    QCOMPARE(t.window->findChildren<InternetSettingsPanel *>().size(), 1);
}

void tst_InternetSettings::deletingBrowsingDataAsksFirst()
{
    TestBrowser t;
    t.window->load();
    InternetSettingsPanel *panel = openPanel(*t.window);
    t.view->calls.clear();
    t.dialogs.confirmAnswers << false << true;
    panel->deleteButton()->click();
    QCOMPARE(t.dialogs.confirmations.size(), 1);
    QVERIFY(t.view->calls.isEmpty());
    QVERIFY(panel->statusLabel()->text().isEmpty());
    panel->deleteButton()->click();
    QCOMPARE(t.view->calls, QStringList{"clearBrowsingData"});
    QVERIFY(!panel->statusLabel()->text().isEmpty());
    for (QWidget *control : std::initializer_list<QWidget *>{panel->javaScriptBox(), panel->imagesBox(), panel->deleteButton()})
        QVERIFY(!control->accessibleName().isEmpty());
}

SKIMLARK_TEST_MAIN(tst_InternetSettings)
#include "tst_internetsettings.moc"
