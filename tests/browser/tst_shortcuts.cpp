#include "browser/findbar.h"
#include "support/testenv.h"
#include "support/testmain.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

// The keys users expect, on the main window over the fake page view.
class tst_Shortcuts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void keysRunTheButtonsAndMenuItems_data();
    void keysRunTheButtonsAndMenuItems();
    void addressAndSearchKeysSelectTheText_data();
    void addressAndSearchKeysSelectTheText();
    void zoomKeys_data();
    void zoomKeys();
    void findBarFindsAndEscClosesItBeforeStopping();

private:
    std::unique_ptr<TestBrowser> m_t;
};

void tst_Shortcuts::init()
{
    m_t = std::make_unique<TestBrowser>();
    m_t->window->load();
    m_t->window->show();
    m_t->window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_t->window.get()));
    m_t->view->calls.clear();
}

void tst_Shortcuts::cleanup()
{
    m_t.reset();
}

void tst_Shortcuts::keysRunTheButtonsAndMenuItems_data()
{
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("menuItem");
    QTest::newRow("Alt+Left") << QKeySequence(Qt::ALT | Qt::Key_Left) << "back" << "";
    QTest::newRow("Alt+Right") << QKeySequence(Qt::ALT | Qt::Key_Right) << "forward" << "";
    QTest::newRow("F5") << QKeySequence(Qt::Key_F5) << "refresh" << "";
    QTest::newRow("Ctrl+R") << QKeySequence(Qt::CTRL | Qt::Key_R) << "refresh" << "";
    QTest::newRow("Esc") << QKeySequence(Qt::Key_Escape) << "stop" << "";
    QTest::newRow("Alt+Home") << QKeySequence(Qt::ALT | Qt::Key_Home) << "home" << "";
    QTest::newRow("Ctrl+O") << QKeySequence(Qt::CTRL | Qt::Key_O) << "" << "mnuopen";
    QTest::newRow("Ctrl+S") << QKeySequence(Qt::CTRL | Qt::Key_S) << "" << "mnusave";
    QTest::newRow("Ctrl+P") << QKeySequence(Qt::CTRL | Qt::Key_P) << "" << "mnuprint";
}

void tst_Shortcuts::keysRunTheButtonsAndMenuItems()
{
    QFETCH(QKeySequence, key);
    QFETCH(QString, button);
    QFETCH(QString, menuItem);
    QAction *action = button.isEmpty() ? m_t->window->menuItem(menuItem)
                                       : m_t->window->toolbarButton(button);
    QVERIFY(action);
    QSignalSpy triggered(action, &QAction::triggered);
    QTest::keySequence(m_t->window.get(), key);
    QCOMPARE(triggered.count(), 1);
}

void tst_Shortcuts::addressAndSearchKeysSelectTheText_data()
{
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<bool>("address");
    QTest::newRow("Ctrl+L address bar") << QKeySequence(Qt::CTRL | Qt::Key_L) << true;
    QTest::newRow("Ctrl+K search box") << QKeySequence(Qt::CTRL | Qt::Key_K) << false;
}

void tst_Shortcuts::addressAndSearchKeysSelectTheText()
{
    QFETCH(QKeySequence, key);
    QFETCH(bool, address);
    m_t->window->Combo1->setEditText("http://typed.test/");
    QLineEdit *field = address ? m_t->window->Combo1->lineEdit() : m_t->window->Text1;
    QTest::keySequence(m_t->window.get(), key);
    QTRY_VERIFY(field->hasFocus());
    QCOMPARE(field->selectedText(), field->text());
    QVERIFY(!field->text().isEmpty());
}

void tst_Shortcuts::zoomKeys_data()
{
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<QString>("call");
    QTest::newRow("Ctrl+plus") << QKeySequence(Qt::CTRL | Qt::Key_Plus) << "zoomBy:1";
    QTest::newRow("Ctrl+equals") << QKeySequence(Qt::CTRL | Qt::Key_Equal) << "zoomBy:1";
    QTest::newRow("Ctrl+minus") << QKeySequence(Qt::CTRL | Qt::Key_Minus) << "zoomBy:-1";
    QTest::newRow("Ctrl+0") << QKeySequence(Qt::CTRL | Qt::Key_0) << "resetZoom";
}

void tst_Shortcuts::zoomKeys()
{
    QFETCH(QKeySequence, key);
    QFETCH(QString, call);
    QTest::keySequence(m_t->window.get(), key);
    QCOMPARE(m_t->view->calls, QStringList{call});
}

void tst_Shortcuts::findBarFindsAndEscClosesItBeforeStopping()
{
    auto *bar = m_t->window->findChild<FindBar *>();
    QVERIFY(bar);
    QVERIFY(bar->isHidden());
    QTest::keySequence(m_t->window.get(), QKeySequence(Qt::CTRL | Qt::Key_F));
    QVERIFY(bar->isVisible());
    QTRY_VERIFY(bar->field()->hasFocus());

    QTest::keyClicks(bar->field(), "ab");
    QTest::keyClick(bar->field(), Qt::Key_Return);
    QTest::keyClick(bar->field(), Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(m_t->view->calls,
             (QStringList{"find:a:0", "find:ab:0", "find:ab:0", "find:ab:1"}));

    QSignalSpy stop(m_t->window->toolbarButton("stop"), &QAction::triggered);
    m_t->view->calls.clear();
    QTest::keyClick(bar->field(), Qt::Key_Escape);
    QVERIFY(bar->isHidden());
    QCOMPARE(m_t->view->calls, (QStringList{"find::0", "takeFocus"}));
    QCOMPARE(stop.count(), 0);

    // Reopened, the last words are selected, ready to be replaced.
    QTest::keySequence(m_t->window.get(), QKeySequence(Qt::CTRL | Qt::Key_F));
    QCOMPARE(bar->field()->selectedText(), QString("ab"));
    bar->close();
    QTest::keySequence(m_t->window.get(), QKeySequence(Qt::Key_Escape));
    QCOMPARE(stop.count(), 1);
}

SKIMLARK_TEST_MAIN(tst_Shortcuts)
#include "tst_shortcuts.moc"
