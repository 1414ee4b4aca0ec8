#include "engineprofile.h"

#include "makersite.h"

#include <QDir>
#include <QStandardPaths>
#include <QWebEngineProfile>

namespace engineprofile {

QWebEngineProfile *createPersistent(QObject *parent)
{
    QString dataRoot = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataRoot.isEmpty() || !QDir::isAbsolutePath(dataRoot))
        dataRoot = QDir::homePath() + QStringLiteral("/.local/share");
    // The engine starts with its first profile, and reads its flags then.
    MakerSite::startForEngine(parent);
    const QString folder = dataRoot + QStringLiteral("/Velmora/Skimlark");
    auto *profile = new QWebEngineProfile(QStringLiteral("Skimlark"), parent);
    profile->setPersistentStoragePath(folder + QStringLiteral("/profile"));
    profile->setCachePath(folder + QStringLiteral("/cache"));
    profile->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
    return profile;
}

} // namespace engineprofile
