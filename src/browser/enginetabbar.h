#pragma once

#include <QTabBar>

// The tab strip. Every selection (a click, also on the tab already selected,
// a keyboard move, or select() from code) is reported once through selected().
class EngineTabBar : public QTabBar
{
    Q_OBJECT
public:
    explicit EngineTabBar(QWidget *parent = nullptr);

    // Selects the tab and runs the selection handling, as a user's click would.
    void select(int index);

    QString tag(int index) const;
    void setTag(int index, const QString &tag);

Q_SIGNALS:
    void selected(int index);

private:
    bool m_selectingFromCode = false;
};
