// Start-up over a settings store that is damaged or cannot be written: the
// program starts with the defaults, says once that settings cannot be saved
// (only when they cannot), and keeps what was there.
#include "browser/frmbrowser.h"
#include "browser/makeraddresses.h"
#include "settings/settingsstore.h"
#include "support/fakedialogs.h"
#include "support/fakepageview.h"
#include "support/testmain.h"
#include "support/testserver.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

enum class Damage { GarbageBytes, GarbageText, HugeLine, FolderAsFile, VelmoraIsAFile };

QByteArray noise(int size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &c : bytes)
        c = char(random.bounded(0, 256));
    return bytes;
}

// Damages the store under root; returns the bytes left where the user had them.
QByteArray damage(const QString &root, Damage kind)
{
    const QString folder = root + "/Velmora";
    const QString file = folder + "/Skimlark.conf";
    QByteArray content;
    switch (kind) {
    case Damage::GarbageBytes:
        content = noise(64 * 1024, 7);
        break;
    case Damage::GarbageText:
        content = "[Home\nEngine\n=\n[[[]]]\n\\\\\\\n\"unterminated\n@Variant(\\0\\0\\0\n%%%%\n";
        break;
    case Damage::HugeLine:
        content = QByteArray(4 * 1024 * 1024, '[');
        break;
    case Damage::FolderAsFile:
        QDir().mkpath(file);
        return content;
    case Damage::VelmoraIsAFile:
        content = "not a folder";
        QFile velmora(folder);
        velmora.open(QIODevice::WriteOnly);
        velmora.write(content);
        return content;
    }
    QDir().mkpath(folder);
    QFile out(file);
    out.open(QIODevice::WriteOnly);
    out.write(content);
    return content;
}

QByteArray contentAt(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

class tst_DamagedStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void startsWithDefaults_data();
    void startsWithDefaults();
    void realProgramRunsOverGarbage();
};

void tst_DamagedStore::startsWithDefaults_data()
{
    QTest::addColumn<Damage>("kind");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("keptAt"); // where the damaged content must stay, relative to root
    QTest::newRow("binary garbage") << Damage::GarbageBytes << true << "Velmora/Skimlark.conf";
    QTest::newRow("broken INI text") << Damage::GarbageText << true << "Velmora/Skimlark.conf";
    QTest::newRow("one 4 MB line") << Damage::HugeLine << true << "Velmora/Skimlark.conf";
    QTest::newRow("folder where the file should be") << Damage::FolderAsFile << false << "";
    QTest::newRow("file where the Velmora folder should be")
        << Damage::VelmoraIsAFile << false << "Velmora";
}

void tst_DamagedStore::startsWithDefaults()
{
    QFETCH(Damage, kind);
    QFETCH(bool, writable);
    QFETCH(QString, keptAt);
    QTemporaryDir root;
    const QByteArray original = damage(root.path(), kind);
    bool unparseable = false;
    if (writable) {
        QSettings probe(root.filePath(keptAt), QSettings::IniFormat);
        probe.allKeys();
        unparseable = probe.status() == QSettings::FormatError;
    }

    SettingsStore settings(root.path());
    FakeDialogs dialogs;
    auto *view = new FakePageView;
    frmBrowser window(settings, dialogs, view);
    window.load();
    QCoreApplication::processEvents();

    // The defaults of a first run.
    QVERIFY(window.menuItem("mnugoogle")->isChecked());
    QVERIFY(!window.menuItem("mnuyahoo")->isChecked());
    for (int n = 1; n <= 10; ++n)
        QCOMPARE(window.favoriteButton(n)->toolTip(),
                 QString("Click here to add current website to favorite #%1").arg(n));
    QCOMPARE(window.TabStrip1->count(), 10);
    QCOMPARE(window.TabStrip1->tag(0), maker::ReferralAddress);
    QCOMPARE(window.Combo1->count(), 1);
    QCOMPARE(window.Combo1->itemText(0), QString());
    QCOMPARE(window.Command1->toolTip(), QString());

    // Changes made now: an engine, a home page, a surf, a favorite.
    window.menuItem("mnuyahoo")->trigger();
    dialogs.inputAnswers = {"http://home.test/"};
    window.menuItem("mnusetmypage")->trigger();
    window.Combo1->setEditText("http://surfed.test/");
    window.Command2->click();
    dialogs.inputAnswers = {"http://fav.test/"};
    window.menuItem("mnu4")->trigger();
    QCoreApplication::processEvents();

    if (writable) {
        // The store mends itself: the changes stick and nothing is said.
        QCOMPARE(dialogs.messages.size(), 0);
        QVERIFY(settings.write("Skimlark", "Home", "Address7", "kept"));
        QCOMPARE(settings.read("Skimlark", "Home", "Address7", QString()), QString("kept"));
        // A file the store cannot parse is kept aside, not thrown away.
        if (unparseable)
            QCOMPARE(contentAt(root.filePath(keptAt) + ".damaged"), original);
        QSettings file(root.filePath(keptAt), QSettings::IniFormat);
        file.allKeys();
        QCOMPARE(file.status(), QSettings::NoError);
    } else {
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY2(dialogs.messages.first().text.contains("cannot be saved"),
                 qPrintable(dialogs.messages.first().text));
        QVERIFY(!settings.write("Skimlark", "Home", "Address7", "lost"));
        QCoreApplication::processEvents();
        QCOMPARE(dialogs.messages.size(), 1);
        if (!keptAt.isEmpty())
            QCOMPARE(contentAt(root.filePath(keptAt)), original);
    }
}

void tst_DamagedStore::realProgramRunsOverGarbage()
{
    const QString binary = qEnvironmentVariable("SKIMLARK_BINARY");
    if (binary.isEmpty())
        QSKIP("SKIMLARK_BINARY is not set");
    {
        // The first page comes from the tab strip, which is merged separately.
        QTemporaryDir probeRoot;
        SettingsStore settings(probeRoot.path());
        FakeDialogs dialogs;
        auto *view = new FakePageView;
        frmBrowser window(settings, dialogs, view);
        window.load();
        window.TabStrip1->select(0);
        if (view->navigations.isEmpty())
            QSKIP("the tab strip does not navigate in this build");
    }
    TestServer server;
    QVERIFY(server.start());
    QTemporaryDir root;
    const QString config = root.filePath("config");
    const QByteArray original = damage(config, Damage::GarbageBytes);
    const QString file = config + "/Velmora/Skimlark.conf";

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QTWEBENGINE_DISABLE_SANDBOX", "1");
    env.insert("XDG_CONFIG_HOME", config);
    env.insert("XDG_DATA_HOME", root.filePath("data"));
    env.insert("XDG_CACHE_HOME", root.filePath("cache"));
    // Everything goes to the loopback server, the maker's own host included.
    env.insert("QTWEBENGINE_CHROMIUM_FLAGS",
               env.value("QTWEBENGINE_CHROMIUM_FLAGS") + " " + server.proxyFlag()
                   + " --proxy-bypass-list=<-loopback>"
                   + QStringLiteral(" --host-resolver-rules=\"MAP %1 127.0.0.1:%2\"")
                         .arg(maker::Host).arg(server.port()));
    QProcess program;
    // Whatever fails below, the program does not outlive the test.
    const auto stop = qScopeGuard([&program] {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(5000);
        }
    });
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(binary, {});
    QVERIFY(program.waitForStarted());

    // The first page is the default home page: the garbage gave no other.
    const auto homeRequested = [&server] {
        for (const QByteArray &target : server.targets()) {
            if (target.contains("/affiliates/"))
                return true;
        }
        return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(homeRequested() || program.state() == QProcess::NotRunning, 90000);
    QCOMPARE(program.state(), QProcess::Running);
    QVERIFY(homeRequested());

    program.terminate();
    if (!program.waitForFinished(20000)) {
        program.kill();
        program.waitForFinished(5000);
    }
    // Starting and closing wrote nothing: the user's file is as it was.
    QCOMPARE(contentAt(file), original);
}

SKIMLARK_TEST_MAIN(tst_DamagedStore)
#include "tst_damagedstore.moc"
