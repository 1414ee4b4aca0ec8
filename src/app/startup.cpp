#include "app/startup.h"

#include "engine/engineprofile.h"
#include "window/frmbrowser.h"
#include "window/gtkdialogs.h"
#include "interfaces/pageview.h"
#include "app/frmsplash.h"
#include "settings/settingsstore.h"

#include <glib-unix.h>
#include <pango/pangocairo.h>
#include <gtkmm/application.h>

// Generated with the resources; compiled as C++, so C++ linkage.
void skimlark_register_resource(void);

namespace {

constexpr int SplashPasses = 7500;

// Everything one run of the program holds, in the order it is built.
struct Running
{
    SettingsStore settings;
    GtkDialogs dialogs;
    std::unique_ptr<PageView> view;
    std::unique_ptr<frmBrowser> window;
};

void start(const Glib::RefPtr<Gtk::Application> &app, std::unique_ptr<Running> &running)
{
    if (running) {
        // A second start of the program lands here: bring the window forward.
        if (running->window)
            running->window->present();
        return;
    }
    app->hold();
    running = std::make_unique<Running>();
    // A logout or kill asks the window to close, as the close box does;
    // before the window is there, the program just ends.
    static std::function<void()> closeRequested;
    closeRequested = [&app, &running] {
        if (running && running->window && running->window->get_visible())
            running->window->close();
        else
            app->quit();
    };
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        g_unix_signal_add(signal, [](gpointer) {
            closeRequested();
            return gboolean(G_SOURCE_CONTINUE);
        }, nullptr);
    }
    Running &run = *running;

    frmSplash splash;
    splash.runSequence(
        SplashPasses,
        [&run] {
            frmBrowser &window = *run.window;
            window.load();
            window.show();
            window.present();
            // No window manager may be there to activate the window: open the
            // first page all the same (a later activation does nothing more).
            window.ensureFirstActivation();
        },
        [&run, &app] {
            // The page engine and the window's controls are built while the
            // splash waits, so the engine's own processes start meanwhile.
            run.view = makePageView(run.dialogs, [&run]() -> Gtk::Window * { return run.window.get(); });
            run.window = std::make_unique<frmBrowser>(run.settings, run.dialogs, *run.view);
            run.window->closing.connect([&app] { app->quit(); });
            app->add_window(*run.window);
        });

    app->release();
}

} // namespace

int runSkimlark()
{
    EngineProfile::setUpProcess();
    // Whether pages may be shown is learnt while the rest starts.
    EngineProfile::startSandboxProbe();
    // Making the font map now sets the font library reading its
    // configuration in the background; the splash's text needs it first.
    pango_cairo_font_map_get_default();
    skimlark_register_resource();
    Glib::set_application_name("Skimlark");
    auto app = Gtk::Application::create("org.velmora.Skimlark");
    std::unique_ptr<Running> running;
    app->signal_activate().connect([&app, &running] { start(app, running); });
    const int status = app->run();
    if (running && running->window)
        app->remove_window(*running->window);
    running.reset();
    return status;
}
