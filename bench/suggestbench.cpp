// Times the address bar's suggestions end to end over the history bench/run
// puts in $XDG_DATA_HOME (100,000 visits): from a key pressed through the X
// server to the list of suggestions drawn on screen, for every key of words
// typed from scratch. The real main window, wired as at start-up, over a
// fake page view (no page loads). Prints one JSON object, in milliseconds.
//
//     suggestbench [WORDS]
#include "app/browser.h"
#include "fakedialogs.h"
#include "fakepageview.h"
#include "findwidget.h"
#include "settings/settingsstore.h"
#include "testutil.h"
#include "widgetinput.h"
#include "window/mainwindow.h"

#include <gtkmm.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

void skimlark_register_resource();

namespace {

using Clock = std::chrono::steady_clock;

// Words of the bench's history (its titles and hosts are made of them), a
// pair, the scheme, and words found nowhere.
const char *const Typed[] = {"kitchen", "garden",  "travel", "coffee bread", "linux", "webkit", "harbor",
                             "lantern", "museum",  "ocean",  "https",     "river", "poetry", "castle",
                             "summer",  "science", "zqxj",   "xylophone",    "bike",  "radio"};

double percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(share * double(values.size())))];
}

} // namespace

int main(int argc, char *argv[])
{
    // Keys sent through the X server's test extension reach GTK only as core events.
    g_setenv("GDK_CORE_DEVICE_EVENTS", "1", TRUE);
    if (!gtk_init_check(&argc, &argv)) {
        std::fprintf(stderr, "suggestbench: no display: run it under xvfb-run\n");
        return 2;
    }
    Gtk::Main::init_gtkmm_internals();
    skimlark_register_resource();
    const std::size_t words = argc > 1 ? std::size_t(std::max(1, std::atoi(argv[1]))) : std::size(Typed);

    SettingsStore settings;
    FakeDialogs dialogs;
    FakePageView view;
    Browser browser(settings, dialogs, view);
    MainWindow &w = browser.window();
    browser.load();
    widgetinput::show(w);
    w.ensureFirstActivation();
    testutil::spin();
    Gtk::Entry &field = *w.addressCombo().get_entry();
    widgetinput::focus(field);

    // The list, once it has been made, and each time it is drawn.
    Gtk::Window *popup = nullptr;
    int draws = 0;
    auto findPopup = [&] {
        if (popup)
            return;
        for (Gtk::Window *window : Gtk::Window::list_toplevels()) {
            if (findwidget::nameOf(*window) == "Suggestions") {
                popup = window;
                popup->signal_draw().connect([&](const Cairo::RefPtr<Cairo::Context> &) {
                    ++draws;
                    return false;
                }, true);
            }
        }
    };
    findPopup();

    // The first lookup opens the file and starts its check: as on the first
    // key of a run, which is timed too, apart.
    std::vector<double> shown, empty;
    double first = -1;
    std::size_t keys = 0;
    for (std::size_t n = 0; n < words; ++n) {
        field.set_text("");
        testutil::spinUntil([&] { return !popup || !popup->get_visible(); });
        std::string text;
        for (const char c : std::string(Typed[n])) {
            text += c;
            int x = 0, y = 0;
            field.translate_coordinates(w, 4, 4, x, y);
            const int drawsBefore = draws;
            const auto began = Clock::now();
            for (GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE})
                gdk_test_simulate_key(w.get_window()->gobj(), x, y, gdk_unicode_to_keyval(guchar(c)),
                                      GdkModifierType(0), type);
            // The key is in the field; its lookup waits for the keys before
            // it and runs ahead of idle work of lower priority and of the next
            // frame, so the list's next drawing shows its answer.
            if (!testutil::spinUntil([&] { return field.get_text() == text; }, std::chrono::seconds(5))) {
                std::fprintf(stderr, "suggestbench: the key '%c' did not reach the address bar\n", c);
                return 1;
            }
            bool lookedUp = false;
            Glib::signal_idle().connect_once([&] { lookedUp = true; }, Glib::PRIORITY_DEFAULT_IDLE);
            testutil::spinUntil([&] { return lookedUp; });
            findPopup();
            const bool drawn = popup && popup->get_visible()
                               && testutil::spinUntil([&] { return draws > drawsBefore; }, std::chrono::seconds(5));
            const double ms = std::chrono::duration<double, std::milli>(Clock::now() - began).count();
            ++keys;
            if (first < 0)
                first = ms;
            else
                (drawn ? shown : empty).push_back(ms);
        }
    }
    std::printf("{\"keys\":%zu,\"first_ms\":%.2f,\"shown\":%zu,\"median_ms\":%.2f,\"p90_ms\":%.2f,"
                "\"worst_ms\":%.2f,\"none\":%zu,\"none_median_ms\":%.2f}\n",
                keys, first, shown.size(), percentile(shown, 0.5), percentile(shown, 0.9), percentile(shown, 1.0),
                empty.size(), percentile(empty, 0.5));
    std::fflush(stdout);
    return 0;
}
