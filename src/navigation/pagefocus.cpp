#include "navigation/pagefocus.h"

#include "interfaces/pageview.h"

#include <gtkmm/editable.h>
#include <gtkmm/window.h>

PageFocus::PageFocus(PageView &view, Gtk::Window &window) : m_view(view), m_window(window)
{
    view.loadCommitted.connect(sigc::mem_fun(*this, &PageFocus::committed));
}

void PageFocus::expect()
{
    m_expected = true;
    m_focusAtRequest = m_window.get_focus();
}

void PageFocus::committed()
{
    if (!m_expected)
        return;
    m_expected = false;
    Gtk::Widget *now = m_window.get_focus();
    if (now != m_focusAtRequest && dynamic_cast<Gtk::Editable *>(now))
        return;
    m_view.takeFocus();
}
