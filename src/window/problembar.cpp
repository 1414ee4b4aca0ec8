#include "window/problembar.h"

ProblemBar::ProblemBar()
{
    set_message_type(Gtk::MESSAGE_WARNING);
    m_text.set_line_wrap(true);
    m_text.set_xalign(0);
    static_cast<Gtk::Container *>(get_content_area())->add(m_text);
    get_accessible()->set_name("Page engine problem");
    show_all();
    set_no_show_all(true);
    hide();
}

void ProblemBar::say(const std::string &text)
{
    m_text.set_text(text);
    show();
}
