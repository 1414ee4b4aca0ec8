// The bare shell written with gtkmm: the same window, view and engine set-up
// as bareshell.c, through the C++ binding, so the binding's own cost (its
// libraries and its wrapper types) is a figure of its own. Like the floor, it
// registers nothing on the session bus.
#include "engine/enginesetup.h"

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
    std::printf("drawing %s\n", skimlark_engine_drawing_path_name(skimlark_engine_drawing_path()));
    std::fflush(stdout);
    // What Gtk::Application does first: the toolkit, then gtkmm's wrappers.
    Gtk::Main kit(argc, argv);

    gchar *data = skimlark_engine_private_folder(nullptr, Glib::get_user_data_dir().c_str());
    gchar *cache = skimlark_engine_private_folder(nullptr, Glib::get_user_cache_dir().c_str());
    WebKitWebContext *context = skimlark_engine_context_new(data, cache);
    g_free(data);
    g_free(cache);
    WebKitSettings *settings = webkit_settings_new();
    skimlark_engine_apply_drawing_path(settings);
    auto *view = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context, "settings", settings, nullptr));
    g_object_unref(settings);
    g_object_unref(context);

    Gtk::Window window;
    window.set_title("Bare shell");
    window.set_default_size(1144, 527);
    window.add(*Glib::wrap(GTK_WIDGET(view)));
    window.show_all();
    webkit_web_view_load_uri(view, argv[1]);
    Gtk::Main::run(window);
    return 0;
}
