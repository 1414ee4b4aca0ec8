// Times the Search, Surf, tab selection and engine choice handlers on their
// own, and one settings write for comparison: a fake page view takes the
// navigations, so no page ever loads. Prints one JSON object of medians and
// 90th percentiles in microseconds.
#include "app/browser.h"
#include "fakedialogs.h"
#include "fakepageview.h"
#include "settings/settingsstore.h"
#include "testutil.h"
#include "window/mainwindow.h"

#include <gtkmm.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

// From the resources compiled into the library.
void skimlark_register_resource();

namespace {

struct Timing
{
    double median = 0;
    double p90 = 0;
    // Navigations the measured calls asked the page view for: a handler not
    // wired yet asks for none, and its time means nothing.
    size_t navigations = 0;
};

FakePageView *g_view = nullptr;

Timing timeHandler(int reps, const std::function<void(int)> &prepare,
                   const std::function<void(int)> &run)
{
    // A few unmeasured calls first, so lazy set-up is not counted.
    for (int i = 0; i < 20; ++i) {
        prepare(i);
        run(i);
        testutil::spin();
    }
    std::vector<double> micros;
    micros.reserve(reps);
    const size_t navigationsBefore = g_view->navigations.size();
    for (int i = 0; i < reps; ++i) {
        prepare(i);
        const auto start = std::chrono::steady_clock::now();
        run(i);
        micros.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
        // Deferred work a handler queued belongs to the next pass of the main
        // loop, not to the handler; let it run outside the measurement.
        testutil::spin();
    }
    std::sort(micros.begin(), micros.end());
    return {micros[micros.size() / 2], micros[micros.size() * 9 / 10],
            g_view->navigations.size() - navigationsBefore};
}

// A click runs its command once the click has returned: the time counts both.
void clickAndRun(Gtk::Button &button)
{
    button.clicked();
    testutil::spin();
}

Gtk::MenuItem *engineItem(MainWindow &w, const std::string &name)
{
    for (Gtk::Widget *child : w.engineMenu().get_children()) {
        if (child->get_name() == name)
            return dynamic_cast<Gtk::MenuItem *>(child);
    }
    return nullptr;
}

} // namespace

int main(int argc, char *argv[])
{
    const int reps = argc > 1 ? std::max(11, std::atoi(argv[1])) : 1001;
    if (!gtk_init_check(&argc, &argv)) {
        std::fprintf(stderr, "handlerbench: no display: run it under xvfb-run\n");
        return 2;
    }
    Gtk::Main::init_gtkmm_internals();
    skimlark_register_resource();

    // The store under $XDG_CONFIG_HOME, a fresh folder that bench/run gives.
    SettingsStore settings;
    FakeDialogs dialogs;
    FakePageView view;
    g_view = &view;
    // The window built and wired as at start-up.
    Browser browser(settings, dialogs, view);
    MainWindow &w = browser.window();
    browser.load();
    w.show();
    w.ensureFirstActivation();
    testutil::spin();

    const Timing search = timeHandler(
        reps, [&](int i) { w.searchBox().set_text("bench keywords " + std::to_string(i)); },
        [&](int) { clickAndRun(w.searchButton()); });
    const Timing surf = timeHandler(
        reps, [&](int i) { w.addressCombo().get_entry()->set_text("http://bench.test/surf/" + std::to_string(i)); },
        [&](int) { clickAndRun(w.surfButton()); });
    const Timing tab = timeHandler(
        reps, [&](int) { w.searchBox().set_text("bench keywords"); },
        [&](int i) { w.engineTabs().select(1 + i % 2); });
    Gtk::MenuItem *yahoo = engineItem(w, "mnuyahoo");
    Gtk::MenuItem *google = engineItem(w, "mnugoogle");
    if (!yahoo || !google) {
        std::fprintf(stderr, "handlerbench: the engine menu items are missing\n");
        return 1;
    }
    // An engine choice navigates nowhere; what shows it ran is the stored id.
    settings.write("Skimlark", "Home", "Engine", "none");
    const Timing engine = timeHandler(
        reps, [](int) {}, [&](int i) { (i % 2 ? yahoo : google)->activate(); });
    const bool engineStored = settings.read("Skimlark", "Home", "Engine", "none") != "none";
    // The write the engine choice makes, alone: what a handler cannot go below.
    const Timing write = timeHandler(
        reps, [](int) {},
        [&](int i) { settings.write("Skimlark", "Home", "Engine", i % 2 ? "yahoo" : "google"); });

    const auto put = [](const char *name, const Timing &t) {
        return std::string("\"") + name + "\":{\"median_us\":" + std::to_string(t.median)
               + ",\"p90_us\":" + std::to_string(t.p90)
               + ",\"navigations\":" + std::to_string(t.navigations) + "}";
    };
    std::printf("{%s,%s,%s,%s,%s,\"reps\":%d,\"navigations\":%zu,\"list_entries\":%d,"
                "\"engine_stored\":%s}\n",
                put("search", search).c_str(), put("surf", surf).c_str(), put("tab", tab).c_str(),
                put("engine", engine).c_str(), put("settings_write", write).c_str(), reps,
                view.navigations.size(), int(w.addressCombo().get_model()->children().size()),
                engineStored ? "true" : "false");
    std::fflush(stdout);
    return 0;
}
