#include "browser/makeraddresses.h"
#include "browser/makersite.h"
#include "browser/webenginepageview.h"
#include "support/fakedialogs.h"
#include "support/testmain.h"
#include "support/testserver.h"

#include <QPrintPreviewDialog>
#include <QSignalSpy>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <QtTest>
#include <csignal>
#include <functional>

namespace {
QByteArray page(const QByteArray &title, const QByteArray &body)
{
    return "<html><head><title>" + title + "</title></head><body>" + body + "</body></html>";
}
} // namespace

// The real engine. Every request goes to a loopback proxy of the test's own,
// except the maker's pages, which the program answers itself.
class tst_EngineIntegration : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    // First, so that no earlier page's late requests reach the proxy.
    void makerPagesAreAnsweredLocally_data();
    void makerPagesAreAnsweredLocally();
    void blankTargetLinkOpensInTheSameView();
    void downloadIsSavedWhereTheUserChose();
    void declinedCertificateErrorShowsNothing();
    void basicAuthentication();
    void alertGoesThroughOurDialogs();
    void killedPageProcessIsExplainedAndRefreshBringsThePageBack();
    void fileSaveWritesThePage();
    void printPreviewOpensWithThePage();
    void navigationReachesTheProxyWithTheExactAddress();

private:
    void load(const QString &address);
    bool statusAfter(const std::function<void()> &action, const QString &start);

    TestServer m_server;
    // An HTTPS site with a certificate no browser trusts.
    QSslServer m_secure;
    QWebEngineProfile *m_profile = nullptr;
    FakeDialogs m_dialogs;
    WebEnginePageView *m_view = nullptr;
    QMap<QByteArray, TestServer::Response> m_routes;
};

void tst_EngineIntegration::initTestCase()
{
    QVERIFY(m_server.start());
    m_server.handler = [this](const TestServer::Request &request) {
        for (auto it = m_routes.cbegin(); it != m_routes.cend(); ++it) {
            if (request.target.startsWith(it.key()))
                return it.value();
        }
        TestServer::Response response;
        if (request.target.startsWith("http://auth")) {
            if (request.headers.value("authorization") == "Basic " + QByteArray("ann:secret").toBase64()) {
                response.body = page("Members only", "in");
            } else {
                response.status = 401;
                response.headers << qMakePair(QByteArray("WWW-Authenticate"), QByteArray("Basic realm=\"Members\""));
                response.body = page("Not signed in", "no");
            }
        }
        return response;
    };
    QFile certificate(QFINDTESTDATA("../support/certs/selfsigned.crt"));
    QFile key(QFINDTESTDATA("../support/certs/selfsigned.key"));
    QVERIFY(certificate.open(QIODevice::ReadOnly) && key.open(QIODevice::ReadOnly));
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(QSslCertificate(&certificate));
    tls.setPrivateKey(QSslKey(&key, QSsl::Rsa));
    m_secure.setSslConfiguration(tls);
    connect(&m_secure, &QSslServer::pendingConnectionAvailable, this, [this] {
        while (auto *socket = qobject_cast<QSslSocket *>(m_secure.nextPendingConnection())) {
            connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QSslSocket::readyRead, socket, [socket] {
                if (!socket->readAll().contains("\r\n\r\n"))
                    return;
                const QByteArray body = page("Secure page", "");
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: "
                              + QByteArray::number(body.size()) + "\r\n\r\n" + body);
            });
        }
    });
    QVERIFY(m_secure.listen(QHostAddress::LocalHost, 0));
    const QByteArray securePort = QByteArray::number(m_secure.serverPort());
    // The engine reads its flags when it first starts, which is after this.
    // The maker site then adds its own bypass and resolver entries to these.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " " + m_server.proxyFlag().toUtf8()
                + " --proxy-bypass-list=<-loopback>;secure.test"
                + " --host-resolver-rules=\"MAP secure.test 127.0.0.1:" + securePort + "\"");
    QVERIFY(MakerSite::startForEngine(this));
    m_profile = new QWebEngineProfile(this);
}

void tst_EngineIntegration::init()
{
    m_dialogs = FakeDialogs();
    m_routes.clear();
    m_view = new WebEnginePageView(m_profile, &m_dialogs);
    m_view->resize(600, 400);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
    m_server.requests.clear();
    m_server.allTargets.clear();
}

void tst_EngineIntegration::cleanup()
{
    delete m_view;
    m_view = nullptr;
}

void tst_EngineIntegration::load(const QString &address)
{
    QSignalSpy complete(m_view, &PageView::downloadComplete);
    m_view->navigate(address);
    QVERIFY(complete.wait(20000));
}

bool tst_EngineIntegration::statusAfter(const std::function<void()> &action, const QString &start)
{
    QSignalSpy status(m_view, &PageView::statusTextChanged);
    action();
    return QTest::qWaitFor([&] {
        return !status.isEmpty() && status.last().at(0).toString().startsWith(start);
    }, 20000);
}

void tst_EngineIntegration::navigationReachesTheProxyWithTheExactAddress()
{
    load("http://site.test/search?q=C%2B%2B&x=1");
    QCOMPARE(m_server.targets().value(0), QByteArray("http://site.test/search?q=C%2B%2B&x=1"));
    QCOMPARE(m_view->currentTitle(), QString("Test page"));

    m_server.requests.clear();
    load("example.test");
    QCOMPARE(m_server.targets().value(0), QByteArray("http://example.test/"));
    QCOMPARE(WebEnginePageView::addressToUrl("/tmp/page.html"), QUrl::fromLocalFile("/tmp/page.html"));
    QCOMPARE(WebEnginePageView::addressToUrl(""), QUrl("about:blank"));
}

void tst_EngineIntegration::makerPagesAreAnsweredLocally_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("start page") << maker::StartPage << maker::StartPage
                                << "Welcome to Skimlark" << "Fill the favorite buttons";
    QTest::newRow("referral") << maker::ReferralAddress << maker::ReferralAddress
                              << "Skimlark home page" << "start page";
    QTest::newRow("own address") << maker::OwnAddress << maker::OwnAddress + "/"
                                 << "Velmora - makers of Skimlark" << SKIMLARK_VERSION;
    QTest::newRow("unknown path") << "http://www.velmora.example/nothing/here.htm"
                                  << "http://www.velmora.example/nothing/here.htm"
                                  << "Page not found" << "no page at this address";
}

void tst_EngineIntegration::makerPagesAreAnsweredLocally()
{
    QFETCH(QString, address);
    QFETCH(QString, shown);
    QFETCH(QString, title);
    QFETCH(QString, text);
    load(address);
    QCOMPARE(m_view->currentAddress(), shown);
    QCOMPARE(m_view->currentTitle(), title);
    QString body;
    m_view->engineView()->page()->toPlainText([&body](const QString &t) { body = t; });
    QTRY_VERIFY_WITH_TIMEOUT(body.contains(text), 10000);
    QVERIFY2(m_server.allTargets.isEmpty(), m_server.allTargets.value(0).constData());
}

void tst_EngineIntegration::blankTargetLinkOpensInTheSameView()
{
    m_routes.insert("http://links.test/start",
                    {200, "text/html", page("Links", "<a target='_blank' href='http://links.test/next' "
                                        "style='display:block;width:300px;height:200px'>next</a>"), {}});
    m_routes.insert("http://links.test/next", {200, "text/html", page("Next", "next"), {}});
    load("http://links.test/start");
    QWidget *surface = m_view->engineView()->focusProxy();
    QVERIFY(surface);
    // The engine takes input only once its first frame is on screen, which
    // comes some time after the load: click until the click is taken.
    QTimer clicker;
    connect(&clicker, &QTimer::timeout, this, [&] {
        if (m_server.targets().contains("http://links.test/next"))
            clicker.stop();
        else
            QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(40, 40));
    });
    clicker.start(250);
    QTRY_COMPARE_WITH_TIMEOUT(m_view->currentTitle(), QString("Next"), 20000);
    QCOMPARE(m_view->currentAddress(), QString("http://links.test/next"));
}

void tst_EngineIntegration::downloadIsSavedWhereTheUserChose()
{
    const QByteArray bytes = QByteArray("\x00\x01binary\xff payload", 17).repeated(1000);
    m_routes.insert("http://files.test/data.bin",
                    {200, "application/octet-stream", bytes,
                     {{"Content-Disposition", "attachment; filename=\"data.bin\""}}});
    // No answer to the save prompt cancels.
    const auto navigate = [this] { m_view->navigate("http://files.test/data.bin"); };
    QVERIFY(statusAfter(navigate, "Download cancelled: data.bin"));

    QTemporaryDir folder;
    const QString chosen = folder.filePath("chosen.bin");
    m_dialogs.saveAnswers << chosen;
    QVERIFY(statusAfter(navigate, "Download complete"));
    QCOMPARE(m_dialogs.saveRequests.size(), 2);
    QVERIFY(m_dialogs.saveRequests.last().second.endsWith("/data.bin"));
    QFile file(chosen);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);
}

void tst_EngineIntegration::declinedCertificateErrorShowsNothing()
{
    m_dialogs.confirmAnswers << false;
    load("https://secure.test/");
    QVERIFY(m_view->currentTitle() != QString("Secure page"));
    QCOMPARE(m_dialogs.confirmations.size(), 1);
    QVERIFY(m_dialogs.confirmations.first().text.contains("Go on to secure.test anyway?"));
}

void tst_EngineIntegration::basicAuthentication()
{
    // One site each: the engine remembers credentials per site.
    m_dialogs.credentialAnswers << Dialogs::Credentials{"ann", "secret"} << std::nullopt;
    m_view->navigate("http://auth-in.test/");
    QTRY_COMPARE_WITH_TIMEOUT(m_view->currentTitle(), QString("Members only"), 20000);
    m_view->navigate("http://auth-out.test/");
    QTRY_COMPARE_WITH_TIMEOUT(m_view->currentTitle(), QString("Not signed in"), 20000);
    QCOMPARE(m_dialogs.credentialRequests,
             (QList<QPair<QString, QString>>{{"auth-in.test", "Members"}, {"auth-out.test", "Members"}}));
}

void tst_EngineIntegration::alertGoesThroughOurDialogs()
{
    m_routes.insert("http://script.test/",
                    {200, "text/html", page("start", "<script>alert('Hello there');"
                                        "document.title = 'after alert';</script>"), {}});
    m_view->navigate("http://script.test/");
    QTRY_COMPARE_WITH_TIMEOUT(m_view->currentTitle(), QString("after alert"), 20000);
    QCOMPARE(m_dialogs.messages.size(), 1);
    QCOMPARE(m_dialogs.messages.first().text, QString("Hello there"));
    QCOMPARE(m_dialogs.messages.first().title, QString("The page at script.test says"));
}

void tst_EngineIntegration::killedPageProcessIsExplainedAndRefreshBringsThePageBack()
{
    load("http://crash.test/page");
    const qint64 pid = m_view->engineView()->page()->renderProcessPid();
    QVERIFY(pid > 0);
    QSignalSpy terminated(m_view->engineView()->page(), &QWebEnginePage::renderProcessTerminated);
    ::kill(pid_t(pid), SIGKILL);
    QVERIFY(terminated.wait(20000));
    QTRY_COMPARE_WITH_TIMEOUT(m_view->currentTitle(), QString("This page stopped working"), 20000);
    QCOMPARE(m_view->currentAddress(), QString("http://crash.test/page"));

    m_server.requests.clear();
    m_view->refresh();
    QTRY_COMPARE_WITH_TIMEOUT(m_view->currentTitle(), QString("Test page"), 20000);
    QCOMPARE(m_server.targets().value(0), QByteArray("http://crash.test/page"));
}

void tst_EngineIntegration::fileSaveWritesThePage()
{
    m_routes.insert("http://save.test/", {200, "text/html", page("Keep me", "Saved words"), {}});
    load("http://save.test/");
    QTemporaryDir folder;
    const QString chosen = folder.filePath("kept.html");
    m_dialogs.saveAnswers << chosen;
    QVERIFY(statusAfter([this] { QVERIFY(m_view->saveAs()); }, "Download complete"));
    QVERIFY(m_dialogs.saveRequests.value(0).second.endsWith("/Keep me.html"));
    QFile file(chosen);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("Saved words"));
    QCOMPARE(m_dialogs.saveRequests.size(), 1); // not asked a second time
}

void tst_EngineIntegration::printPreviewOpensWithThePage()
{
    load("http://preview.test/");
    QSignalSpy finished(m_view->engineView(), &QWebEngineView::printFinished);
    bool sawPreview = false;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, this, [&] {
        auto *preview = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
        if (!preview || finished.isEmpty())
            return;
        sawPreview = true;
        preview->reject();
    });
    watcher.start(50);
    QVERIFY(m_view->printPreview());
    QVERIFY(sawPreview);
    QCOMPARE(finished.first().at(0).toBool(), true);
}

SKIMLARK_TEST_MAIN(tst_EngineIntegration)
#include "tst_engine_integration.moc"
