#include "browser/engineprofile.h"
#include "support/testmain.h"
#include "support/testserver.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <QtTest>
#include <cstdio>

// Cookies outlive the program: this test program is started twice in "visit"
// mode, which opens one address over the program's persistent profile and
// ends as the program ends, releasing the view and then the profile.
namespace {
int visit(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QWebEngineProfile *profile = engineprofile::createPersistent(&app);
    auto *view = new QWebEngineView;
    view->setPage(new QWebEnginePage(profile, view));
    QObject::connect(view, &QWebEngineView::loadFinished, &app, [&app, view](bool ok) {
        std::printf("title=%s\n", qPrintable(view->title()));
        std::fflush(stdout);
        delete view;
        app.exit(ok ? 0 : 2);
    });
    view->show();
    view->setUrl(QUrl(QString::fromLocal8Bit(argv[2])));
    return app.exec();
}
} // namespace

class tst_ProfilePersistence : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cookieSurvivesARestart();
};

void tst_ProfilePersistence::cookieSurvivesARestart()
{
    TestServer server;
    QTemporaryDir data;
    QVERIFY(server.start());
    server.handler = [](const TestServer::Request &request) {
        TestServer::Response response;
        if (request.headers.value("cookie").contains("kept=yes")) {
            response.body = "<html><head><title>Welcome back</title></head></html>";
        } else {
            response.body = "<html><head><title>First visit</title></head></html>";
            response.headers << qMakePair(QByteArray("Set-Cookie"),
                                          QByteArray("kept=yes; Max-Age=86400; Path=/"));
        }
        return response;
    };
    const auto runVisit = [&]() -> QString {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", data.path());
        env.insert("QTWEBENGINE_CHROMIUM_FLAGS", env.value("QTWEBENGINE_CHROMIUM_FLAGS") + " "
                       + server.proxyFlag() + " --proxy-bypass-list=<-loopback>");
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QSignalSpy finished(&child, &QProcess::finished);
        child.start(QCoreApplication::applicationFilePath(), {"--visit", "http://cookie.test/"});
        // The child's requests are served by this event loop, so wait in it.
        if (!finished.wait(90000)) {
            child.kill();
            return "<timeout>";
        }
        const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
        return out.section("title=", 1).section('\n', 0, 0);
    };
    QCOMPARE(runVisit(), QString("First visit"));
    QVERIFY(QFileInfo(data.filePath("Velmora/Skimlark/profile")).isDir());
    QCOMPARE(runVisit(), QString("Welcome back"));
}

int main(int argc, char *argv[])
{
    if (argc >= 3 && qstrcmp(argv[1], "--visit") == 0)
        return visit(argc, argv);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    tst_ProfilePersistence tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_profile_persistence.moc"
