#include "app/startup.h"

#include "app/browser.h"
#include "app/splashwindow.h"
#include "engine/engineprofile.h"
#include "engine/pageviewfactory.h"
#include "interfaces/pageview.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"
#include "window/gtkdialogs.h"
#include "window/mainwindow.h"

#include <chrono>
#include <glib-unix.h>
#include <pango/pangocairo.h>
#include <gtkmm/application.h>

// Generated with the resources; compiled as C++, so C++ linkage.
void skimlark_register_resource(void);

namespace {

constexpr int SplashPasses = 7500;

// Arguments to open, each with the folder its start was made in.
using HandedOver = std::vector<std::pair<std::string, std::string>>;

// Everything one run of the program holds, in the order it is built.
struct Running
{
    SettingsStore settings;
    GtkDialogs dialogs;
    std::unique_ptr<PageView> view;
    std::unique_ptr<Browser> browser;
    // What was handed over before the window was built, in order.
    HandedOver waiting;
};

// A start of the program, the first or a later one (which lands in the
// first): `handedOver` is what it was asked to open, if anything.
void start(const Glib::RefPtr<Gtk::Application> &app, std::unique_ptr<Running> &running,
           std::chrono::system_clock::time_point startedAt, const HandedOver &handedOver = HandedOver())
{
    if (running) {
        // A second start of the program lands here: bring the window forward.
        if (running->browser) {
            for (const auto &[argument, folder] : handedOver)
                running->browser->open(argument, folder);
            running->browser->window().present();
        } else {
            running->waiting.insert(running->waiting.end(), handedOver.begin(), handedOver.end());
        }
        return;
    }
    app->hold();
    running = std::make_unique<Running>();
    // Only the first copy of the program gets here, before anything is written.
    running->settings.removeLeftoverWrites(keys::App, startedAt);
    // A logout or kill asks the window to close, as the close box does;
    // before the window is there, the program just ends. Boxes open end
    // first, so none holds the close back.
    GtkDialogs::letCloseRequestsThrough();
    static std::function<void()> closeRequested;
    closeRequested = [&app, &running] {
        GtkDialogs::closeAllThen([&app, &running] {
            if (running && running->browser && running->browser->window().get_visible())
                running->browser->window().close();
            else
                app->quit();
        });
    };
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        g_unix_signal_add(signal, [](gpointer) {
            closeRequested();
            return gboolean(G_SOURCE_CONTINUE);
        }, nullptr);
    }
    Running &run = *running;
    run.waiting = handedOver;

    SplashWindow splash;
    splash.runSequence(
        SplashPasses,
        [&run] {
            run.browser->load();
            MainWindow &window = run.browser->window();
            window.show();
            window.present();
            // No window manager may be there to activate the window: open the
            // first page all the same (a later activation does nothing more).
            window.ensureFirstActivation();
        },
        [&run, &app] {
            // The page engine and the window's controls are built while the
            // splash waits, so the engine's own processes start meanwhile.
            run.view = makePageView(run.dialogs);
            run.browser = std::make_unique<Browser>(run.settings, run.dialogs, *run.view);
            for (const auto &[argument, folder] : run.waiting)
                run.browser->open(argument, folder);
            run.waiting.clear();
            run.browser->window().signal_closing().connect([&app] { app->quit(); });
            app->add_window(run.browser->window());
        });

    app->release();
}

} // namespace

int runSkimlark(int argc, char *argv[])
{
    // Settings files older than this were written by an earlier run.
    const auto startedAt = std::chrono::system_clock::now();
    EngineProfile::setUpProcess();
    // Whether pages may be shown is learnt while the rest starts.
    EngineProfile::startSandboxProbe();
    // Making the font map now sets the font library reading its
    // configuration in the background; the splash's text needs it first.
    pango_cairo_font_map_get_default();
    skimlark_register_resource();
    Glib::set_application_name("Skimlark");
    // Desktops match the window to its menu entry (and icon) by this name.
    Glib::set_prgname("org.velmora.Skimlark");
    // Addresses and files given on the command line, or by a desktop that
    // opens a link with the default browser, reach the running program as
    // typed, with the folder they were given in: which of them may open is
    // decided there.
    auto app = Gtk::Application::create("org.velmora.Skimlark",
                                        Gio::APPLICATION_HANDLES_COMMAND_LINE | Gio::APPLICATION_HANDLES_OPEN);
    std::unique_ptr<Running> running;
    app->signal_activate().connect([&app, &running, startedAt] { start(app, running, startedAt); });
    app->signal_command_line().connect(
        [&app, &running, startedAt](const Glib::RefPtr<Gio::ApplicationCommandLine> &line) {
            int count = 0;
            char **arguments = line->get_arguments(count);
            HandedOver handedOver;
            for (int i = 1; i < count; ++i)
                handedOver.emplace_back(arguments[i], line->get_cwd());
            g_strfreev(arguments);
            start(app, running, startedAt, handedOver);
            return 0;
        },
        false);
    // Files opened through the desktop's own call.
    app->signal_open().connect([&app, &running, startedAt](const Gio::Application::type_vec_files &files,
                                                          const Glib::ustring &) {
        HandedOver handedOver;
        for (const auto &file : files)
            handedOver.emplace_back(file->get_uri(), std::string());
        start(app, running, startedAt, handedOver);
    });
    const int status = app->run(argc, argv);
    if (running && running->browser)
        app->remove_window(running->browser->window());
    running.reset();
    return status;
}
