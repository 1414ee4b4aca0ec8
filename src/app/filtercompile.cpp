// The compile helper: reads the lists of trackers and ads, converts them to
// the engine's content-blocker rules and compiles those into the filter
// store, then ends. The browser starts it in the background and only loads
// what it leaves; the compiler's memory goes with this process.
//
//   skimlark-filtercompile STORE IDENTIFIER LIST...
//
// Leaves STORE/IDENTIFIER.counts ([Rules] Used=, Skipped=) once the filter is
// in the store, and removes the filters of older lists.
#include "engine/filtercompiler.h"
#include "pagerules/adblockconverter.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <glib.h>
#include <glib/gstdio.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Past this a file is no list of rules.
constexpr gsize LargestList = 256 * 1024 * 1024;

int fail(const std::string &problem)
{
    std::fprintf(stderr, "%s\n", problem.c_str());
    return 1;
}

constexpr char WorkPrefix[] = "partial-";

void removeFolder(const std::string &folder)
{
    if (GDir *dir = g_dir_open(folder.c_str(), 0, nullptr)) {
        for (const gchar *name = g_dir_read_name(dir); name; name = g_dir_read_name(dir))
            g_remove((folder + "/" + name).c_str());
        g_dir_close(dir);
    }
    g_rmdir(folder.c_str());
}

// The engine writes a filter to the temporary folder before it moves it into
// the store, and a helper ended half way (the browser ends it as it closes)
// would leave many megabytes there. Each helper writes in a folder of its own
// in the store instead, removed as it ends; a later helper removes what an
// ended one left.
class WorkFolder
{
public:
    explicit WorkFolder(const std::string &store)
        : m_path(store + "/" + WorkPrefix + std::to_string(getpid()))
    {
        if (GDir *dir = g_dir_open(store.c_str(), 0, nullptr)) {
            for (const gchar *name = g_dir_read_name(dir); name; name = g_dir_read_name(dir)) {
                if (!g_str_has_prefix(name, WorkPrefix))
                    continue;
                const long pid = std::strtol(name + sizeof WorkPrefix - 1, nullptr, 10);
                if (pid != getpid() && (pid <= 0 || (kill(pid_t(pid), 0) != 0 && errno == ESRCH)))
                    removeFolder(store + "/" + name);
            }
            g_dir_close(dir);
        }
        // Before anything reads the temporary folder's name: GLib keeps the first it reads.
        if (g_mkdir(m_path.c_str(), 0700) == 0)
            g_setenv("TMPDIR", m_path.c_str(), TRUE);
    }
    ~WorkFolder() { removeFolder(m_path); }
    WorkFolder(const WorkFolder &) = delete;
    WorkFolder &operator=(const WorkFolder &) = delete;

private:
    std::string m_path;
};

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 4)
        return fail("usage: skimlark-filtercompile STORE IDENTIFIER LIST...");
    // Work the user does not wait for: the window's work comes first.
    setpriority(PRIO_PROCESS, 0, 10);
    const std::string store = argv[1];
    const std::string identifier = argv[2];
    if (g_mkdir_with_parents(store.c_str(), 0700) != 0)
        return fail("The filter store " + store + " cannot be made");
    const WorkFolder work(store);

    // Hiding on every site would cost every page the time and memory of a
    // style sheet of some ten thousand selectors: the blocked requests are
    // what matters, and a site's own hiding rules stay.
    AdblockConverter converter(false);
    std::size_t listsSkipped = 0;
    for (int i = 3; i < argc; ++i) {
        gchar *text = nullptr;
        gsize length = 0;
        GError *error = nullptr;
        if (!g_file_get_contents(argv[i], &text, &length, &error) || length > LargestList) {
            std::fprintf(stderr, "%s is skipped: %s\n", argv[i], error ? error->message : "too large");
            g_clear_error(&error);
            g_free(text);
            ++listsSkipped;
            continue;
        }
        converter.addList(std::string_view(text, length));
        g_free(text);
    }
    if (listsSkipped == std::size_t(argc - 3))
        return fail("No list could be read");

    AdblockConverter::Counts counts;
    std::vector<std::string> rules = converter.rules(&counts);
    converter = AdblockConverter(false);
    FilterCompiler compiler(store);
    const FilterCompiler::Result result = compiler.compile(identifier, rules);
    rules.clear();
    rules.shrink_to_fit();
    if (!result.ok)
        return fail(result.problem);

    GKeyFile *file = g_key_file_new();
    g_key_file_set_uint64(file, "Rules", "Used", counts.used - result.rejected);
    g_key_file_set_uint64(file, "Rules", "Skipped", counts.skipped + result.rejected);
    gsize size = 0;
    gchar *data = g_key_file_to_data(file, &size, nullptr);
    const std::string countsPath = store + "/" + identifier + ".counts";
    const bool written = g_file_set_contents_full(countsPath.c_str(), data, gssize(size),
                                                  G_FILE_SET_CONTENTS_CONSISTENT, 0600, nullptr);
    g_free(data);
    g_key_file_free(file);
    if (!written)
        return fail("The counts of rules cannot be written to " + countsPath);

    // Filters of lists that changed since are of no more use.
    const std::string prefix = identifier.substr(0, identifier.rfind('-') + 1);
    compiler.removeOthers(prefix, identifier);
    GDir *folder = g_dir_open(store.c_str(), 0, nullptr);
    for (const gchar *name = folder ? g_dir_read_name(folder) : nullptr; name; name = g_dir_read_name(folder)) {
        const std::string entry = name;
        if (entry.compare(0, prefix.size(), prefix) == 0 && g_str_has_suffix(name, ".counts")
            && entry != identifier + ".counts")
            g_remove((store + "/" + entry).c_str());
    }
    if (folder)
        g_dir_close(folder);
    return 0;
}
