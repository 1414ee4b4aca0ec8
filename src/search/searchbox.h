#pragma once

#include <QObject>

class DefaultButtonRule;
class frmBrowser;

// The search box and its "Search" button: the box hands the default role to
// "Search" when it gains the focus and at every character typed, and the
// Search command sends the box text to the stored engine.
class SearchBox : public QObject
{
    Q_OBJECT
public:
    SearchBox(frmBrowser &window, DefaultButtonRule &defaults);

    // Reads the engine id afresh and navigates once per catalogue row of it.
    void search();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    frmBrowser &m_window;
    DefaultButtonRule &m_defaults;
};
