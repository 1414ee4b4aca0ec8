#include "browser/downloads.h"
#include "browser/makersite.h"
#include "support/testmain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The engine flags that route the maker's site, hostile requests to it, and
// where downloads land. No engine needed.
class tst_MakerSite : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void routedFlags();
    void answers_data();
    void answers();
    void downloadPaths();
};

void tst_MakerSite::routedFlags()
{
    const QString map = "--host-resolver-rules=\"MAP www.velmora.example 127.0.0.1:4242\"";
    QCOMPARE(MakerSite::routedEngineFlags("", 4242), map);
    QCOMPARE(MakerSite::routedEngineFlags("--proxy-server=http://127.0.0.1:9", 4242),
             "--proxy-server=http://127.0.0.1:9 " + map + " --proxy-bypass-list=www.velmora.example");
    QCOMPARE(MakerSite::routedEngineFlags("--proxy-server=http://p:1 --proxy-bypass-list=<-loopback>", 4242),
             "--proxy-server=http://p:1 --proxy-bypass-list=<-loopback>;www.velmora.example " + map);
    QCOMPARE(MakerSite::routedEngineFlags("--host-resolver-rules=\"MAP a.test 127.0.0.1:1\"", 4242),
             QString("--host-resolver-rules=\"MAP a.test 127.0.0.1:1,MAP www.velmora.example 127.0.0.1:4242\""));
}

void tst_MakerSite::answers_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("contains");
    QTest::newRow("path case matters") << QByteArray("GET") << QByteArray("/Skimlark.htm") << 404
                                       << QByteArray("Page not found");
    QTest::newRow("climbing out") << QByteArray("GET") << QByteArray("/../etc/passwd") << 404
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

void tst_MakerSite::downloadPaths()
{
    QTemporaryDir dir;
    for (const QString &name : {"a.tar.gz", "a (2).tar.gz", "README"}) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QCOMPARE(Downloads::unusedPath(dir.filePath("b.zip")), dir.filePath("b.zip"));
    QCOMPARE(Downloads::unusedPath(dir.filePath("a.tar.gz")), dir.filePath("a (3).tar.gz"));
    QCOMPARE(Downloads::unusedPath(dir.filePath("README")), dir.filePath("README (2)"));

    // A name offered by the page never leads out of the downloads folder.
    const QList<QPair<QString, QString>> offered = {
        {"report.pdf", "report.pdf"}, {"../../.bashrc", ".bashrc"}, {"", "download"}, {"..", "download"}};
    for (const auto &[name, expected] : offered) {
        const QString path = Downloads::suggestedPath(name);
        QCOMPARE(QFileInfo(path).fileName(), expected);
        QVERIFY(!QFileInfo(path).absolutePath().contains(".."));
    }
}

SKIMLARK_TEST_MAIN(tst_MakerSite)
#include "tst_makersite.moc"
