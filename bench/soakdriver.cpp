// Drives the real main window over the real page engine through N navigations
// among local pages: a third straight through the page view, a third through
// the Search command and a third through the Surf command, each waiting for its
// load. Every request must go to a loopback proxy (http_proxy=http://127.0.0.1:PORT,
// which bench/run sets; the server answers every page with the title "Bench page").
// Prints one JSON object: memory every 100 navigations, failures, web process
// ends, and the length of the visited-address list.
#include "app/browser.h"
#include "engine/engineprofile.h"
#include "engine/pageviewfactory.h"
#include "engine/webkitpageview.h"
#include "fakedialogs.h"
#include "interfaces/pageview.h"
#include "settings/settingsstore.h"
#include "testutil.h"
#include "window/mainwindow.h"

#include <gtkmm.h>
#include <webkit2/webkit2.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

// From the resources compiled into the library.
void skimlark_register_resource();

namespace {

// A figure of /proc/PID/smaps_rollup in kB, summed over the fields named.
long rollupKb(long pid, const std::vector<std::string> &fields)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/smaps_rollup");
    long total = 0;
    std::string line;
    while (std::getline(file, line)) {
        const auto colon = line.find(':');
        if (colon != std::string::npos
            && std::find(fields.begin(), fields.end(), line.substr(0, colon)) != fields.end())
            total += std::atol(line.c_str() + colon + 1);
    }
    return total;
}

long pssKb(long pid) { return rollupKb(pid, {"Pss"}); }

// The pages only this process maps: unlike PSS, it does not fall when other
// programs on the machine map the same libraries.
long ussKb(long pid) { return rollupKb(pid, {"Private_Clean", "Private_Dirty"}); }

long parentOf(const std::string &pid)
{
    std::ifstream file("/proc/" + pid + "/stat");
    std::stringstream text;
    text << file.rdbuf();
    const std::string stat = text.str();
    // The command name may hold blanks and brackets; fields resume after the last ')'.
    const auto close = stat.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(stat.substr(close + 2));
    std::string state;
    long parent = -1;
    fields >> state >> parent;
    return parent;
}

// The PSS of this process and every process below it (sandbox, engine helpers).
long treePssKb()
{
    std::map<long, std::vector<long>> children;
    Glib::Dir proc("/proc");
    for (const std::string &entry : proc) {
        if (!entry.empty() && std::all_of(entry.begin(), entry.end(), ::isdigit))
            children[parentOf(entry)].push_back(std::atol(entry.c_str()));
    }
    long total = 0;
    std::vector<long> pending{long(getpid())};
    while (!pending.empty()) {
        const long pid = pending.back();
        pending.pop_back();
        total += pssKb(pid);
        for (long child : children[pid])
            pending.push_back(child);
    }
    return total;
}

void settle(int ms)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    testutil::spinUntil([&] { return std::chrono::steady_clock::now() >= end; },
                        std::chrono::milliseconds(ms + 1000));
}

struct Kind
{
    const char *name;
    int issued = 0;
    int failed = 0;
    int consecutiveFailures = 0;
    bool givenUp = false;
};

} // namespace

int main(int argc, char *argv[])
{
    const char *proxy = std::getenv("http_proxy");
    if (!proxy || std::strncmp(proxy, "http://127.0.0.1:", 17) != 0) {
        std::fprintf(stderr, "soakdriver: http_proxy must route every request to a loopback "
                             "server (http://127.0.0.1:PORT); bench/run sets it\n");
        return 2;
    }
    const int total = argc > 1 ? std::max(100, std::atoi(argv[1])) : 1000;
    EngineProfile::setUpProcess();
    if (!gtk_init_check(&argc, &argv)) {
        std::fprintf(stderr, "soakdriver: no display: run it under xvfb-run\n");
        return 2;
    }
    Gtk::Main::init_gtkmm_internals();
    skimlark_register_resource();

    // The store under $XDG_CONFIG_HOME, a fresh folder that bench/run gives.
    SettingsStore settings;
    settings.write("Skimlark", "Home", "Address", "http://soak.test/home");
    FakeDialogs dialogs;
    // The page view as start-up makes it (engine profile, sandbox and all);
    // the window built and wired as at start-up.
    std::unique_ptr<Browser> browser;
    std::unique_ptr<PageView> view = makePageView(dialogs);
    auto *engine = dynamic_cast<WebKitPageView *>(view.get());
    if (!engine) {
        std::fprintf(stderr, "soakdriver: start-up does not make the WebKit page view\n");
        return 1;
    }
    browser = std::make_unique<Browser>(settings, dialogs, *view);
    MainWindow *window = &browser->window();

    int webProcessEnded = 0;
    g_signal_connect(engine->engineView(), "web-process-terminated",
                     G_CALLBACK(+[](WebKitWebView *, WebKitWebProcessTerminationReason,
                                    gpointer count) { ++*static_cast<int *>(count); }),
                     &webProcessEnded);
    int completed = 0;
    view->loadFinished.connect([&completed](const std::string &) { ++completed; });
    // True when the load a command started ended on one of the server's pages.
    // The title can arrive just after the load's end, so both are waited for.
    const auto waitForLoad = [&](int before) {
        return testutil::spinUntil(
            [&] { return completed > before && view->currentTitle() == "Bench page"; },
            std::chrono::seconds(15));
    };

    browser->load();
    window->show();
    window->ensureFirstActivation();
    waitForLoad(0);

    enum { Direct, Search, Surf };
    Kind kinds[3] = {{"direct"}, {"search"}, {"surf"}};
    int surfs = 0;
    std::vector<long> pssEvery100;
    long pssAfter100 = 0, ussAfter100 = 0, treeAfter100 = 0;

    for (int i = 0; i < total; ++i) {
        int kind = i % 3;
        // A command that never starts a load (not wired yet) is replaced by a
        // direct navigation, and reported.
        if (kinds[kind].givenUp)
            kind = Direct;
        const int before = completed;
        switch (kind) {
        case Direct:
            view->navigate("http://soak.test/page/" + std::to_string(i));
            break;
        case Search:
            window->searchBox().set_text("soak words " + std::to_string(i));
            window->searchButton().clicked();
            break;
        case Surf:
            window->addressCombo().get_entry()->set_text("http://soak.test/surf/" + std::to_string(i));
            window->surfButton().clicked();
            break;
        }
        Kind &k = kinds[kind];
        ++k.issued;
        if (waitForLoad(before)) {
            k.consecutiveFailures = 0;
            surfs += kind == Surf;
        } else {
            ++k.failed;
            if (++k.consecutiveFailures >= 3 && kind != Direct)
                k.givenUp = true;
        }
        if ((i + 1) % 100 == 0) {
            settle(1000);
            pssEvery100.push_back(pssKb(getpid()));
            if (i + 1 == 100) {
                pssAfter100 = pssEvery100.back();
                ussAfter100 = ussKb(getpid());
                treeAfter100 = treePssKb();
            }
        }
    }
    settle(1000);
    const long pssAfterRun = pssKb(getpid());
    const long ussAfterRun = ussKb(getpid());
    const long treeAfterRun = treePssKb();

    std::ostringstream json;
    json << "{\"navigations\":" << total << ",\"by_kind\":{";
    for (int k = 0; k < 3; ++k) {
        json << (k ? "," : "") << '"' << kinds[k].name << "\":{\"issued\":" << kinds[k].issued
             << ",\"failed\":" << kinds[k].failed
             << ",\"not_wired\":" << (kinds[k].givenUp ? "true" : "false") << '}';
    }
    json << "},\"web_process_ended\":" << webProcessEnded << ",\"pss_after_100_kb\":" << pssAfter100
         << ",\"pss_after_run_kb\":" << pssAfterRun << ",\"uss_after_100_kb\":" << ussAfter100
         << ",\"uss_after_run_kb\":" << ussAfterRun << ",\"tree_pss_after_100_kb\":" << treeAfter100
         << ",\"tree_pss_after_run_kb\":" << treeAfterRun << ",\"pss_every_100_kb\":[";
    for (size_t i = 0; i < pssEvery100.size(); ++i)
        json << (i ? "," : "") << pssEvery100[i];
    // One start-up entry plus one per surf.
    json << "],\"surfs\":" << surfs
         << ",\"list_entries\":" << window->addressCombo().get_model()->children().size() << '}';
    std::printf("%s\n", json.str().c_str());
    std::fflush(stdout);

    browser.reset();
    view.reset();
    return 0;
}
