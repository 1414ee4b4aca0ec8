#pragma once

#include <QWidget>

class PageView;
class QLineEdit;
class QToolButton;

// The small find-in-page box that floats over the page's top right corner.
class FindBar : public QWidget
{
    Q_OBJECT
public:
    explicit FindBar(PageView *view);

    // Shows the box with its text selected, ready for typing.
    void open();
    // Hides the box, clears the highlight and gives the page the focus back.
    void close();
    // True while the keyboard focus is in the box.
    bool hasFocusInside() const;

    QLineEdit *field() const { return m_field; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeOverView();
    void findNext(bool backward);

    PageView *m_view;
    QLineEdit *m_field;
};
