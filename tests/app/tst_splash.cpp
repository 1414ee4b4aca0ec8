#include "app/frmsplash.h"
#include "support/testmain.h"

#include <QLabel>
#include <QPointer>
#include <QtTest>

class tst_Splash : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void looksTheSameWithoutSettings();
    void waitsAllPassesThenShowsMainWindowThenCloses();
    void keyPressClosesAtOnceButTheWaitGoesOn_data();
    void keyPressClosesAtOnceButTheWaitGoesOn();
    void keyWithoutCharacterDoesNotClose();
};

void tst_Splash::looksTheSameWithoutSettings()
{
    frmSplash splash;
    QCOMPARE(splash.size(), QSize(320, 65));
    QStringList texts;
    for (QLabel *label : splash.findChildren<QLabel *>()) {
        if (!label->text().isEmpty())
            texts << label->text();
    }
    texts.sort();
    QCOMPARE(texts, (QStringList{"Developed by Velmora", "Skimlark"}));
}

void tst_Splash::waitsAllPassesThenShowsMainWindowThenCloses()
{
    auto *splash = new frmSplash;
    splash->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<frmSplash> guard(splash);
    // Each pass handles what is pending: a chain of posted calls counts the passes.
    struct Counter { int handled = 0; bool stopped = false; };
    auto counter = std::make_shared<Counter>();
    std::function<void()> chain;
    chain = [counter, &chain] {
        if (counter->stopped)
            return;
        ++counter->handled;
        QMetaObject::invokeMethod(qApp, chain, Qt::QueuedConnection);
    };
    QMetaObject::invokeMethod(qApp, chain, Qt::QueuedConnection);
    int &handled = counter->handled;
    bool visibleWhenMainShown = false;
    int handledWhenMainShown = 0;
    frmSplash::runSequence(splash, 7500, [&] {
        visibleWhenMainShown = guard && guard->isVisible();
        handledWhenMainShown = handled;
    });
    counter->stopped = true;
    QVERIFY(visibleWhenMainShown);
    QVERIFY2(handledWhenMainShown >= 7500, qPrintable(QString::number(handledWhenMainShown)));
    QTRY_VERIFY(!guard);
}

void tst_Splash::keyPressClosesAtOnceButTheWaitGoesOn_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::newRow("letter") << int(Qt::Key_A) << "a";
    QTest::newRow("enter") << int(Qt::Key_Return) << "\r";
    QTest::newRow("escape") << int(Qt::Key_Escape) << "\x1b";
}

void tst_Splash::keyPressClosesAtOnceButTheWaitGoesOn()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    auto *splash = new frmSplash;
    splash->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<frmSplash> guard(splash);
    QCoreApplication::postEvent(splash, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
    bool mainShown = false;
    bool splashOpenAtMain = true;
    frmSplash::runSequence(splash, 7500, [&] {
        mainShown = true;
        splashOpenAtMain = guard && guard->isVisible();
    });
    QVERIFY(mainShown);
    QVERIFY(!splashOpenAtMain);
}

void tst_Splash::keyWithoutCharacterDoesNotClose()
{
    frmSplash splash;
    splash.show();
    QTest::keyClick(&splash, Qt::Key_Shift);
    QVERIFY(splash.isVisible());
    QTest::keyClick(&splash, Qt::Key_Z);
    QVERIFY(!splash.isVisible());
}

SKIMLARK_TEST_MAIN(tst_Splash)
#include "tst_splash.moc"
