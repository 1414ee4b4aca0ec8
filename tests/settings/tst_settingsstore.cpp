#include "settings/settingsstore.h"

#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class tst_SettingsStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void missingKeyGivesCallersDefaultAndWritesNothing();
    void storedEmptyStringIsAValue();
    void hostileValuesRoundTrip_data();
    void hostileValuesRoundTrip();
    void laterWriteReplacesEarlier();
    void writeReachesDiskBeforeReturning();
    void damagedFileGivesDefaults_data();
    void damagedFileGivesDefaults();
    void folderWhereFileShouldBeFailsWriteAndReports();
    void unwritableLocationFailsWriteAndReports();
};

void tst_SettingsStore::missingKeyGivesCallersDefaultAndWritesNothing()
{
    QTemporaryDir dir;
    SettingsStore store(dir.path());
    QCOMPARE(store.read("Skimlark", "Home", "Engine", "google"), QString("google"));
    QCOMPARE(store.read("Skimlark", "Home", "Engine", "other"), QString("other"));
    QVERIFY(!QFile::exists(store.filePath("Skimlark")));
}

void tst_SettingsStore::storedEmptyStringIsAValue()
{
    QTemporaryDir dir;
    SettingsStore store(dir.path());
    QVERIFY(store.write("Skimlark", "Home", "Engine", QString()));
    QCOMPARE(store.read("Skimlark", "Home", "Engine", "google"), QString());
}

void tst_SettingsStore::hostileValuesRoundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("blanks") << QString("  lead and trail  ");
    QTest::newRow("equals") << QString("a=b=c");
    QTest::newRow("semicolon") << QString("a;b");
    QTest::newRow("hash") << QString("#not a comment");
    QTest::newRow("section") << QString("[x]");
    QTest::newRow("quotes") << QString("\"quoted\" and 'single'");
    QTest::newRow("backslashes") << QString("C:\\dir\\file\\");
    QTest::newRow("newlines") << QString("line1\nline2\r\nline3");
    QTest::newRow("tabs") << QString("a\tb");
    QTest::newRow("non-ascii") << QString::fromUtf8("naïve café — 日本語 🚀");
    QTest::newRow("comma list") << QString("a, b, c");
    QTest::newRow("at variant") << QString("@Variant(\\0\\0\\0\\x7f)");
    QTest::newRow("long") << QString(10000, QChar('x'));
    QTest::newRow("query") << QString("http://h/?a=1&b=2#frag");
}

void tst_SettingsStore::hostileValuesRoundTrip()
{
    QFETCH(QString, value);
    QTemporaryDir dir;
    {
        SettingsStore store(dir.path());
        QVERIFY(store.write("Skimlark", "Home", "Address", value));
    }
    SettingsStore reopened(dir.path());
    QCOMPARE(reopened.read("Skimlark", "Home", "Address", "default"), value);
}

void tst_SettingsStore::laterWriteReplacesEarlier()
{
    QTemporaryDir dir;
    SettingsStore store(dir.path());
    store.write("Skimlark", "MRURL", "0", "http://a/");
    store.write("Skimlark", "MRURL", "0", "http://b/");
    QCOMPARE(store.read("Skimlark", "MRURL", "0", ""), QString("http://b/"));
}

void tst_SettingsStore::writeReachesDiskBeforeReturning()
{
    QTemporaryDir dir;
    SettingsStore store(dir.path());
    store.write("Skimlark", "Home", "Address", "http://kept/");
    // Another reader of the file, as the next run would be, sees it at once.
    QSettings raw(store.filePath("Skimlark"), QSettings::IniFormat);
    QCOMPARE(raw.value("Home/Address").toString(), QString("http://kept/"));
}

void tst_SettingsStore::damagedFileGivesDefaults_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("binary noise") << QByteArray("\x01\xff\xfe[[[=\x02\n\x00\x7f", 12);
    QTest::newRow("broken section") << QByteArray("[Home\nEngine\n=\n[");
    QTest::newRow("empty") << QByteArray();
}

void tst_SettingsStore::damagedFileGivesDefaults()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    SettingsStore store(dir.path());
    QDir().mkpath(dir.path() + "/Velmora");
    QFile file(store.filePath("Skimlark"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    QCOMPARE(store.read("Skimlark", "Home", "Engine", "google"), QString("google"));
    // The store stays usable: a change is kept.
    QVERIFY(store.write("Skimlark", "Home", "Engine", "yahoo"));
    QCOMPARE(store.read("Skimlark", "Home", "Engine", "google"), QString("yahoo"));
}

void tst_SettingsStore::folderWhereFileShouldBeFailsWriteAndReports()
{
    QTemporaryDir dir;
    SettingsStore store(dir.path());
    QVERIFY(QDir().mkpath(store.filePath("Skimlark")));
    QSignalSpy failed(&store, &SettingsStore::writeFailed);
    QCOMPARE(store.read("Skimlark", "Home", "Engine", "google"), QString("google"));
    QVERIFY(!store.isWritable("Skimlark"));
    QVERIFY(!store.write("Skimlark", "Home", "Engine", "yahoo"));
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.at(0).at(0).toString(), store.filePath("Skimlark"));
}

void tst_SettingsStore::unwritableLocationFailsWriteAndReports()
{
    // A file where the store's folder should be: no user, root included, can write there.
    QTemporaryDir dir;
    QFile blocker(dir.path() + "/Velmora");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SettingsStore store(dir.path());
    QSignalSpy failed(&store, &SettingsStore::writeFailed);
    QVERIFY(!store.isWritable("Skimlark"));
    QVERIFY(!store.write("Skimlark", "Home", "Address", "x"));
    QCOMPARE(failed.count(), 1);
    QCOMPARE(store.read("Skimlark", "Home", "Address", "default"), QString("default"));
}

QTEST_GUILESS_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"
