#include "browser/webenginepageview.h"
#include "support/testenv.h"
#include "support/testmain.h"
#include "support/testserver.h"

#include <QAction>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEngineProfile>
#include <QtTest>

// The home page with the real page engine, every request routed to a loopback
// proxy of the test's own: set from the menu it opens from the Home Page tab,
// and after a restart of the program it is the first page requested.
class tst_HomePageProgram : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void homePageSetFromTheMenuOpensFromTheTab();
    void storedHomePageIsFirstRequestAfterEachStart();

private:
    void startProgram();
    void stopProgram();
    bool waitForRequest(int timeoutMs);

    TestServer m_server;
    QTemporaryDir m_config;
    QTemporaryDir m_data;
    QWebEngineProfile *m_profile = nullptr;
    QProcess m_program;
};

void tst_HomePageProgram::initTestCase()
{
    QVERIFY(m_server.start());
    QVERIFY(m_config.isValid());
    QVERIFY(m_data.isValid());
    // The engine reads its flags when it first starts, which is after this.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " " + m_server.proxyFlag().toUtf8());
    m_profile = new QWebEngineProfile(this);
}

void tst_HomePageProgram::cleanup()
{
    stopProgram();
}

bool tst_HomePageProgram::waitForRequest(int timeoutMs)
{
    QSignalSpy requested(&m_server, &TestServer::requestReceived);
    if (m_server.requests.isEmpty())
        requested.wait(timeoutMs);
    return !m_server.requests.isEmpty();
}

void tst_HomePageProgram::homePageSetFromTheMenuOpensFromTheTab()
{
    SettingsStore settings(m_config.path());
    FakeDialogs dialogs;
    auto *view = new WebEnginePageView(m_profile, &dialogs);
    frmBrowser window(settings, dialogs, view);
    window.load();
    window.show();

    dialogs.inputAnswers << "http://home.test/";
    window.menuItem("mnusetmypage")->trigger();
    // Written to the settings file the program reads at its next start.
    QCOMPARE(SettingsStore(m_config.path()).read("Skimlark", "Home", "Address", QString()),
             QString("http://home.test/"));

    m_server.requests.clear();
    window.TabStrip1->select(0);
    QVERIFY2(waitForRequest(30000), "the tab requested nothing");
    QCOMPARE(m_server.requests.first().target, QByteArray("http://home.test/"));
}

void tst_HomePageProgram::startProgram()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", m_config.path());
    env.insert("XDG_DATA_HOME", m_data.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QTWEBENGINE_DISABLE_SANDBOX", "1");
    env.insert("QTWEBENGINE_CHROMIUM_FLAGS",
               "--disable-gpu --disable-background-networking --no-first-run "
                   + m_server.proxyFlag());
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

void tst_HomePageProgram::storedHomePageIsFirstRequestAfterEachStart()
{
    if (qEnvironmentVariableIsEmpty("SKIMLARK_BINARY"))
        QSKIP("SKIMLARK_BINARY does not name the program");
    // What "Set My Home Page" leaves in the settings file.
    SettingsStore store(m_config.path());
    QVERIFY(store.write("Skimlark", "Home", "Address", "http://home.test/"));

    for (int run = 1; run <= 2; ++run) {
        m_server.requests.clear();
        startProgram();
        // The first activation selects the Home Page tab, whose selection opens it.
        QVERIFY2(waitForRequest(60000), "the program requested nothing");
        QCOMPARE(m_server.requests.first().target, QByteArray("http://home.test/"));
        stopProgram();
        // Running and ending the program keeps the stored home page.
        QCOMPARE(store.read("Skimlark", "Home", "Address", QString()),
                 QString("http://home.test/"));
    }
}

SKIMLARK_TEST_MAIN(tst_HomePageProgram)
#include "tst_homepage_program.moc"
