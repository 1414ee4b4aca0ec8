// The floor for any browser on this engine: one application, one view, one
// page, nothing else. The profile is made the way the browser makes its own
// (persistent, named, under $XDG_DATA_HOME/Velmora/Skimlark) so that the two
// pay the same storage costs.
#include <QApplication>
#include <QDir>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <chrono>
#include <cstdio>

static double monotonicMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: bareshell URL\n");
        return 2;
    }

    QString dataRoot = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataRoot.isEmpty() || !QDir::isAbsolutePath(dataRoot))
        dataRoot = QDir::homePath() + QStringLiteral("/.local/share");
    const QString folder = dataRoot + QStringLiteral("/Velmora/Skimlark");
    QWebEngineProfile profile(QStringLiteral("Skimlark"));
    profile.setPersistentStoragePath(folder + QStringLiteral("/profile"));
    profile.setCachePath(folder + QStringLiteral("/cache"));
    profile.setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);

    QWebEngineView view;
    view.setPage(new QWebEnginePage(&profile, &view));
    QObject::connect(view.page(), &QWebEnginePage::loadFinished, [](bool ok) {
        std::printf("loadFinished %s %.3f\n", ok ? "ok" : "failed", monotonicMs());
        std::fflush(stdout);
    });
    // The size of the browser's own window, so both paint the same area.
    view.resize(1144, 527);
    view.setUrl(QUrl::fromUserInput(args.at(1)));
    view.show();
    const int status = app.exec();
    // The page must go before its profile.
    delete view.page();
    return status;
}
