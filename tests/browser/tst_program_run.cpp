#include "settings/settingsstore.h"
#include "support/testmain.h"
#include "support/testserver.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// The real program, with its own settings and data folders and every page
// request routed to a loopback server of the test's own.
class tst_ProgramRun : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void startsOnTheHomePageAndClosesWithoutWriting();
};

void tst_ProgramRun::startsOnTheHomePageAndClosesWithoutWriting()
{
    const QString binary = qEnvironmentVariable("SKIMLARK_BINARY");
    if (binary.isEmpty())
        QSKIP("SKIMLARK_BINARY is not set");

    TestServer server;
    QVERIFY(server.start());
    // The page's one picture being asked for shows the page itself has loaded.
    server.handler = [](const TestServer::Request &request) {
        TestServer::Response response;
        if (request.target.endsWith("/loaded.png")) {
            response.contentType = "image/png";
            response.body = QByteArray::fromBase64(
                "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNk+M9QDwADhgGAWjR9awAAAABJRU5ErkJggg==");
        } else {
            response.body = "<html><head><title>Home test page</title></head>"
                            "<body><img src=\"http://home.test/loaded.png\"></body></html>";
        }
        return response;
    };

    QTemporaryDir config, data, cache;
    SettingsStore seed(config.path());
    QVERIFY(seed.write("Skimlark", "Home", "Address", "http://home.test/"));
    QVERIFY(seed.write("Skimlark", "MRURL", "0", "http://last.test/"));
    QFile file(seed.filePath("Skimlark"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray storedBefore = file.readAll();
    file.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", config.path());
    env.insert("XDG_DATA_HOME", data.path());
    env.insert("XDG_CACHE_HOME", cache.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QTWEBENGINE_DISABLE_SANDBOX", "1");
    env.insert("QTWEBENGINE_CHROMIUM_FLAGS",
               env.value("QTWEBENGINE_CHROMIUM_FLAGS") + " " + server.proxyFlag()
                   + " --proxy-bypass-list=<-loopback>");
    QProcess program;
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(binary, {});
    QVERIFY(program.waitForStarted());

    const bool loaded = QTest::qWaitFor(
        [&server] { return server.targets().contains("http://home.test/loaded.png"); }, 60000);

    // Asked to close (as a logout does), it ends normally and writes nothing.
    program.terminate();
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), storedBefore);

    QVERIFY2(loaded, "the home page was not loaded at start-up");
    QCOMPARE(server.targets().count("http://home.test/"), 1);
}

SKIMLARK_TEST_MAIN(tst_ProgramRun)
#include "tst_program_run.moc"
