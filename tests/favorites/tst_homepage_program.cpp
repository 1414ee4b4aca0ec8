#include "support/testenv.h"
#include "support/testmain.h"
#include "support/testserver.h"

#include <QAction>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The home page set from the menu is written to the settings file, and the real
// program, started twice over it, requests it first each time from a loopback
// proxy of the test's own.
class tst_HomePageProgram : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { stopProgram(); }
    void homePageSetFromTheMenuIsFirstRequestAfterEachStart();

private:
    void startProgram();
    void stopProgram();

    TestServer m_server;
    QTemporaryDir m_config;
    QTemporaryDir m_data;
    QProcess m_program;
};

void tst_HomePageProgram::startProgram()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", m_config.path());
    env.insert("XDG_DATA_HOME", m_data.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QTWEBENGINE_DISABLE_SANDBOX", "1");
    env.insert("QTWEBENGINE_CHROMIUM_FLAGS",
               "--disable-gpu --disable-background-networking --no-first-run " + m_server.proxyFlag());
    m_program.setProcessEnvironment(env);
    m_program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_program.start(qEnvironmentVariable("SKIMLARK_BINARY"), {});
    QVERIFY2(m_program.waitForStarted(), qPrintable(m_program.errorString()));
}

void tst_HomePageProgram::stopProgram()
{
    if (m_program.state() == QProcess::NotRunning)
        return;
    m_program.terminate();
    if (!m_program.waitForFinished(15000)) {
        m_program.kill();
        m_program.waitForFinished(5000);
    }
}

void tst_HomePageProgram::homePageSetFromTheMenuIsFirstRequestAfterEachStart()
{
    if (qEnvironmentVariableIsEmpty("SKIMLARK_BINARY"))
        QSKIP("SKIMLARK_BINARY does not name the program");
    QVERIFY(m_server.start());
    QVERIFY(m_config.isValid() && m_data.isValid());
    {
        SettingsStore settings(m_config.path());
        FakeDialogs dialogs;
        frmBrowser window(settings, dialogs, new FakePageView);
        window.load();
        dialogs.inputAnswers << "http://home.test/";
        window.menuItem("mnusetmypage")->trigger();
    }
    SettingsStore store(m_config.path());
    QCOMPARE(store.read("Skimlark", "Home", "Address", QString()), QString("http://home.test/"));

    for (int run = 1; run <= 2; ++run) {
        m_server.requests.clear();
        startProgram();
        // The first activation selects the Home Page tab, whose selection opens it.
        QTRY_VERIFY_WITH_TIMEOUT(!m_server.requests.isEmpty(), 60000);
        QCOMPARE(m_server.requests.first().target, QByteArray("http://home.test/"));
        stopProgram();
        QCOMPARE(store.read("Skimlark", "Home", "Address", QString()), QString("http://home.test/"));
    }
}

SKIMLARK_TEST_MAIN(tst_HomePageProgram)
#include "tst_homepage_program.moc"
