#pragma once

#include <QObject>
#include <QPointer>
#include <QProgressBar>

class PageView;
class QToolBar;

// The component living in the second toolbar: it shows the page's load
// progress. The main window relies on nothing it returns.
class ToolbarComponent : public QObject
{
    Q_OBJECT
public:
    explicit ToolbarComponent(QObject *parent = nullptr);

    // First operation: the inner window of the second toolbar and the page view.
    void attach(QToolBar *inner, PageView *application);
    // Second operation: 1 turns the progress display on.
    void setMode(int mode);
    // Fourth operation: release what attach() took.
    void release();

    QProgressBar *progressBar() const { return m_progress; }

private:
    QPointer<QProgressBar> m_progress;
    QPointer<PageView> m_view;
    int m_mode = 0;
};
