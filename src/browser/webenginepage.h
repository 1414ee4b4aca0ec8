#pragma once

#include <QPointer>
#include <QWebEnginePage>

class Dialogs;
#include <QWidget>

// The engine's page, with every question it may ask the user sent through
// our dialogs: JavaScript dialogs, sign-in, certificate errors, file choice.
// It also keeps the one-view rule: a new window opens in this page.
class WebEnginePage : public QWebEnginePage
{
    Q_OBJECT
public:
    WebEnginePage(QWebEngineProfile *profile, Dialogs *dialogs, QWidget *dialogParent,
                  QObject *parent = nullptr);

Q_SIGNALS:
    // A window a page tried to open without the user asking for it.
    void popupBlocked(const QUrl &url);

protected:
    void javaScriptAlert(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptConfirm(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptPrompt(const QUrl &securityOrigin, const QString &msg,
                          const QString &defaultValue, QString *result) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList &oldFiles,
                            const QStringList &acceptedMimeTypes) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString &, int,
                                  const QString &) override {}

private:
    void handleCertificateError(const QWebEngineCertificateError &error);
    void handleAuthentication(const QUrl &url, QAuthenticator *authenticator);
    void handleProxyAuthentication(const QUrl &url, QAuthenticator *authenticator,
                                   const QString &proxyHost);
    void handleNewWindow(QWebEngineNewWindowRequest &request);
    QString pageTitleFor(const QUrl &origin) const;

    Dialogs *m_dialogs;
    QPointer<QWidget> m_dialogParent;
};
