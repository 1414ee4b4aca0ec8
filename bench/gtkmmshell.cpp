// The bare shell written with gtkmm: the same window, view and engine set-up
// as bareshell.c, through the C++ binding, so the binding's own cost (its
// libraries and its wrapper types) is a figure of its own. Like the floor, it
// registers nothing on the session bus.
#include "engine/enginesetup.h"
#include "shellview.h"

#include <gtkmm.h>
#include <webkit2/webkit2.h>

#include <cstdio>

int main(int argc, char *argv[])
{
    skimlark_engine_prepare_process();
    if (argc != 2) {
        std::fprintf(stderr, "usage: gtkmmshell ADDRESS\n");
        return 2;
    }
    // What Gtk::Application does first: the toolkit, then gtkmm's wrappers.
    Gtk::Main kit(argc, argv);

    auto *view = WEBKIT_WEB_VIEW(shell_view_new());

    Gtk::Window window;
    window.set_title("Bare shell");
    window.set_default_size(1144, 527);
    window.add(*Glib::wrap(GTK_WIDGET(view)));
    window.show_all();
    webkit_web_view_load_uri(view, argv[1]);
    Gtk::Main::run(window);
    return 0;
}
