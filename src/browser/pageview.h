#pragma once

#include <QString>
#include <QWidget>

// The one page view of the main window. Rendering, history and networking
// belong to the engine behind it; the program only calls these operations and
// listens to these events. Tests use a recording fake.
class PageView : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;
    ~PageView() override = default;

    // Starts loading and returns at once; a second navigate replaces a load in progress.
    virtual void navigate(const QString &address) = 0;
    // Shows generated HTML under the given address (used for local listings).
    virtual void showHtml(const QString &html, const QString &baseAddress) = 0;
    // False when there is no step to take: the caller reports it.
    virtual bool goBack() = 0;
    virtual bool goForward() = 0;
    virtual void stop() = 0;
    virtual void refresh() = 0;
    virtual QString currentAddress() const = 0;
    virtual QString currentTitle() const = 0;
    // False when the view cannot start the job; the outcome otherwise arrives later.
    virtual bool print() = 0;
    virtual bool printPreview() = 0;
    virtual bool saveAs() = 0;
    virtual void takeFocus() = 0;
    // Zoom and find, for the keys users expect.
    virtual void zoomBy(int steps) = 0;
    virtual void resetZoom() = 0;
    virtual void findText(const QString &text, bool backward) = 0;
    // The Internet settings panel's choices for the page engine.
    virtual void setJavaScriptEnabled(bool enabled) = 0;
    virtual void setImagesEnabled(bool enabled) = 0;
    // Deletes cache, cookies and history.
    virtual void clearBrowsingData() = 0;

Q_SIGNALS:
    void statusTextChanged(const QString &text);
    void commandStateChanged(int command, bool enabled);
    void downloadBegun();
    void downloadComplete();
    void documentComplete(const QString &address);
    // Progress of the current load, 0 to 100.
    void progressChanged(int percent);
};
