#include "browser/downloads.h"
#include "browser/makersite.h"
#include "support/testmain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The maker's site as the program answers it, the engine flags that route
// it, and where downloads land. No engine needed.
class tst_MakerSite : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void routedFlags_data();
    void routedFlags();
    void answers_data();
    void answers();
    void unusedPath_data();
    void unusedPath();
    void suggestedPathStaysInTheDownloadsFolder_data();
    void suggestedPathStaysInTheDownloadsFolder();
};

void tst_MakerSite::routedFlags_data()
{
    QTest::addColumn<QString>("flags");
    QTest::addColumn<QString>("expected");
    const QString map = "--host-resolver-rules=\"MAP www.velmora.example 127.0.0.1:4242\"";
    QTest::newRow("no flags") << "" << map;
    QTest::newRow("other flags pass") << "--disable-gpu --no-first-run"
                                      << "--disable-gpu --no-first-run " + map;
    QTest::newRow("proxy gets a bypass")
        << "--proxy-server=http://127.0.0.1:9"
        << "--proxy-server=http://127.0.0.1:9 " + map + " --proxy-bypass-list=www.velmora.example";
    QTest::newRow("bypass list is extended")
        << "--proxy-server=http://p:1 --proxy-bypass-list=<-loopback>"
        << "--proxy-server=http://p:1 --proxy-bypass-list=<-loopback>;www.velmora.example " + map;
    QTest::newRow("resolver rules are extended")
        << "--host-resolver-rules=\"MAP a.test 127.0.0.1:1\""
        << "--host-resolver-rules=\"MAP a.test 127.0.0.1:1,MAP www.velmora.example 127.0.0.1:4242\"";
}

void tst_MakerSite::routedFlags()
{
    QFETCH(QString, flags);
    QFETCH(QString, expected);
    QCOMPARE(MakerSite::routedEngineFlags(flags, 4242), expected);
}

void tst_MakerSite::answers_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("contains");
    QTest::newRow("own address") << QByteArray("GET") << QByteArray("/") << 200
                                 << QByteArray("version " SKIMLARK_VERSION);
    QTest::newRow("start page") << QByteArray("GET") << QByteArray("/skimlark.htm") << 200
                                << QByteArray("<title>Welcome to Skimlark</title>");
    QTest::newRow("help page") << QByteArray("GET") << QByteArray("/skimlark/skimlarkhelp.htm")
                               << 200 << QByteArray("<title>Skimlark Help</title>");
    QTest::newRow("referral with its query")
        << QByteArray("GET") << QByteArray("/affiliates/?x=homepage&hp=skimlark") << 200
        << QByteArray("http://www.velmora.example/skimlark.htm");
    QTest::newRow("style") << QByteArray("GET") << QByteArray("/skimlark.css") << 200
                           << QByteArray("font-family");
    QTest::newRow("icon") << QByteArray("GET") << QByteArray("/favicon.ico") << 200
                          << QByteArray("PNG");
    QTest::newRow("path case matters") << QByteArray("GET") << QByteArray("/Skimlark.htm") << 404
                                       << QByteArray("Page not found");
    QTest::newRow("unknown page") << QByteArray("GET") << QByteArray("/../etc/passwd") << 404
                                  << QByteArray("Page not found");
    QTest::newRow("no posting") << QByteArray("POST") << QByteArray("/skimlark.htm") << 405
                                << QByteArray("");
}

void tst_MakerSite::answers()
{
    QFETCH(QByteArray, method);
    QFETCH(QByteArray, target);
    QFETCH(int, status);
    QFETCH(QByteArray, contains);
    const MakerSite::Reply reply = MakerSite::answer(method, target);
    QCOMPARE(reply.status, status);
    QVERIFY2(reply.body.contains(contains), reply.body.left(200).constData());
    QVERIFY(!reply.body.contains("{{"));
}

void tst_MakerSite::unusedPath_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<QString>("expected");
    QTest::newRow("free name") << QStringList() << "a.zip" << "a.zip";
    QTest::newRow("taken") << QStringList{"a.zip"} << "a.zip" << "a (2).zip";
    QTest::newRow("taken twice") << QStringList{"a.zip", "a (2).zip"} << "a.zip" << "a (3).zip";
    QTest::newRow("double suffix") << QStringList{"a.tar.gz"} << "a.tar.gz" << "a (2).tar.gz";
    QTest::newRow("no suffix") << QStringList{"README"} << "README" << "README (2)";
}

void tst_MakerSite::unusedPath()
{
    QFETCH(QStringList, existing);
    QFETCH(QString, wanted);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    for (const QString &name : existing) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QCOMPARE(Downloads::unusedPath(dir.filePath(wanted)), dir.filePath(expected));
}

void tst_MakerSite::suggestedPathStaysInTheDownloadsFolder_data()
{
    QTest::addColumn<QString>("offered");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "report.pdf" << "report.pdf";
    QTest::newRow("path from the page") << "../../.bashrc" << ".bashrc";
    QTest::newRow("empty") << "" << "download";
    QTest::newRow("dots") << ".." << "download";
}

void tst_MakerSite::suggestedPathStaysInTheDownloadsFolder()
{
    QFETCH(QString, offered);
    QFETCH(QString, name);
    const QString path = Downloads::suggestedPath(offered);
    QCOMPARE(QFileInfo(path).fileName(), name);
    QVERIFY(!QFileInfo(path).absolutePath().contains(".."));
}

SKIMLARK_TEST_MAIN(tst_MakerSite)
#include "tst_makersite.moc"
