#include "browser/downloads.h"
#include "browser/makeraddresses.h"
#include "browser/makersite.h"
#include "browser/pagejobs.h"
#include "browser/toolbarcomponent.h"
#include "browser/webenginepageview.h"
#include "support/fakedialogs.h"
#include "support/testmain.h"
#include "support/testserver.h"

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QToolBar>
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

// The real engine. Every request goes to a loopback proxy of the test's own,
// except the maker's pages, which the program answers itself.
class tst_EngineIntegration : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void makerPagesAreAnsweredLocally_data();
    void makerPagesAreAnsweredLocally();
    void makerPagesKeepARealHistory();
    void blankTargetLinkOpensInTheSameView();
    void popupWithoutAClickStaysBlocked();
    void downloadIsSavedWhereTheUserChose();
    void cancelledDownloadWritesNothing();
    void certificateError_data();
    void certificateError();
    void basicAuthentication_data();
    void basicAuthentication();
    void javaScriptDialogsGoThroughOurDialogs_data();
    void javaScriptDialogsGoThroughOurDialogs();
    void killedPageProcessIsExplainedAndRefreshBringsThePageBack();
    void fileSaveWritesThePage();
    void printGoesToThePrinter();
    void printPreviewOpensWithThePage();
    void progressBarShowsARealLoad();

private:
    void load(const QString &address);

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
        if (request.target.startsWith("http://auth")) {
            TestServer::Response response;
            if (request.headers.value("authorization") == "Basic " + QByteArray("ann:secret").toBase64()) {
                response.body = "<html><head><title>Members only</title></head><body>in</body></html>";
            } else {
                response.status = 401;
                response.headers << qMakePair(QByteArray("WWW-Authenticate"), QByteArray("Basic realm=\"Members\""));
                response.body = "<html><head><title>Not signed in</title></head><body>no</body></html>";
            }
            return response;
        }
        return TestServer::Response();
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
                const QByteArray body = "<html><head><title>Secure page</title></head></html>";
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: "
                              + QByteArray::number(body.size()) + "\r\n\r\n" + body);
            });
        }
    });
    QVERIFY(m_secure.listen(QHostAddress::LocalHost, 0));
    const QByteArray securePort = QByteArray::number(m_secure.serverPort());
    // The engine reads its flags when it first starts, which is after this.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " " + m_server.proxyFlag().toUtf8()
                + " --proxy-bypass-list=<-loopback>;secure-no.test;secure-yes.test"
                + " --host-resolver-rules=\"MAP secure-no.test 127.0.0.1:" + securePort
                + ",MAP secure-yes.test 127.0.0.1:" + securePort + "\"");
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

void tst_EngineIntegration::makerPagesAreAnsweredLocally_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("start page") << maker::StartPage << maker::StartPage
                                << "Welcome to Skimlark" << "Fill the favorite buttons";
    QTest::newRow("help page") << maker::HelpPage << maker::HelpPage << "Skimlark Help"
                               << "Add to IE Favorites";
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

void tst_EngineIntegration::makerPagesKeepARealHistory()
{
    load(maker::StartPage);
    load("http://other.test/");
    load(maker::HelpPage);
    QSignalSpy complete(m_view, &PageView::downloadComplete);
    QVERIFY(m_view->goBack());
    QVERIFY(complete.wait(20000));
    QCOMPARE(m_view->currentAddress(), QString("http://other.test/"));
    QVERIFY(m_view->goBack());
    QVERIFY(complete.wait(20000));
    QCOMPARE(m_view->currentAddress(), maker::StartPage);
    QCOMPARE(m_view->currentTitle(), QString("Welcome to Skimlark"));
    QVERIFY(m_view->goForward());
    QVERIFY(complete.wait(20000));
    QCOMPARE(m_view->currentAddress(), QString("http://other.test/"));
    for (const QByteArray &target : std::as_const(m_server.allTargets))
        QVERIFY2(!target.contains("velmora"), target.constData());
}

void tst_EngineIntegration::blankTargetLinkOpensInTheSameView()
{
    m_routes.insert("http://links.test/start",
                    {200, "text/html", "<html><head><title>Links</title></head><body style='margin:0'>"
                     "<a target='_blank' href='http://links.test/next' style='display:block;width:300px;height:200px'>next</a>"
                     "</body></html>", {}});
    m_routes.insert("http://links.test/next",
                    {200, "text/html", "<html><head><title>Next</title></head><body>next</body></html>", {}});
    load("http://links.test/start");
    QSignalSpy complete(m_view, &PageView::downloadComplete);
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

void tst_EngineIntegration::popupWithoutAClickStaysBlocked()
{
    m_routes.insert("http://popup.test/start",
                    {200, "text/html", "<html><head><title>Opener</title><script>"
                     "window.open('http://popup.test/popup');"
                     "window.onload = function() { location.href = 'http://popup.test/after'; };"
                     "</script></head><body>opener</body></html>", {}});
    m_routes.insert("http://popup.test/after",
                    {200, "text/html", "<html><head><title>After</title></head><body>after</body></html>", {}});
    m_view->navigate("http://popup.test/start");
    QTRY_COMPARE_WITH_TIMEOUT(m_view->currentTitle(), QString("After"), 20000);
    QVERIFY(!m_server.targets().contains("http://popup.test/popup"));
}

void tst_EngineIntegration::downloadIsSavedWhereTheUserChose()
{
    const QByteArray bytes = QByteArray("\x00\x01binary\xff payload", 17).repeated(1000);
    m_routes.insert("http://files.test/data.bin",
                    {200, "application/octet-stream", bytes,
                     {{"Content-Disposition", "attachment; filename=\"data.bin\""}}});
    QTemporaryDir folder;
    const QString chosen = folder.filePath("chosen.bin");
    m_dialogs.saveAnswers << chosen;
    QSignalSpy status(m_view, &PageView::statusTextChanged);
    m_view->navigate("http://files.test/data.bin");
    QTRY_VERIFY_WITH_TIMEOUT(!status.isEmpty()
                                 && status.last().at(0).toString().startsWith("Download complete"),
                             20000);
    QCOMPARE(m_dialogs.saveRequests.size(), 1);
    QVERIFY(m_dialogs.saveRequests.first().second.endsWith("/data.bin"));
    QFile file(chosen);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);
}

void tst_EngineIntegration::cancelledDownloadWritesNothing()
{
    m_routes.insert("http://files.test/other.bin",
                    {200, "application/octet-stream", "content",
                     {{"Content-Disposition", "attachment; filename=\"other.bin\""}}});
    QSignalSpy status(m_view, &PageView::statusTextChanged);
    m_view->navigate("http://files.test/other.bin");
    QTRY_VERIFY_WITH_TIMEOUT(!status.isEmpty()
                                 && status.last().at(0).toString() == "Download cancelled: other.bin",
                             20000);
    QCOMPARE(m_dialogs.saveRequests.size(), 1);
}

void tst_EngineIntegration::certificateError_data()
{
    QTest::addColumn<bool>("goOn");
    QTest::newRow("declined") << false;
    QTest::newRow("gone on") << true;
}

void tst_EngineIntegration::certificateError()
{
    QFETCH(bool, goOn);
    m_dialogs.confirmAnswers << goOn;
    // One site per row: the engine remembers a decision per site.
    const QString site = goOn ? "secure-yes.test" : "secure-no.test";
    QSignalSpy complete(m_view, &PageView::downloadComplete);
    m_view->navigate("https://" + site + "/");
    QTRY_VERIFY_WITH_TIMEOUT(!complete.isEmpty(), 20000);
    if (goOn)
        QTRY_COMPARE_WITH_TIMEOUT(m_view->currentTitle(), QString("Secure page"), 20000);
    else
        QVERIFY(m_view->currentTitle() != QString("Secure page"));
    QCOMPARE(m_dialogs.confirmations.size(), 1);
    QVERIFY(m_dialogs.confirmations.first().text.contains(site));
    QVERIFY(m_dialogs.confirmations.first().text.contains("Go on to " + site + " anyway?"));
}

void tst_EngineIntegration::basicAuthentication_data()
{
    QTest::addColumn<bool>("answered");
    QTest::addColumn<QString>("title");
    QTest::newRow("signed in") << true << "Members only";
    QTest::newRow("cancelled") << false << "Not signed in";
}

void tst_EngineIntegration::basicAuthentication()
{
    QFETCH(bool, answered);
    QFETCH(QString, title);
    if (answered)
        m_dialogs.credentialAnswers << Dialogs::Credentials{"ann", "secret"};
    // One site per row: the engine remembers credentials per site.
    const QString site = QString("auth-%1.test").arg(answered ? "in" : "out");
    m_view->navigate("http://" + site + "/");
    QTRY_COMPARE_WITH_TIMEOUT(m_view->currentTitle(), title, 20000);
    QCOMPARE(m_dialogs.credentialRequests.size(), 1);
    QCOMPARE(m_dialogs.credentialRequests.first().first, site);
    QCOMPARE(m_dialogs.credentialRequests.first().second, QString("Members"));
}

void tst_EngineIntegration::javaScriptDialogsGoThroughOurDialogs_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("title");
    QTest::newRow("alert") << QByteArray("alert('Hello there'); document.title = 'after alert';")
                           << "after alert";
    QTest::newRow("confirm yes") << QByteArray("document.title = confirm('Sure?') ? 'yes' : 'no';")
                                 << "yes";
    QTest::newRow("prompt") << QByteArray("document.title = 'name ' + prompt('Name?', 'Bob');")
                            << "name Ann";
}

void tst_EngineIntegration::javaScriptDialogsGoThroughOurDialogs()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, title);
    m_dialogs.confirmAnswers << true;
    m_dialogs.inputAnswers << "Ann";
    m_routes.insert("http://script.test/",
                    {200, "text/html", "<html><head><title>start</title></head><body><script>"
                     + script + "</script></body></html>", {}});
    m_view->navigate("http://script.test/");
    QTRY_COMPARE_WITH_TIMEOUT(m_view->currentTitle(), title, 20000);
    if (title == "after alert") {
        QCOMPARE(m_dialogs.messages.size(), 1);
        QCOMPARE(m_dialogs.messages.first().text, QString("Hello there"));
        QCOMPARE(m_dialogs.messages.first().title, QString("The page at script.test says"));
    } else if (title == "name Ann") {
        QCOMPARE(m_dialogs.inputs.first().initialText, QString("Bob"));
    }
}

void tst_EngineIntegration::killedPageProcessIsExplainedAndRefreshBringsThePageBack()
{
    load("http://crash.test/page");
    QCOMPARE(m_view->currentTitle(), QString("Test page"));
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
    m_routes.insert("http://save.test/",
                    {200, "text/html", "<html><head><title>Keep me</title></head><body>Saved words</body></html>", {}});
    load("http://save.test/");
    QTemporaryDir folder;
    const QString chosen = folder.filePath("kept.html");
    m_dialogs.saveAnswers << chosen;
    QSignalSpy status(m_view, &PageView::statusTextChanged);
    QVERIFY(m_view->saveAs());
    QCOMPARE(m_dialogs.saveRequests.size(), 1);
    QVERIFY(m_dialogs.saveRequests.first().second.endsWith("/Keep me.html"));
    QTRY_VERIFY_WITH_TIMEOUT(!status.isEmpty()
                                 && status.last().at(0).toString().startsWith("Download complete"),
                             20000);
    QFile file(chosen);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("Saved words"));
    QCOMPARE(m_dialogs.saveRequests.size(), 1); // not asked a second time
}

void tst_EngineIntegration::printGoesToThePrinter()
{
    load("http://print.test/");
    QTemporaryDir folder;
    const QString pdf = folder.filePath("out.pdf");
    m_view->jobs()->choosePrinter = [pdf](QPrinter *printer, QWidget *) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        return true;
    };
    QSignalSpy finished(m_view->engineView(), &QWebEngineView::printFinished);
    QVERIFY(m_view->print());
    QVERIFY(finished.wait(30000));
    QCOMPARE(finished.first().at(0).toBool(), true);
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(4) == "%PDF");

    m_view->jobs()->choosePrinter = [](QPrinter *, QWidget *) { return false; };
    QVERIFY(!m_view->print());
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

void tst_EngineIntegration::progressBarShowsARealLoad()
{
    QToolBar toolbar;
    ToolbarComponent component;
    component.attach(&toolbar, m_view);
    component.setMode(1);
    toolbar.show();
    QProgressBar *bar = component.progressBar();
    QVERIFY(bar);
    bool shownAtStart = false;
    int highest = -1;
    connect(m_view, &PageView::downloadBegun, this, [&] { shownAtStart = bar->isVisible(); });
    connect(m_view, &PageView::progressChanged, this,
            [&](int percent) { highest = qMax(highest, percent); });
    load("http://progress.test/");
    QVERIFY(shownAtStart);
    QCOMPARE(highest, 100);
    QVERIFY(bar->isHidden());
    component.release();
    QVERIFY(!component.progressBar());
}

SKIMLARK_TEST_MAIN(tst_EngineIntegration)
#include "tst_engine_integration.moc"
