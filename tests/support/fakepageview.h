#pragma once

#include "browser/pageview.h"

#include <QStringList>

// A page view that records every call and fires events on request. It keeps a
// simple history so that back and forward fail where a browser's would.
class FakePageView : public PageView
{
    Q_OBJECT
public:
    using PageView::PageView;

    void navigate(const QString &address) override;
    void showHtml(const QString &html, const QString &baseAddress) override;
    bool goBack() override;
    bool goForward() override;
    void stop() override { calls << QStringLiteral("stop"); }
    void refresh() override { calls << QStringLiteral("refresh"); }
    QString currentAddress() const override { return address; }
    QString currentTitle() const override { return title; }
    bool print() override { calls << QStringLiteral("print"); return printResult; }
    bool printPreview() override { calls << QStringLiteral("printPreview"); return printResult; }
    bool saveAs() override { calls << QStringLiteral("saveAs"); return true; }
    void takeFocus() override { calls << QStringLiteral("takeFocus"); }
    void zoomBy(int steps) override { calls << QStringLiteral("zoomBy:%1").arg(steps); }
    void resetZoom() override { calls << QStringLiteral("resetZoom"); }
    void findText(const QString &text, bool backward) override;
    void setJavaScriptEnabled(bool enabled) override { calls << QStringLiteral("javaScript:%1").arg(enabled); }
    void setImagesEnabled(bool enabled) override { calls << QStringLiteral("images:%1").arg(enabled); }
    void clearBrowsingData() override { calls << QStringLiteral("clearBrowsingData"); }

    // Completes the last navigation as a page load: address, title and events.
    void finishLoad(const QString &pageTitle = QString());
    void fireStatusText(const QString &text) { Q_EMIT statusTextChanged(text); }
    void fireCommandState(int command = -1, bool enabled = true) { Q_EMIT commandStateChanged(command, enabled); }
    void fireDownloadBegun() { Q_EMIT downloadBegun(); }
    void fireDownloadComplete() { Q_EMIT downloadComplete(); }
    void fireDocumentComplete(const QString &frameAddress = QString()) { Q_EMIT documentComplete(frameAddress); }

    // Every navigate() argument, in order.
    QStringList navigations;
    // Every call, as "navigate:<address>", "back", "forward", "stop" ...
    QStringList calls;
    QString address;
    QString title;
    QString lastHtml;
    bool printResult = true;

private:
    QStringList m_history;
    int m_index = -1;
};
