#include "browser/findbar.h"
#include "support/testenv.h"
#include "support/testmain.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

// The keys users expect run the same buttons and menu items as the mouse.
class tst_Shortcuts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void keysRunTheButtonsAndMenuItems_data();
    void keysRunTheButtonsAndMenuItems();
    void fieldAndZoomKeys();
    void findBarFindsAndEscClosesItBeforeStopping();

private:
    void press(const QKeySequence &key) { QTest::keySequence(m_t->window.get(), key); }
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
    QTest::newRow("F5") << QKeySequence(Qt::Key_F5) << "refresh" << "";
    QTest::newRow("Ctrl+R") << QKeySequence(Qt::CTRL | Qt::Key_R) << "refresh" << "";
    QTest::newRow("Esc") << QKeySequence(Qt::Key_Escape) << "stop" << "";
    QTest::newRow("Alt+Home") << QKeySequence(Qt::ALT | Qt::Key_Home) << "home" << "";
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
    press(key);
    QCOMPARE(triggered.count(), 1);
}

void tst_Shortcuts::fieldAndZoomKeys()
{
    press(QKeySequence(Qt::CTRL | Qt::Key_Equal));
    press(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    press(QKeySequence(Qt::CTRL | Qt::Key_0));
    QCOMPARE(m_t->view->calls, (QStringList{"zoomBy:1", "zoomBy:-1", "resetZoom"}));
    m_t->window->Combo1->setEditText("http://typed.test/");
    const QList<QPair<QKeySequence, QLineEdit *>> fields = {
        {QKeySequence(Qt::CTRL | Qt::Key_L), m_t->window->Combo1->lineEdit()},
        {QKeySequence(Qt::CTRL | Qt::Key_K), m_t->window->Text1}};
    for (const auto &[key, field] : fields) {
        press(key);
        QTRY_VERIFY(field->hasFocus());
        QVERIFY(!field->text().isEmpty());
        QCOMPARE(field->selectedText(), field->text());
    }
}

void tst_Shortcuts::findBarFindsAndEscClosesItBeforeStopping()
{
    auto *bar = m_t->window->findChild<FindBar *>();
    QVERIFY(bar && bar->isHidden());
    press(QKeySequence(Qt::CTRL | Qt::Key_F));
    QTRY_VERIFY(bar->field()->hasFocus());
    QTest::keyClicks(bar->field(), "ab");
    QTest::keyClick(bar->field(), Qt::Key_Return);
    QTest::keyClick(bar->field(), Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(m_t->view->calls, (QStringList{"find:a:0", "find:ab:0", "find:ab:0", "find:ab:1"}));

    QSignalSpy stop(m_t->window->toolbarButton("stop"), &QAction::triggered);
    m_t->view->calls.clear();
    QTest::keyClick(bar->field(), Qt::Key_Escape);
    QVERIFY(bar->isHidden());
    QCOMPARE(m_t->view->calls, (QStringList{"find::0", "takeFocus"}));
    QCOMPARE(stop.count(), 0);
    // Reopened, the last words are selected, ready to be replaced.
    press(QKeySequence(Qt::CTRL | Qt::Key_F));
    QCOMPARE(bar->field()->selectedText(), QString("ab"));
}

SKIMLARK_TEST_MAIN(tst_Shortcuts)
#include "tst_shortcuts.moc"
