#include "webenginepageview.h"

#include "downloads.h"
#include "makersite.h"
#include "pagejobs.h"
#include "webenginepage.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineCookieStore>
#include <QWebEngineHistory>
#include <QWebEngineSettings>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace {
// The command numbers the page view's command-state event carries.
constexpr int CommandUpdateCommands = -1;
constexpr int CommandNavigateForward = 1;
constexpr int CommandNavigateBack = 2;
constexpr qreal ZoomStep = 0.1;
}

WebEnginePageView::WebEnginePageView(QWebEngineProfile *profile, Dialogs *dialogs, QWidget *parent)
    : PageView(parent), m_view(new QWebEngineView(this))
{
    auto *page = new WebEnginePage(profile, dialogs, this, m_view);
    m_view->setPage(page);
    m_jobs = new PageJobs(m_view, dialogs, this);
    m_downloads = new Downloads(page, dialogs, this, this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);
    setAccessibleName(tr("Web page"));
    wireEngineEvents();
    wireEngineServices();
}

void WebEnginePageView::wireEngineServices()
{
    auto *page = static_cast<WebEnginePage *>(m_view->page());
    connect(m_downloads, &Downloads::statusText, this, &PageView::statusTextChanged);
    connect(page, &WebEnginePage::popupBlocked, this, [this](const QUrl &url) {
        Q_EMIT statusTextChanged(tr("Pop-up blocked: %1").arg(url.toDisplayString()));
    });
    connect(page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                if (status == QWebEnginePage::NormalTerminationStatus)
                    return;
                const QUrl address = m_view->url();
                // Not from inside the engine's call: it is still tearing the page down.
                QTimer::singleShot(0, this, [this, address, status] {
                    m_crashedAddress = address;
                    m_view->setHtml(crashPageHtml(address.toDisplayString(), status), address);
                });
            });
}

QString WebEnginePageView::crashPageHtml(const QString &address, int status)
{
    QString reason;
    switch (status) {
    case QWebEnginePage::KilledTerminationStatus:
        reason = tr("was stopped from outside Skimlark");
        break;
    case QWebEnginePage::CrashedTerminationStatus:
        reason = tr("crashed");
        break;
    default:
        reason = tr("ended unexpectedly");
        break;
    }
    QString html = QString::fromUtf8(MakerSite::resourcePage(QStringLiteral("crashed.html")));
    html.replace(QLatin1String("{{ADDRESS}}"), address.toHtmlEscaped());
    html.replace(QLatin1String("{{REASON}}"), reason);
    return html;
}

void WebEnginePageView::wireEngineEvents()
{
    QWebEnginePage *page = m_view->page();
    connect(page, &QWebEnginePage::loadStarted, this, &PageView::downloadBegun);
    connect(page, &QWebEnginePage::loadProgress, this, &PageView::progressChanged);
    connect(page, &QWebEnginePage::loadFinished, this, [this](bool) {
        Q_EMIT downloadComplete();
        Q_EMIT documentComplete(currentAddress());
    });
    connect(page, &QWebEnginePage::linkHovered, this,
            [this](const QString &url) { Q_EMIT statusTextChanged(url); });
    connect(page, &QWebEnginePage::urlChanged, this,
            [this] { Q_EMIT commandStateChanged(CommandUpdateCommands, true); });
    QAction *back = page->action(QWebEnginePage::Back);
    QAction *forward = page->action(QWebEnginePage::Forward);
    connect(back, &QAction::changed, this, [this, back] {
        Q_EMIT commandStateChanged(CommandNavigateBack, back->isEnabled());
    });
    connect(forward, &QAction::changed, this, [this, forward] {
        Q_EMIT commandStateChanged(CommandNavigateForward, forward->isEnabled());
    });
}

QUrl WebEnginePageView::addressToUrl(const QString &address)
{
    if (address.trimmed().isEmpty())
        return QUrl(QStringLiteral("about:blank"));
    return QUrl::fromUserInput(address, QDir::currentPath());
}

void WebEnginePageView::navigate(const QString &address)
{
    m_view->setUrl(addressToUrl(address));
}

void WebEnginePageView::showHtml(const QString &html, const QString &baseAddress)
{
    m_view->setHtml(html, QUrl(baseAddress));
}

bool WebEnginePageView::goBack()
{
    if (!m_view->history()->canGoBack())
        return false;
    m_view->back();
    return true;
}

bool WebEnginePageView::goForward()
{
    if (!m_view->history()->canGoForward())
        return false;
    m_view->forward();
    return true;
}

void WebEnginePageView::stop()
{
    m_view->stop();
}

void WebEnginePageView::refresh()
{
    // Reloading the explanation would only show it again: load the page itself.
    if (!m_crashedAddress.isEmpty() && m_view->url() == m_crashedAddress) {
        const QUrl address = m_crashedAddress;
        m_crashedAddress.clear();
        m_view->setUrl(address);
        return;
    }
    m_crashedAddress.clear();
    m_view->reload();
}

QString WebEnginePageView::currentAddress() const
{
    return m_view->url().toString();
}

QString WebEnginePageView::currentTitle() const
{
    return m_view->title();
}

bool WebEnginePageView::print()
{
    return m_jobs->print();
}

bool WebEnginePageView::printPreview()
{
    return m_jobs->printPreview();
}

bool WebEnginePageView::saveAs()
{
    return m_jobs->saveAs();
}

void WebEnginePageView::takeFocus()
{
    m_view->setFocus(Qt::OtherFocusReason);
}

void WebEnginePageView::zoomBy(int steps)
{
    m_view->setZoomFactor(qBound(0.25, m_view->zoomFactor() + steps * ZoomStep, 5.0));
}

void WebEnginePageView::resetZoom()
{
    m_view->setZoomFactor(1.0);
}

void WebEnginePageView::findText(const QString &text, bool backward)
{
    m_view->findText(text, backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags());
}

void WebEnginePageView::setJavaScriptEnabled(bool enabled)
{
    m_view->page()->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, enabled);
}

void WebEnginePageView::setImagesEnabled(bool enabled)
{
    m_view->page()->settings()->setAttribute(QWebEngineSettings::AutoLoadImages, enabled);
}

void WebEnginePageView::clearBrowsingData()
{
    QWebEngineProfile *profile = m_view->page()->profile();
    profile->clearHttpCache();
    profile->cookieStore()->deleteAllCookies();
    profile->clearAllVisitedLinks();
    m_view->history()->clear();
}
