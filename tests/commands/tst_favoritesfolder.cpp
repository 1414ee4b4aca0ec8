#include "browser/shelluihelper.h"
#include "commands/favoritesfolder.h"
#include "support/testenv.h"
#include "support/testmain.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
void writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

QStringList names(const QString &folder)
{
    QStringList result;
    for (const favoritesfolder::Favorite &f : favoritesfolder::list(folder))
        result << f.name + " -> " + f.address;
    return result;
}
} // namespace

class tst_FavoritesFolder : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void listingOfAMissingAnEmptyAndAFilledFolder();
    void hostileNamesBecomeSafeFileNames_data();
    void hostileNamesBecomeSafeFileNames();
    void addWritesOnlyNewFilesInsideTheFolder();
    void commandsShowAndAddToTheFolder();
};

void tst_FavoritesFolder::listingOfAMissingAnEmptyAndAFilledFolder()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("Favorites");
    for (bool exists : {false, true}) {
        if (exists)
            QVERIFY(QDir().mkpath(folder));
        QVERIFY(favoritesfolder::list(folder).isEmpty());
        const QString html = favoritesfolder::listingHtml(favoritesfolder::list(folder));
        QVERIFY(html.contains("There are no favorites yet."));
        QVERIFY(!html.contains("<li>"));
    }

    writeFile(folder + "/beta.url", "[InternetShortcut]\r\nURL=http://beta.test/\r\n");
    writeFile(folder + "/Alpha.url", "[DEFAULT]\nURL=http://wrong.test/\n[InternetShortcut]\nurl = https://alpha.test/a?b=1&c=2\n");
    writeFile(folder + "/Tom & \"Jerry\" <b>.url", "[InternetShortcut]\nURL=http://cartoon.test/?q=<script>\n");
    writeFile(folder + "/trap.url", "[InternetShortcut]\nURL=javascript:alert(1)\n");
    writeFile(folder + "/no address.url", "[Other]\nURL=http://ignored.test\n");
    writeFile(folder + "/notes.txt", "[InternetShortcut]\nURL=http://not-a-favorite.test\n");
    QVERIFY(QDir().mkpath(folder + "/Sub folder.url"));
    QCOMPARE(names(folder),
             (QStringList{"Alpha -> https://alpha.test/a?b=1&c=2", "beta -> http://beta.test/",
                          "no address -> ", "Tom & \"Jerry\" <b> -> http://cartoon.test/?q=<script>",
                          "trap -> javascript:alert(1)"}));
    const QString html = favoritesfolder::listingHtml(favoritesfolder::list(folder));
    QVERIFY(html.contains("<a href=\"https://alpha.test/a?b=1&amp;c=2\">Alpha</a>"));
    QVERIFY(html.contains(">Tom &amp; &quot;Jerry&quot; &lt;b&gt;</a>"));
    QVERIFY(!html.contains("<script>") && !html.contains("<b>"));
    // An address that would run code is shown, not linked.
    QVERIFY(!html.contains("href=\"javascript", Qt::CaseInsensitive));
    QVERIFY(html.contains(">trap</span>") && html.contains(">no address</span>"));
    QVERIFY(!html.contains("There are no favorites yet."));
}

void tst_FavoritesFolder::hostileNamesBecomeSafeFileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("expected");
    QTest::newRow("climbing out") << "../../x" << "http://a.test/" << "x";
    QTest::newRow("separator") << "a/b" << "http://a.test/" << "a b";
    QTest::newRow("empty takes the host") << "" << "http://news.example.org/x" << "news.example.org";
    QTest::newRow("empty without host") << "" << "" << "Untitled";
    QTest::newRow("dots only") << ".." << "not an address" << "Untitled";
    QTest::newRow("control characters") << QString("a\tb\nc\x01" "d\x7f") << "" << "a b c d";
    QTest::newRow("reversed extension") << QString::fromUtf8("pic\u202Egnp.url") << "" << "picgnp.url";
    QTest::newRow("ordinary title") << "Weather: Today (Berlin)" << "" << "Weather Today (Berlin)";
}

void tst_FavoritesFolder::hostileNamesBecomeSafeFileNames()
{
    QFETCH(QString, name);
    QFETCH(QString, address);
    QFETCH(QString, expected);
    QCOMPARE(favoritesfolder::safeName(name, address), expected);
}

void tst_FavoritesFolder::addWritesOnlyNewFilesInsideTheFolder()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("Velmora/Skimlark/Favorites");
    const QStringList hostile = {"../../x", "a/b", "", QString(300, 'n'),
                                 QString(150, QChar(0xe9)), QString("\x01\x02\n"),
                                 QString(99, 'a') + QString::fromUtf8("\U0001F600") + QString(200, 'b'),
                                 "/etc/passwd"};
    for (const QString &name : hostile) {
        const QString path = favoritesfolder::add(folder, name, "http://a.test/");
        QVERIFY2(!path.isEmpty(), qPrintable(name));
        const QFileInfo info(path);
        QCOMPARE(info.absolutePath(), QDir(folder).absolutePath());
        QVERIFY(info.fileName().endsWith(".url"));
        QVERIFY(info.fileName().toUtf8().size() <= 255);
        QVERIFY(!info.fileName().contains(QChar::ReplacementCharacter));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("[InternetShortcut]\r\nURL=http://a.test/\r\n"));
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"Velmora"});
    QCOMPARE(favoritesfolder::list(folder).size(), hostile.size());

    // A name that exists is never overwritten.
    const QString news = dir.filePath("News");
    QCOMPARE(favoritesfolder::add(news, "News", "http://first.test/"), news + "/News.url");
    QCOMPARE(favoritesfolder::add(news, "News", "http://second.test/"), news + "/News (2).url");
    QCOMPARE(favoritesfolder::add(news, "News/", "http://third.test/"), news + "/News (3).url");
    QCOMPARE(names(news), (QStringList{"News -> http://first.test/", "News (2) -> http://second.test/",
                                       "News (3) -> http://third.test/"}));
    // Line breaks in the address cannot add lines to the file.
    QCOMPARE(favoritesfolder::shortcutContents("http://a.test/\r\n[Other]\nURL=http://b.test"),
             QByteArray("[InternetShortcut]\r\nURL=http://a.test/%0D%0A[Other]%0AURL=http://b.test\r\n"));
}

void tst_FavoritesFolder::commandsShowAndAddToTheFolder()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("Favorites");
    TestBrowser t;
    t.window->load();
    t.window->shellHelper()->setFavoritesFolder(folder);
    t.window->menuItem("mnuiefavorites")->trigger();
    QVERIFY(QFileInfo(folder).isDir());
    QCOMPARE(t.view->calls, QStringList{"showHtml:" + QUrl::fromLocalFile(folder + "/").toString()});
    QVERIFY(t.view->lastHtml.contains("There are no favorites yet."));

    // Adding offers the page's title and whatever the address bar holds, never surfed or empty.
    t.view->navigate("http://shown.test/");
    t.view->finishLoad("Shown page");
    t.dialogs.favoriteAnswers << std::nullopt << QString("Typed") << QString("Blank");
    for (const QString typed : {"http://cancelled.test/", "typed.test/page", ""}) {
        t.window->Combo1->setEditText(typed);
        t.window->menuItem("mnuaddtoiefavorites")->trigger();
        QCOMPARE(t.dialogs.favoriteRequests.takeFirst(), (QPair<QString, QString>{"Shown page", typed}));
    }
    QCOMPARE(names(folder), (QStringList{"Blank -> ", "Typed -> typed.test/page"}));
    QVERIFY(t.dialogs.messages.isEmpty());

    favoritesfolder::add(folder, "Skimlark", "http://www.velmora.example/");
    t.window->menuItem("mnuiefavorites")->trigger();
    QVERIFY(t.view->lastHtml.contains("<a href=\"http://www.velmora.example/\">Skimlark</a>"));
    // The address bar follows the page's events, not the command.
    QCOMPARE(t.window->Combo1->currentText(), QString());
}

SKIMLARK_TEST_MAIN(tst_FavoritesFolder)
#include "tst_favoritesfolder.moc"
