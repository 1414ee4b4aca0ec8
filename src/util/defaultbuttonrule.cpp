#include "util/defaultbuttonrule.h"

void DefaultButtonRule::makeDefault(Gtk::Button &button)
{
    // Only a button inside a window can hold the role.
    if (Gtk::Widget *top = button.get_toplevel(); top && top->get_is_toplevel())
        button.grab_default();
}

void DefaultButtonRule::hand(Gtk::Entry &field, Gtk::Button &button)
{
    button.set_can_default(true);
    field.set_activates_default(true);
    field.signal_focus_in_event().connect(
        [&button](GdkEventFocus *) {
            makeDefault(button);
            return false;
        },
        false);
    // Before the entry's own handler activates the window's default: the
    // field being typed in decides, whoever took the role meanwhile.
    field.signal_activate().connect([&button] { makeDefault(button); }, false);
}
