// The floor for any browser on this engine: one window, one web view, one
// page, nothing else. The network session is made the way the browser makes
// its own (persistent, under $XDG_DATA_HOME/Velmora/Skimlark and
// $XDG_CACHE_HOME/Velmora/Skimlark, cookies in SQLite, the web process
// sandboxed, drawn without GPU compositing) so that the two pay the same
// storage, process and drawing costs.
#include <gtkmm.h>
#include <webkit2/webkit2.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

double monotonicMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

void loadChanged(WebKitWebView *view, WebKitLoadEvent event, gpointer)
{
    if (event != WEBKIT_LOAD_FINISHED)
        return;
    std::printf("loadFinished %s %.3f\n", webkit_web_view_get_uri(view), monotonicMs());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bareshell ADDRESS\n");
        return 2;
    }
    const std::string address = argv[1];
    // No arguments for GApplication: it would take the address for a file to open.
    auto app = Gtk::Application::create("org.velmora.SkimlarkBareShell", Gio::APPLICATION_NON_UNIQUE);

    const std::string data = Glib::build_filename(Glib::get_user_data_dir(), "Velmora", "Skimlark");
    const std::string cache = Glib::build_filename(Glib::get_user_cache_dir(), "Velmora", "Skimlark");
    WebKitWebsiteDataManager *manager = webkit_website_data_manager_new(
        "base-data-directory", data.c_str(), "base-cache-directory", cache.c_str(), nullptr);
    webkit_cookie_manager_set_persistent_storage(
        webkit_website_data_manager_get_cookie_manager(manager),
        Glib::build_filename(data, "cookies.sqlite").c_str(), WEBKIT_COOKIE_PERSISTENT_STORAGE_SQLITE);
    WebKitWebContext *context = webkit_web_context_new_with_website_data_manager(manager);
    g_object_unref(manager);
    // Before the first view exists: the engine refuses it later.
    webkit_web_context_set_sandbox_enabled(context, TRUE);

    auto *view = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context, nullptr));
    g_object_unref(context);
    g_signal_connect(view, "load-changed", G_CALLBACK(loadChanged), nullptr);
    // The browser draws without the engine's GPU compositing; the floor does
    // the same, or under a virtual display it would pay for software GL.
    webkit_settings_set_hardware_acceleration_policy(webkit_web_view_get_settings(view),
                                                     WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);

    Gtk::Window window;
    window.set_title("Bare shell");
    // The size of the browser's window, so both paint about the same surface.
    window.set_default_size(1144, 527);
    window.add(*Glib::wrap(GTK_WIDGET(view)));
    window.show_all();
    webkit_web_view_load_uri(view, address.c_str());
    return app->run(window);
}
