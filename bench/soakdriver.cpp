// Drives the real main window over the real page engine through N navigations
// among local pages: a third straight through the page view, a third through
// the Search command and a third through the Surf command. Every request must
// go to a loopback proxy given in QTWEBENGINE_CHROMIUM_FLAGS. Prints one JSON
// object: memory after the first 100 navigations and after the run, failures,
// and the length of the visited-address list.
#include "browser/engineprofile.h"
#include "browser/frmbrowser.h"
#include "browser/webenginepageview.h"
#include "settings/settingsstore.h"
#include "support/fakedialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <cstdio>
#include <unistd.h>

namespace {

// A figure of /proc/PID/smaps_rollup in kB, summed over the fields named.
qint64 rollupKb(qint64 pid, const QList<QByteArray> &fields)
{
    QFile file(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    qint64 total = 0;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const int colon = line.indexOf(':');
        if (colon > 0 && fields.contains(line.left(colon)))
            total += line.mid(colon + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return total;
}

qint64 pssKb(qint64 pid)
{
    return rollupKb(pid, {"Pss"});
}

// The pages only this process maps: unlike PSS, it does not fall when other
// programs on the machine map the same libraries.
qint64 ussKb(qint64 pid)
{
    return rollupKb(pid, {"Private_Clean", "Private_Dirty"});
}

qint64 parentOf(const QString &pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray stat = file.readAll();
    // The command name may hold blanks and brackets; fields resume after the last ')'.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    return fields.value(1).toLongLong();
}

// The PSS of this process and every process below it (the engine's helpers).
qint64 treePssKb()
{
    QHash<qint64, QList<qint64>> children;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (numeric)
            children[parentOf(entry)].append(pid);
    }
    qint64 total = 0;
    QList<qint64> pending{getpid()};
    while (!pending.isEmpty()) {
        const qint64 pid = pending.takeLast();
        total += pssKb(pid);
        pending += children.value(pid);
    }
    return total;
}

void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains("--proxy-server=http://127.0.0.1:")) {
        std::fprintf(stderr, "soakdriver: QTWEBENGINE_CHROMIUM_FLAGS must route every request "
                             "to a loopback proxy (--proxy-server=http://127.0.0.1:PORT)\n");
        return 2;
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Skimlark"));
    QApplication::setOrganizationName(QStringLiteral("Velmora"));
    const int total = argc > 1 ? std::max(100, atoi(argv[1])) : 1000;

    QTemporaryDir configDir;
    SettingsStore settings(configDir.path());
    settings.write(QStringLiteral("Skimlark"), QStringLiteral("Home"), QStringLiteral("Address"),
                   QStringLiteral("http://soak.test/home"));
    FakeDialogs dialogs;
    QWebEngineProfile *profile = engineprofile::createPersistent(&app);
    auto *view = new WebEnginePageView(profile, &dialogs);
    int crashes = 0;
    QObject::connect(view->engineView()->page(), &QWebEnginePage::renderProcessTerminated,
                     [&crashes](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                         if (status != QWebEnginePage::NormalTerminationStatus)
                             ++crashes;
                     });

    auto window = std::make_unique<frmBrowser>(settings, dialogs, view);
    window->load();
    window->show();

    int completed = 0;
    QObject::connect(view, &PageView::downloadComplete, [&completed] { ++completed; });
    // Waits for the load a command started; false when none completed in time.
    const auto waitForLoad = [&](int before) {
        QEventLoop loop;
        QTimer timeout;
        timeout.setSingleShot(true);
        QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
        const QMetaObject::Connection done =
            QObject::connect(view, &PageView::downloadComplete, &loop, &QEventLoop::quit);
        timeout.start(15000);
        if (completed == before)
            loop.exec();
        QObject::disconnect(done);
        return completed > before;
    };

    window->ensureFirstActivation();
    waitForLoad(0);

    enum Kind { Direct, Search, Surf };
    const char *const kindNames[] = {"direct", "search", "surf"};
    int failed[3] = {0, 0, 0};
    int issued[3] = {0, 0, 0};
    bool givenUp[3] = {false, false, false};
    int consecutiveFailures[3] = {0, 0, 0};
    int surfs = 0;
    qint64 pssAfter100 = 0;
    qint64 ussAfter100 = 0;
    qint64 treeAfter100 = 0;

    for (int i = 0; i < total; ++i) {
        Kind kind = Kind(i % 3);
        // A command that never starts a load (not wired yet) is replaced by a
        // direct navigation, and reported.
        if (givenUp[kind])
            kind = Direct;
        const int before = completed;
        switch (kind) {
        case Direct:
            view->navigate(QStringLiteral("http://soak.test/page/%1").arg(i));
            break;
        case Search:
            window->Text1->setText(QStringLiteral("soak words %1").arg(i));
            window->Command1->click();
            break;
        case Surf:
            window->Combo1->setEditText(QStringLiteral("http://soak.test/surf/%1").arg(i));
            window->Command2->click();
            ++surfs;
            break;
        }
        ++issued[kind];
        if (waitForLoad(before)) {
            consecutiveFailures[kind] = 0;
        } else {
            ++failed[kind];
            if (++consecutiveFailures[kind] >= 3 && kind != Direct)
                givenUp[kind] = true;
        }
        if (i + 1 == 100) {
            settle(1000);
            pssAfter100 = pssKb(getpid());
            ussAfter100 = ussKb(getpid());
            treeAfter100 = treePssKb();
        }
    }
    settle(1000);
    const qint64 pssAfterRun = pssKb(getpid());
    const qint64 ussAfterRun = ussKb(getpid());
    const qint64 treeAfterRun = treePssKb();

    QJsonObject result;
    result.insert(QStringLiteral("navigations"), total);
    QJsonObject byKind;
    for (int k = 0; k < 3; ++k) {
        byKind.insert(QLatin1String(kindNames[k]),
                      QJsonObject{{QStringLiteral("issued"), issued[k]},
                                  {QStringLiteral("failed"), failed[k]},
                                  {QStringLiteral("not_wired"), givenUp[k]}});
    }
    result.insert(QStringLiteral("by_kind"), byKind);
    result.insert(QStringLiteral("render_crashes"), crashes);
    result.insert(QStringLiteral("pss_after_100_kb"), pssAfter100);
    result.insert(QStringLiteral("pss_after_run_kb"), pssAfterRun);
    result.insert(QStringLiteral("uss_after_100_kb"), ussAfter100);
    result.insert(QStringLiteral("uss_after_run_kb"), ussAfterRun);
    result.insert(QStringLiteral("tree_pss_after_100_kb"), treeAfter100);
    result.insert(QStringLiteral("tree_pss_after_run_kb"), treeAfterRun);
    result.insert(QStringLiteral("surfs"), surfs);
    // One start-up entry plus one per surf.
    result.insert(QStringLiteral("list_entries"), window->Combo1->count());
    std::printf("%s\n", QJsonDocument(result).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);

    window.reset();
    return 0;
}
