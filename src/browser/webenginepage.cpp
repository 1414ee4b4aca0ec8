#include "webenginepage.h"

#include "dialogs.h"

#include <QAuthenticator>
#include <QTimer>
#include <QWebEngineCertificateError>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineSettings>

WebEnginePage::WebEnginePage(QWebEngineProfile *profile, Dialogs *dialogs, QWidget *dialogParent,
                             QObject *parent)
    : QWebEnginePage(profile, parent), m_dialogs(dialogs), m_dialogParent(dialogParent)
{
    // Windows opened by script without a click are pop-ups: the engine blocks them.
    settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    connect(this, &QWebEnginePage::certificateError, this, &WebEnginePage::handleCertificateError);
    connect(this, &QWebEnginePage::authenticationRequired, this,
            &WebEnginePage::handleAuthentication);
    connect(this, &QWebEnginePage::proxyAuthenticationRequired, this,
            &WebEnginePage::handleProxyAuthentication);
    connect(this, &QWebEnginePage::newWindowRequested, this, &WebEnginePage::handleNewWindow);
    // No site gets camera, microphone, location or notifications unasked-for.
    connect(this, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl &origin, Feature feature) {
                setFeaturePermission(origin, feature, PermissionDeniedByUser);
            });
}

QString WebEnginePage::pageTitleFor(const QUrl &origin) const
{
    const QString host = origin.host();
    return host.isEmpty() ? tr("Skimlark") : tr("The page at %1 says").arg(host);
}

void WebEnginePage::javaScriptAlert(const QUrl &securityOrigin, const QString &msg)
{
    m_dialogs->message(m_dialogParent, msg, pageTitleFor(securityOrigin));
}

bool WebEnginePage::javaScriptConfirm(const QUrl &securityOrigin, const QString &msg)
{
    return m_dialogs->confirm(m_dialogParent, msg, pageTitleFor(securityOrigin));
}

bool WebEnginePage::javaScriptPrompt(const QUrl &securityOrigin, const QString &msg,
                                     const QString &defaultValue, QString *result)
{
    *result = m_dialogs->input(m_dialogParent, msg, pageTitleFor(securityOrigin), defaultValue);
    return true;
}

QStringList WebEnginePage::chooseFiles(FileSelectionMode, const QStringList &,
                                       const QStringList &)
{
    const QString file = m_dialogs->openFile(m_dialogParent, tr("All Files (*)"));
    return file.isEmpty() ? QStringList() : QStringList{file};
}

void WebEnginePage::handleCertificateError(const QWebEngineCertificateError &error)
{
    // The question is asked from the event loop, not inside the engine's call.
    QWebEngineCertificateError pending = error;
    pending.defer();
    QTimer::singleShot(0, this, [this, pending]() mutable {
        const QString host = pending.url().host();
        if (!pending.isOverridable()) {
            pending.rejectCertificate();
            m_dialogs->message(m_dialogParent,
                               tr("The certificate of %1 cannot be trusted: %2\n\n"
                                  "The page was not loaded.")
                                   .arg(host, pending.description()),
                               tr("Skimlark"));
            return;
        }
        const bool goOn = m_dialogs->confirm(
            m_dialogParent,
            tr("The certificate of %1 cannot be trusted: %2\n\n"
               "Someone may be posing as this site. Go on to %1 anyway?")
                .arg(host, pending.description()),
            tr("Skimlark"));
        if (goOn)
            pending.acceptCertificate();
        else
            pending.rejectCertificate();
    });
}

void WebEnginePage::handleAuthentication(const QUrl &url, QAuthenticator *authenticator)
{
    // The engine wants the answer before this call returns.
    const auto answer = m_dialogs->credentials(m_dialogParent, url.host(), authenticator->realm());
    if (!answer) {
        *authenticator = QAuthenticator();
        return;
    }
    authenticator->setUser(answer->user);
    authenticator->setPassword(answer->password);
}

void WebEnginePage::handleProxyAuthentication(const QUrl &, QAuthenticator *authenticator,
                                              const QString &proxyHost)
{
    const auto answer = m_dialogs->credentials(m_dialogParent, tr("the proxy %1").arg(proxyHost),
                                               authenticator->realm());
    if (!answer) {
        *authenticator = QAuthenticator();
        return;
    }
    authenticator->setUser(answer->user);
    authenticator->setPassword(answer->password);
}

void WebEnginePage::handleNewWindow(QWebEngineNewWindowRequest &request)
{
    const QUrl url = request.requestedUrl();
    if (!request.isUserInitiated()) {
        Q_EMIT popupBlocked(url);
        return;
    }
    if (url.isEmpty() || !url.isValid())
        return;
    // This browser has one page view: the new window's page opens here.
    QTimer::singleShot(0, this, [this, url] { setUrl(url); });
}
