#pragma once

#include "pageview.h"

#include <QUrl>

class Dialogs;
class Downloads;
class PageJobs;
class QWebEngineProfile;
class QWebEngineView;

// The page view over Qt WebEngine: the only place that knows the engine's widgets.
class WebEnginePageView : public PageView
{
    Q_OBJECT
public:
    WebEnginePageView(QWebEngineProfile *profile, Dialogs *dialogs, QWidget *parent = nullptr);

    void navigate(const QString &address) override;
    void showHtml(const QString &html, const QString &baseAddress) override;
    bool goBack() override;
    bool goForward() override;
    void stop() override;
    void refresh() override;
    QString currentAddress() const override;
    QString currentTitle() const override;
    bool print() override;
    bool printPreview() override;
    bool saveAs() override;
    void takeFocus() override;
    void zoomBy(int steps) override;
    void resetZoom() override;
    void findText(const QString &text, bool backward) override;
    void setJavaScriptEnabled(bool enabled) override;
    void setImagesEnabled(bool enabled) override;
    void clearBrowsingData() override;

    QWebEngineView *engineView() const { return m_view; }
    PageJobs *jobs() const { return m_jobs; }

    // The page shown in place of one whose page process ended.
    static QString crashPageHtml(const QString &address, int status);

    // What a browser makes of typed text: a scheme-less address is a web
    // address, an existing local path is a file.
    static QUrl addressToUrl(const QString &address);

private:
    void wireEngineEvents();
    void wireEngineServices();

    QWebEngineView *m_view;
    PageJobs *m_jobs;
    Downloads *m_downloads;
    // The address whose page process ended, while its explanation is shown.
    QUrl m_crashedAddress;
};
