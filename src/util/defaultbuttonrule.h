#pragma once

#include <gtkmm/button.h>
#include <gtkmm/entry.h>

// The window's one default button: each text field hands the role to its own
// button when it gains the focus, and Enter typed in a field clicks that
// button (and nothing else: the key never reaches the field as text).
class DefaultButtonRule
{
public:
    // From now on `field` makes `button` the default, and Enter in it clicks `button`.
    static void hand(Gtk::Entry &field, Gtk::Button &button);
    // Gives `button` the role now (when it is inside a window).
    static void makeDefault(Gtk::Button &button);
};
