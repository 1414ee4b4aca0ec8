#pragma once

#include "pageview.h"

class Dialogs;
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

    // What a browser makes of typed text: a scheme-less address is a web
    // address, an existing local path is a file.
    static QUrl addressToUrl(const QString &address);

private:
    void wireEngineEvents();

    QWebEngineView *m_view;
    PageJobs *m_jobs;
};
