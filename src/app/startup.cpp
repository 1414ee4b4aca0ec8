#include "app/startup.h"

#include "app/browser.h"
#include "app/instancelock.h"
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

// Everything one run of the program holds, in the order it is built.
struct Running
{
    Running(SettingsStore &store, std::unique_ptr<EngineProfile> started)
        : settings(store), engine(std::move(started))
    {
    }
    SettingsStore &settings;
    // The page engine started ahead, until the page view takes it.
    std::unique_ptr<EngineProfile> engine;
    GtkDialogs dialogs;
    StartedWindow window;
};

// A start of the program, the first or a later one (which lands in the
// first): `handedOver` is what it was asked to open, if anything.
void start(const Glib::RefPtr<Gtk::Application> &app, std::unique_ptr<Running> &running, SettingsStore &settings,
           std::unique_ptr<EngineProfile> &engine, std::chrono::system_clock::time_point startedAt,
           const HandedOver &handedOver = HandedOver())
{
    if (running) {
        // A second start of the program lands here: bring the window forward.
        StartedWindow &started = running->window;
        if (started.browser) {
            for (const auto &[argument, folder] : handedOver)
                started.browser->open(argument, folder);
            started.browser->window().present();
        } else {
            started.waiting.insert(started.waiting.end(), handedOver.begin(), handedOver.end());
        }
        return;
    }
    app->hold();
    running = std::make_unique<Running>(settings, std::move(engine));
    // Only the first copy of the program gets here, before anything is written.
    running->settings.removeLeftoverWrites(keys::App, startedAt);
    // A logout or kill asks the window to close, as the close box does;
    // before the window is there, the program just ends. Boxes open end
    // first, so none holds the close back.
    GtkDialogs::letCloseRequestsThrough();
    static std::function<void()> closeRequested;
    closeRequested = [&app, &running] {
        GtkDialogs::closeAllThen([&app, &running] {
            if (running && running->window.browser && running->window.browser->window().get_visible())
                running->window.browser->window().close();
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
    run.window.waiting = handedOver;
    showSplashThenWindow(
        SplashPasses, run.settings, run.dialogs, run.window,
        [&run] { return makePageView(run.dialogs, std::move(run.engine)); },
        [&app](Browser &browser) {
            browser.window().signal_closing().connect([&app] { app->quit(); });
            app->add_window(browser.window());
        });

    app->release();
}

} // namespace

void showSplashThenWindow(int passes, SettingsStore &settings, Dialogs &dialogs, StartedWindow &run,
                          const std::function<std::unique_ptr<PageView>()> &makeView,
                          const std::function<void(Browser &)> &built)
{
    // The page engine is made and the first page asked for before anything
    // shows, so the page is on its way while the splash waits; its events
    // wait for the window.
    run.view = makeView();
    std::string firstPage = Browser::requestFirstPage(settings, *run.view, run.waiting);
    SplashWindow splash;
    splash.runSequence(
        passes,
        [&run] {
            run.browser->load();
            MainWindow &window = run.browser->window();
            window.show();
            window.present();
            // No window manager may be there to activate the window: open the
            // first page all the same (a later activation does nothing more).
            window.ensureFirstActivation();
        },
        [&] {
            // The window's controls are built behind the painted splash.
            run.browser = std::make_unique<Browser>(settings, dialogs, *run.view, std::move(firstPage));
            for (const auto &[argument, folder] : run.waiting)
                run.browser->open(argument, folder);
            run.waiting.clear();
            built(*run.browser);
        });
}

int runSkimlark(int argc, char *argv[])
{
    // Settings files older than this were written by an earlier run.
    const auto startedAt = std::chrono::system_clock::now();
    EngineProfile::setUpProcess();
    Glib::set_application_name("Skimlark");
    // Desktops match the window to its menu entry (and icon) by this name;
    // set before anything, the page engine included, can read it.
    Glib::set_prgname("org.velmora.Skimlark");
    // Only the first copy of the program shows pages, and it starts the page
    // engine first: its network process gets ready while the settings are
    // read and the toolkit and the splash start, and whether pages may be
    // shown is learnt meanwhile. A later copy hands what it was given to the
    // first one and ends.
    const InstanceLock instance(InstanceLock::programPath());
    std::unique_ptr<EngineProfile> engine;
    if (instance.held()) {
        EngineProfile::startSandboxProbe();
        engine = std::make_unique<EngineProfile>();
    }
    // The settings are read before the window: the first page's address is
    // among them, and it is asked for as soon as the toolkit is there.
    SettingsStore settings;
    settings.read(keys::App, keys::Home, keys::Address, std::string());
    // Making the font map now sets the font library reading its
    // configuration in the background; the splash's text needs it first.
    pango_cairo_font_map_get_default();
    skimlark_register_resource();
    // Addresses and files given on the command line, or by a desktop that
    // opens a link with the default browser, reach the running program as
    // typed, with the folder they were given in: which of them may open is
    // decided there.
    auto app = Gtk::Application::create("org.velmora.Skimlark",
                                        Gio::APPLICATION_HANDLES_COMMAND_LINE | Gio::APPLICATION_HANDLES_OPEN);
    std::unique_ptr<Running> running;
    app->signal_activate().connect(
        [&app, &running, &settings, &engine, startedAt] { start(app, running, settings, engine, startedAt); });
    app->signal_command_line().connect(
        [&app, &running, &settings, &engine, startedAt](const Glib::RefPtr<Gio::ApplicationCommandLine> &line) {
            int count = 0;
            char **arguments = line->get_arguments(count);
            HandedOver handedOver;
            for (int i = 1; i < count; ++i)
                handedOver.emplace_back(arguments[i], line->get_cwd());
            g_strfreev(arguments);
            start(app, running, settings, engine, startedAt, handedOver);
            return 0;
        },
        false);
    // Files opened through the desktop's own call.
    app->signal_open().connect([&app, &running, &settings, &engine,
                                startedAt](const Gio::Application::type_vec_files &files, const Glib::ustring &) {
        HandedOver handedOver;
        for (const auto &file : files)
            handedOver.emplace_back(file->get_uri(), std::string());
        start(app, running, settings, engine, startedAt, handedOver);
    });
    const int status = app->run(argc, argv);
    if (running && running->window.browser)
        app->remove_window(running->window.browser->window());
    running.reset();
    return status;
}
