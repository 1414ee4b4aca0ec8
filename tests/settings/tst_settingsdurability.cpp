// The settings file against a program killed outright (SIGKILL): right after a
// write returned, and at random moments during a burst of writes. The writer
// is this same executable, started again with SKIMLARK_SETTINGS_WRITER set.
#include "settings/settingsstore.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>

#include <csignal>
#include <unistd.h>

namespace {

const QString App = QStringLiteral("Skimlark");
const char *const WriterMode = "SKIMLARK_SETTINGS_WRITER";

// What the user had stored before the killed program ran; none of it may be lost.
const QList<QPair<QString, QString>> Earlier = {
    {"Home/Engine", "altavista"},
    {"Home/Address", "http://home.test/"},
    {"Home/Address3", "  favourite with blanks  "},
    {"Home/Searchboxfontcolor", "255"},
    {"cbocount/count", "0"},
};

QString burstValue(int index)
{
    return QStringLiteral("http://burst.test/%1?%2").arg(index).arg(QString(index % 7, QChar('x')));
}

// The writer side. "single": one write, then SIGKILL the moment it returns.
// "burst": write forever, reporting each finished write on stdout unbuffered.
int runWriter(const QByteArray &mode)
{
    SettingsStore store(qEnvironmentVariable("SKIMLARK_WRITER_ROOT"));
    if (mode == "single") {
        if (!store.write(App, qEnvironmentVariable("SKIMLARK_WRITER_SECTION"),
                         qEnvironmentVariable("SKIMLARK_WRITER_KEY"),
                         qEnvironmentVariable("SKIMLARK_WRITER_VALUE")))
            return 3;
        raise(SIGKILL);
        return 4;
    }
    for (int i = 1;; ++i) {
        if (!store.write(App, QStringLiteral("MRURL"), QStringLiteral("0"), burstValue(i)))
            return 3;
        const QByteArray line = QByteArray::number(i) + '\n';
        if (::write(STDOUT_FILENO, line.constData(), size_t(line.size())) != line.size())
            return 5;
    }
}

void seedEarlierValues(const QString &root)
{
    SettingsStore store(root);
    for (const auto &[path, value] : Earlier) {
        const QStringList parts = path.split('/');
        QVERIFY(store.write(App, parts[0], parts[1], value));
    }
    QVERIFY(store.write(App, "MRURL", "0", burstValue(0)));
}

// The file as a fresh parse sees it: QSettings keeps files it has parsed in a
// per-process cache, which must not stand in for what is on disk.
struct Parsed
{
    QSettings::Status status = QSettings::AccessError;
    QHash<QString, QString> values;
};

Parsed parseFresh(const QString &root)
{
    Parsed parsed;
    QFile file(SettingsStore(root).filePath(App));
    QTemporaryFile copy;
    if (!file.open(QIODevice::ReadOnly) || !copy.open())
        return parsed;
    copy.write(file.readAll());
    copy.flush();
    QSettings settings(copy.fileName(), QSettings::IniFormat);
    for (const QString &key : settings.allKeys())
        parsed.values.insert(key, settings.value(key).toString());
    parsed.status = settings.status();
    return parsed;
}

// The file parses as a whole and every earlier value is still there, except
// the one the killed program was changing.
void verifyFileIntact(const QString &root, const QString &changing = QString())
{
    const Parsed parsed = parseFresh(root);
    QCOMPARE(parsed.status, QSettings::NoError);
    QVERIFY2(!parsed.values.isEmpty(), "the settings file is empty or gone");
    for (const auto &[path, value] : Earlier) {
        if (path != changing)
            QCOMPARE(parsed.values.value(path, "<lost>"), value);
    }
    QVERIFY2(!QFile::exists(SettingsStore(root).filePath(App) + ".damaged"),
             "the store judged the file damaged and moved it aside");
}

QProcessEnvironment writerEnvironment(const QString &root, const QByteArray &mode)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(WriterMode), QString::fromLatin1(mode));
    env.insert("SKIMLARK_WRITER_ROOT", root);
    return env;
}

} // namespace

class tst_SettingsDurability : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void changeSurvivesKillRightAfterWrite_data();
    void changeSurvivesKillRightAfterWrite();
    void killDuringBurstKeepsOldOrNewValue();
};

void tst_SettingsDurability::changeSurvivesKillRightAfterWrite_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("values");
    QTest::newRow("engine choice") << "Home" << "Engine" << QStringList{"yahoo"};
    QTest::newRow("home page replaced") << "Home" << "Address" << QStringList{"http://new.test/"};
    QTest::newRow("favorite slot, three kills in a row")
        << "Home" << "Address10" << QStringList{"http://a.test/", "http://b.test/", "c"};
    QTest::newRow("surfed address, empty") << "MRURL" << "0" << QStringList{QString()};
    QTest::newRow("surfed address, long")
        << "MRURL" << "0" << QStringList{"http://long.test/" + QString(10000, QChar('q'))};
    QTest::newRow("surfed address, newline and quotes")
        << "MRURL" << "0" << QStringList{"a\nb=\"c\"; [d]"};
    QTest::newRow("surfed address, non-ASCII")
        << "MRURL" << "0" << QStringList{QString::fromUtf8("http://例え.テスト/?q=naïve 🚀")};
}

void tst_SettingsDurability::changeSurvivesKillRightAfterWrite()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QStringList, values);
    QTemporaryDir dir;
    seedEarlierValues(dir.path());
    if (QTest::currentTestFailed())
        return;

    for (const QString &value : values) {
        QProcess writer;
        QProcessEnvironment env = writerEnvironment(dir.path(), "single");
        env.insert("SKIMLARK_WRITER_SECTION", section);
        env.insert("SKIMLARK_WRITER_KEY", key);
        env.insert("SKIMLARK_WRITER_VALUE", value);
        writer.setProcessEnvironment(env);
        writer.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(writer.waitForStarted());
        QVERIFY(writer.waitForFinished(30000));
        QCOMPARE(writer.exitStatus(), QProcess::CrashExit); // killed, not a failed write

        const Parsed parsed = parseFresh(dir.path());
        QCOMPARE(parsed.status, QSettings::NoError);
        QCOMPARE(parsed.values.value(section + '/' + key, "<missing>"), value);
        if (section != "MRURL")
            QCOMPARE(parsed.values.value("MRURL/0", "<missing>"), burstValue(0));
    }
    verifyFileIntact(dir.path(), section + '/' + key);
    if (QTest::currentTestFailed())
        return;
    // The lock a killed writer leaves behind must not block the next start.
    SettingsStore store(dir.path());
    QVERIFY(store.write(App, "Home", "Address2", "after the kill"));
    QCOMPARE(store.read(App, "Home", "Address2", QString()), QString("after the kill"));
}

void tst_SettingsDurability::killDuringBurstKeepsOldOrNewValue()
{
    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("random seed %u", seed);
    QRandomGenerator random(seed);

    for (int round = 0; round < 12; ++round) {
        QTemporaryDir dir;
        seedEarlierValues(dir.path());
        if (QTest::currentTestFailed())
            return;

        // Kill after a random number of finished writes (0: as soon as it starts).
        const int killAfter = random.bounded(0, 40);
        QProcess writer;
        writer.setProcessEnvironment(writerEnvironment(dir.path(), "burst"));
        QByteArray reported;
        int finishedWrites = 0;
        connect(&writer, &QProcess::readyReadStandardOutput, &writer, [&] {
            reported += writer.readAllStandardOutput();
            finishedWrites = reported.count('\n');
            if (finishedWrites >= killAfter)
                writer.kill();
        });
        if (killAfter == 0)
            connect(&writer, &QProcess::started, &writer, &QProcess::kill);
        QSignalSpy finished(&writer, &QProcess::finished);
        writer.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(finished.wait(30000));
        QCOMPARE(writer.exitStatus(), QProcess::CrashExit);
        reported += writer.readAllStandardOutput();

        // The last write reported finished, or the one after it that was under way.
        const QList<QByteArray> lines = reported.split('\n');
        int last = 0;
        for (const QByteArray &line : lines) {
            if (!line.isEmpty())
                last = line.toInt();
        }
        const QString value = parseFresh(dir.path()).values.value("MRURL/0", "<missing>");
        QVERIFY2(value == burstValue(last) || value == burstValue(last + 1),
                 qPrintable(QStringLiteral("round %1, killed after %2 writes: holds \"%3\"")
                                .arg(round).arg(last).arg(value.left(60))));
        verifyFileIntact(dir.path(), "MRURL/0");
        if (QTest::currentTestFailed())
            return;
        SettingsStore store(dir.path());
        QVERIFY(store.write(App, "MRURL", "0", "next start"));
        QCOMPARE(store.read(App, "MRURL", "0", QString()), QString("next start"));
    }
}

int main(int argc, char *argv[])
{
    const QByteArray mode = qgetenv(WriterMode);
    if (!mode.isEmpty())
        return runWriter(mode);
    QCoreApplication app(argc, argv);
    tst_SettingsDurability test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settingsdurability.moc"
