#pragma once

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>

class PageView;

// The find-in-page bar under the page: a field, Previous, Next, what the
// search came to ("3 of 12", "Not found") and Close. Enter finds the next
// match, Shift+Enter the one before, Esc closes the bar.
class FindBar : public Gtk::Box
{
public:
    explicit FindBar(PageView &view);

    // Shows the bar with its text selected, ready for typing.
    void open();
    // Hides the bar, clears the highlight and gives the page the focus back.
    void close();
    // True while the keyboard focus is in the bar.
    bool hasFocusInside() const;

private:
    void findNext(bool backward);
    void showResult(int current, int total);

    PageView &m_view;
    Gtk::Label m_label;
    Gtk::Entry m_field;
    Gtk::Button m_previous, m_next, m_close;
    Gtk::Label m_result;
};
