// Times the history store over a history of 100,000 visits: the address
// bar's suggestions at every keystroke of many typed prefixes, what opening
// the store costs with that history against none, the whole-file check the
// worker makes, and recording one more visit.
//
//     build-bench/bench/historybench [--visits N] [--rounds N] [--keep]
//     build-bench/bench/historybench --make PATH [--visits N]
//
// --keep leaves the histories made for the run in place, to look into them.
// --make only makes the everyday history at PATH (bench/run starts Skimlark
// and times its suggestions with it).
//
// Two histories are made: visits as people make them (most to pages visited
// before, the rest to new ones), and the worst case, every visit a new address.
#include "history/addresssuggestions.h"
#include "history/historydatabase.h"
#include "history/historystore.h"
#include "history/sitezoom.h"

#include <glib.h>
#include <glibmm/init.h>
#include <glibmm/main.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Processor time of this thread: on a busy machine the wall time also holds
// the time others had the processor.
double cpuMs()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(share * double(values.size())))];
}

const char *const Words[] = {
    "news",   "kitchen", "garden", "travel", "music",   "sport",  "weather", "recipe", "market", "forum",
    "photo",  "review",  "guide",  "school", "library", "bike",   "river",   "mountain", "city", "coffee",
    "bread",  "linux",   "debian", "webkit", "browser", "paper",  "stone",   "window", "summer", "winter",
    "radio",  "cinema",  "health", "money",  "office",  "energy", "ocean",   "forest", "island", "planet",
    "history", "science", "poetry", "theatre", "museum", "harbor", "valley", "bridge", "castle", "lantern"};
const std::size_t WordCount = sizeof Words / sizeof *Words;

struct Page
{
    std::string address;
    std::string title;
};

Page randomPage(std::mt19937 &random)
{
    auto word = [&] { return std::string(Words[random() % WordCount]); };
    std::string title = word();
    title[0] = char(g_ascii_toupper(title[0]));
    for (int n = 2 + int(random() % 4); n > 0; --n)
        title += " " + word();
    static const char *const Tlds[] = {".test", ".org", ".com", ".net"};
    const std::string host = word() + "-" + word() + Tlds[random() % 4];
    return {"https://" + host + "/" + word() + "/" + std::to_string(random() % 100000), title};
}

// Records `visits` visits over the last year into a new history at `path`;
// the pages typed at in the suggestion timings come back.
std::vector<Page> makeHistory(const std::string &path, int visits, bool allNew, double *msPerVisit)
{
    std::mt19937 random(2024);
    std::vector<Page> popular;
    for (int n = 0; n < 2000; ++n)
        popular.push_back(randomPage(random));
    HistoryDatabase db(path);
    HistoryStore store(db);
    const std::int64_t start = HistoryDatabase::now() - std::int64_t(365) * 24 * 3600 * 1000000;
    const std::int64_t step = std::int64_t(365) * 24 * 3600 * 1000000 / visits;
    const auto began = Clock::now();
    for (int n = 0; n < visits; ++n) {
        // Six visits in ten go back to a page seen before, the most popular most often.
        const double u = std::generate_canonical<double, 32>(random);
        const Page page = !allNew && random() % 10 < 6 ? popular[std::size_t(std::pow(u, 3.0) * popular.size())]
                                                       : randomPage(random);
        if (!store.recordVisit(page.address, page.title, start + n * step)) {
            std::fprintf(stderr, "could not record visit %d\n", n);
            std::exit(1);
        }
    }
    *msPerVisit = msSince(began) / visits;
    return popular;
}

// What a user types on the way to a page: every prefix of a host, a title
// word, a scheme, and words that are nowhere.
std::vector<std::string> keystrokes(const std::vector<Page> &pages)
{
    std::vector<std::string> targets;
    for (std::size_t n = 0; n < 60; ++n) {
        const std::string &address = pages[n * 31 % pages.size()].address;
        targets.push_back(address.substr(8, address.find('/', 8) - 8));
        const std::string &title = pages[n * 17 % pages.size()].title;
        targets.push_back(title.substr(title.find(' ') + 1));
    }
    for (const char *other : {"https://www.", "zqxj nothing here", "xylophone", "quartz", "kitchen garden bread"})
        targets.push_back(other);
    std::vector<std::string> typed;
    for (const std::string &target : targets) {
        for (std::size_t length = 1; length <= std::min<std::size_t>(target.size(), 16); ++length)
            typed.push_back(target.substr(0, length));
    }
    return typed;
}

struct Figures
{
    double median, p90, worst;
    double cpuMedian, cpuWorst;
    std::string slowest; // the typed texts that took the most processor time
    std::size_t queries;
};

// Times `query` for every typed text, `rounds` times over, once the worker
// has checked the file (as after the first second of a run).
Figures timeTyping(HistoryDatabase &db, const std::vector<std::string> &typed, int rounds,
                   const std::function<void(const std::string &)> &query)
{
    query("warm up");
    auto context = Glib::MainContext::get_default();
    while (!db.checked())
        context->iteration(true);
    std::vector<double> times, cpu;
    std::vector<std::pair<double, std::string>> slowest;
    for (int round = 0; round < rounds; ++round) {
        for (const std::string &text : typed) {
            const auto began = Clock::now();
            const double cpuBegan = cpuMs();
            query(text);
            cpu.push_back(cpuMs() - cpuBegan);
            times.push_back(msSince(began));
            slowest.emplace_back(cpu.back(), text);
        }
    }
    std::sort(slowest.rbegin(), slowest.rend());
    Figures figures{percentile(times, 0.5), percentile(times, 0.9), percentile(times, 1.0), percentile(cpu, 0.5),
                    slowest.empty() ? 0 : slowest[0].first, "", times.size()};
    for (std::size_t n = 0; n < std::min<std::size_t>(5, slowest.size()); ++n) {
        char entry[160];
        std::snprintf(entry, sizeof entry, "%s\"%s\" %.1f", n ? ", " : "", slowest[n].second.c_str(), slowest[n].first);
        figures.slowest += entry;
    }
    return figures;
}

Figures timeSuggestions(const std::string &path, const std::vector<std::string> &typed, int rounds)
{
    HistoryDatabase db(path);
    AddressSuggestions suggestions(db);
    return timeTyping(db, typed, rounds, [&](const std::string &text) { suggestions.find(text); });
}

// The History window's search as the user types: the newest 500 matches.
Figures timeSearch(const std::string &path, const std::vector<std::string> &typed)
{
    HistoryDatabase db(path);
    HistoryStore history(db);
    return timeTyping(db, typed, 1, [&](const std::string &text) { history.visits(text, 500); });
}

// From making the store to the answer of its first use (a zoom level, as the
// first page load asks), and on to the worker's verdict on the whole file.
void timeOpen(const std::string &path, std::vector<double> &open, std::vector<double> &check)
{
    const auto began = Clock::now();
    HistoryDatabase db(path);
    SiteZoom(db).level("first.test");
    open.push_back(msSince(began));
    auto context = Glib::MainContext::get_default();
    while (!db.checked())
        context->iteration(true);
    check.push_back(msSince(began));
}

double recordOneMore(const std::string &path, int rounds)
{
    HistoryDatabase db(path);
    HistoryStore store(db);
    std::vector<double> times;
    for (int n = 0; n < rounds; ++n) {
        const auto began = Clock::now();
        store.recordVisit("https://one-more.test/" + std::to_string(n), "One more");
        times.push_back(msSince(began));
    }
    return percentile(times, 0.5);
}

} // namespace

int main(int argc, char **argv)
{
    int visits = 100000;
    int rounds = 5;
    bool keep = false;
    std::string make;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--visits") == 0 && i + 1 < argc)
            visits = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc)
            rounds = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--keep") == 0)
            keep = true;
        else if (std::strcmp(argv[i], "--make") == 0 && i + 1 < argc)
            make = argv[++i];
    }
    Glib::init();
    if (!make.empty()) {
        double msPerVisit = 0;
        makeHistory(make, visits, false, &msPerVisit);
        return 0;
    }
    gchar *made = g_dir_make_tmp("historybench-XXXXXX", nullptr);
    const std::string dir = made;
    g_free(made);
    const std::string none = dir + "/none/history.sqlite";
    const std::string everyday = dir + "/everyday/history.sqlite";
    const std::string worst = dir + "/allnew/history.sqlite";
    {
        HistoryDatabase db(none);
        db.open();
    }
    double msPerVisit = 0, msPerNewVisit = 0;
    const std::vector<Page> pages = makeHistory(everyday, visits, false, &msPerVisit);
    makeHistory(worst, visits, true, &msPerNewVisit);
    const std::vector<std::string> typed = keystrokes(pages);

    std::printf("History store, %d visits (%s)\n\n", visits, dir.c_str());
    std::printf("| History | Places | File (MB) | Recording (ms a visit) |\n|---|---:|---:|---:|\n");
    for (const auto &[name, path, ms] :
         {std::tuple{"everyday", everyday, msPerVisit}, std::tuple{"every visit new", worst, msPerNewVisit}}) {
        HistoryDatabase db(path);
        const std::size_t places = AddressSuggestions(db).find("https", 1000000).size();
        std::printf("| %s | %zu | %.1f | %.3f |\n", name, places,
                    double(std::filesystem::file_size(path)) / 1e6, ms);
    }

    std::printf("\nSuggestions, %d rounds of every prefix (ms):\n\n", rounds);
    std::printf("| History | Queries | Median | 90th percentile | Worst | Processor: median | Processor: worst | Most processor time (ms) |\n|---|---:|---:|---:|---:|---:|---:|---|\n");
    for (const auto &[name, path] : {std::pair{"everyday", everyday}, std::pair{"every visit new", worst}}) {
        const Figures f = timeSuggestions(path, typed, rounds);
        std::printf("| %s | %zu | %.3f | %.3f | %.3f | %.3f | %.3f | %s |\n", name, f.queries, f.median, f.p90,
                    f.worst, f.cpuMedian, f.cpuWorst, f.slowest.c_str());
    }

    std::printf("\nThe History window's search, the newest 500 matches, once per prefix (ms):\n\n");
    std::printf("| History | Queries | Median | 90th percentile | Worst | Processor: median | Processor: worst | Most processor time (ms) |\n|---|---:|---:|---:|---:|---:|---:|---|\n");
    for (const auto &[name, path] : {std::pair{"everyday", everyday}, std::pair{"every visit new", worst}}) {
        const Figures f = timeSearch(path, typed);
        std::printf("| %s | %zu | %.3f | %.3f | %.3f | %.3f | %.3f | %s |\n", name, f.queries, f.median, f.p90,
                    f.worst, f.cpuMedian, f.cpuWorst, f.slowest.c_str());
    }

    std::vector<double> openNone, checkNone, openFull, checkFull, openWorst, checkWorst;
    for (int round = 0; round < 4 * rounds + 1; ++round) {
        timeOpen(none, openNone, checkNone);
        timeOpen(everyday, openFull, checkFull);
        timeOpen(worst, openWorst, checkWorst);
    }
    std::printf("\nOpening, %d rounds taking turns (ms, median; the check runs in the worker):\n\n", 4 * rounds + 1);
    std::printf("| History | Open to first answer | Ratio to none | To the check's verdict |\n|---|---:|---:|---:|\n");
    std::printf("| none | %.3f | 1.00 | %.1f |\n", percentile(openNone, 0.5), percentile(checkNone, 0.5));
    std::vector<double> ratios;
    for (std::size_t n = 0; n < openNone.size(); ++n)
        ratios.push_back(openFull[n] / openNone[n]);
    std::printf("| everyday | %.3f | %.2f | %.1f |\n", percentile(openFull, 0.5), percentile(ratios, 0.5),
                percentile(checkFull, 0.5));
    ratios.clear();
    for (std::size_t n = 0; n < openNone.size(); ++n)
        ratios.push_back(openWorst[n] / openNone[n]);
    std::printf("| every visit new | %.3f | %.2f | %.1f |\n", percentile(openWorst, 0.5), percentile(ratios, 0.5),
                percentile(checkWorst, 0.5));
    std::printf("\nRecording one more visit into the everyday history: %.3f ms (median of 200)\n",
                recordOneMore(everyday, 200));

    std::error_code ignored;
    if (!keep)
        std::filesystem::remove_all(dir, ignored);
    return 0;
}
