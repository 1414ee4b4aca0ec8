#include "window/findbar.h"

#include "interfaces/pageview.h"


FindBar::FindBar(PageView &view)
    : Gtk::Box(Gtk::ORIENTATION_HORIZONTAL, 4), m_view(view), m_label("_Find:", true),
      m_previous("Previous"), m_next("Next"), m_close("Close")
{
    get_accessible()->set_name("Find in page");
    set_border_width(3);
    m_label.set_mnemonic_widget(m_field);
    m_field.get_accessible()->set_name("Find:");
    m_field.set_width_chars(30);
    pack_start(m_label, false, false);
    pack_start(m_field, false, false);
    for (Gtk::Button *button : {&m_previous, &m_next}) {
        button->set_relief(Gtk::RELIEF_NONE);
        button->get_accessible()->set_name(button->get_label());
        pack_start(*button, false, false);
    }
    m_result.get_accessible()->set_name("Matches");
    m_result.set_width_chars(10);
    m_result.set_xalign(0);
    pack_start(m_result, false, false);
    m_close.set_relief(Gtk::RELIEF_NONE);
    m_close.get_accessible()->set_name(m_close.get_label());
    pack_start(m_close, false, false);
    show_all_children();
    set_no_show_all(true);

    m_view.findResult.connect(sigc::mem_fun(*this, &FindBar::showResult));
    m_field.signal_changed().connect([this] {
        if (m_field.get_text().empty())
            showResult(-1, 0);
        m_view.findText(m_field.get_text(), false);
    });
    m_field.signal_activate().connect([this] { findNext(false); });
    // Shift+Enter finds backwards; the entry itself ignores it. Esc closes.
    m_field.signal_key_press_event().connect([this](GdkEventKey *event) {
        if (event->keyval == GDK_KEY_Escape) {
            close();
            return true;
        }
        const bool enter = event->keyval == GDK_KEY_Return || event->keyval == GDK_KEY_KP_Enter;
        if (!enter || !(event->state & GDK_SHIFT_MASK))
            return false;
        findNext(true);
        return true;
    }, false);
    m_previous.signal_clicked().connect([this] { findNext(true); });
    m_next.signal_clicked().connect([this] { findNext(false); });
    m_close.signal_clicked().connect([this] { close(); });
}

void FindBar::open()
{
    show();
    m_field.grab_focus();
    m_field.select_region(0, -1);
}

void FindBar::close()
{
    if (!get_visible())
        return;
    hide();
    showResult(-1, 0);
    // An empty search clears what the last one highlighted.
    m_view.findText("", false);
    m_view.takeFocus();
}

bool FindBar::hasFocusInside() const
{
    auto *top = dynamic_cast<const Gtk::Window *>(get_toplevel());
    const Gtk::Widget *focus = top ? top->get_focus() : nullptr;
    return get_visible() && focus && focus->is_ancestor(const_cast<FindBar &>(*this));
}

void FindBar::showResult(int current, int total)
{
    // Nothing typed, nothing to say; a text that is not there shows so in the field too.
    const bool missing = total == 0 && current == 0 && !m_field.get_text().empty();
    if (missing)
        m_field.get_style_context()->add_class("error");
    else
        m_field.get_style_context()->remove_class("error");
    m_result.set_text(total > 0 ? std::to_string(current) + " of " + std::to_string(total)
                      : missing ? "Not found"
                                : "");
}

void FindBar::findNext(bool backward)
{
    if (!m_field.get_text().empty())
        m_view.findText(m_field.get_text(), backward);
}
