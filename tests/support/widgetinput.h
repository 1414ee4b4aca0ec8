#pragma once

#include "testutil.h"

#include <gdk/gdkkeysyms.h>
#include <gtk/gtk.h>
#include <gtkmm/window.h>

// Real input for widget tests: the window on screen, the keyboard focus as a
// window manager would give it, and clicks and keys through the X server.
namespace widgetinput {

inline void show(Gtk::Window &window)
{
    window.show_all();
    testutil::spinUntil([&window] { return window.get_window() && gdk_window_is_viewable(window.get_window()->gobj()); });
    testutil::spin();
}

inline void focus(Gtk::Widget &widget)
{
    GdkEvent *event = gdk_event_new(GDK_FOCUS_CHANGE);
    event->focus_change.window = GDK_WINDOW(g_object_ref(widget.get_toplevel()->get_window()->gobj()));
    event->focus_change.in = TRUE;
    gtk_widget_send_focus_change(GTK_WIDGET(widget.get_toplevel()->gobj()), event);
    gdk_event_free(event);
    widget.grab_focus();
    testutil::spin();
}

// Presses and releases `button` at the centre of `widget`.
inline void click(Gtk::Widget &widget, guint button)
{
    int x = 0, y = 0;
    widget.translate_coordinates(*widget.get_toplevel(), widget.get_allocated_width() / 2,
                                 widget.get_allocated_height() / 2, x, y);
    for (GdkEventType type : {GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE})
        gdk_test_simulate_button(widget.get_toplevel()->get_window()->gobj(), x, y, button, GdkModifierType(0), type);
}

inline void key(Gtk::Widget &widget, guint keyval)
{
    gtk_test_widget_send_key(widget.gobj(), keyval, GdkModifierType(0));
}

} // namespace widgetinput
