#include "startup.h"

#include "appicon.h"
#include "browser/engineprofile.h"
#include "browser/frmbrowser.h"
#include "browser/qtdialogs.h"
#include "browser/webenginepageview.h"
#include "frmsplash.h"
#include "terminationsignals.h"
#include "settings/settingsstore.h"

#include <QApplication>
#include <QTimer>

namespace {
constexpr int SplashPasses = 7500;
}

int runSkimlark(QApplication &app)
{
    app.setWindowIcon(appicon::icon());
    SettingsStore settings;
    QtDialogs dialogs;

    auto *splash = new frmSplash;
    splash->setAttribute(Qt::WA_DeleteOnClose);

    // Starting the page engine now lets its start-up overlap the splash's wait.
    QWebEngineProfile *profile = engineprofile::createPersistent(&app);
    auto *view = new WebEnginePageView(profile, &dialogs);

    frmBrowser window(settings, dialogs, view);
    QObject::connect(&window, &frmBrowser::closing, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    frmSplash::runSequence(splash, SplashPasses, [&window] {
        window.load();
        window.show();
        // No window manager may be there to activate the window; ask for it,
        // and open the first page even if the activation never arrives.
        window.raise();
        window.activateWindow();
        QTimer::singleShot(0, &window, [&window] { window.ensureFirstActivation(); });
        terminationsignals::closeOnTermination(&window);
    });
    return app.exec();
}
