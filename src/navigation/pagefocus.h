#pragma once

#include <sigc++/trackable.h>

namespace Gtk { class Widget; class Window; }
class PageView;

// After a navigation the user started from a field, a button, a tab or a
// favorite, the page takes the keyboard focus when it commits, so Space,
// Page Down and the arrows scroll at once. Not when the user has moved on to
// type somewhere else meanwhile.
class PageFocus : public sigc::trackable
{
public:
    PageFocus(PageView &view, Gtk::Window &window);

    // A navigation the user started is on its way.
    void expect();

private:
    void committed();

    PageView &m_view;
    Gtk::Window &m_window;
    bool m_expected = false;
    Gtk::Widget *m_focusAtRequest = nullptr;
};
