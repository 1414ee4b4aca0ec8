// The one main() of every test program: a private home for each run, with
// the temporary folder inside it and removed with all it holds at the end,
// GTK initialised once, and any unexpected GLib warning turned into a failure.
#include "engine/engineprofile.h"
#include "testutil.h"

#include <gtest/gtest.h>
#include <gtkmm.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <glib/gstdio.h>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

std::vector<std::string> g_unexpected;
std::vector<std::string> g_allowed;
bool g_warningFailure = false;

bool isWarning(GLogLevelFlags level)
{
    return level & (G_LOG_LEVEL_ERROR | G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING);
}

GLogWriterOutput writer(GLogLevelFlags level, const GLogField *fields, gsize count, gpointer)
{
    if (isWarning(level)) {
        std::string message;
        for (gsize i = 0; i < count; ++i) {
            if (std::strcmp(fields[i].key, "MESSAGE") == 0 && fields[i].length < 0)
                message = static_cast<const char *>(fields[i].value);
        }
        bool allowed = false;
        for (const std::string &part : g_allowed)
            allowed = allowed || message.find(part) != std::string::npos;
        if (!allowed)
            g_unexpected.push_back(message);
    }
    return g_log_writer_standard_streams(level, fields, count, nullptr);
}

class WarningGuard : public testing::EmptyTestEventListener
{
    void OnTestStart(const testing::TestInfo &) override
    {
        g_unexpected.clear();
        g_allowed.clear();
    }
    void OnTestEnd(const testing::TestInfo &info) override
    {
        for (const std::string &message : g_unexpected) {
            std::fprintf(stderr, "FAILED %s.%s: unexpected warning: %s\n", info.test_suite_name(),
                         info.name(), message.c_str());
            g_warningFailure = true;
        }
        g_unexpected.clear();
    }
};

// The processes this one started that still run.
std::vector<pid_t> children()
{
    std::vector<pid_t> found;
    GDir *processes = g_dir_open("/proc", 0, nullptr);
    while (const gchar *name = processes ? g_dir_read_name(processes) : nullptr) {
        gchar *stat = nullptr;
        const std::string path = std::string("/proc/") + name + "/stat";
        if (!g_ascii_isdigit(name[0]) || !g_file_get_contents(path.c_str(), &stat, nullptr, nullptr))
            continue;
        // "pid (name) state ppid ...": the name may hold spaces and brackets.
        const char *after = std::strrchr(stat, ')');
        char state = 0;
        int parent = 0;
        if (after && std::sscanf(after + 1, " %c %d", &state, &parent) == 2 && parent == getpid())
            found.push_back(pid_t(std::atoi(name)));
        g_free(stat);
    }
    if (processes)
        g_dir_close(processes);
    return found;
}

} // namespace

namespace testutil {

void allowWarning(const std::string &part) { g_allowed.push_back(part); }

void expectNoWarnings()
{
    for (const std::string &message : g_unexpected)
        ADD_FAILURE() << "unexpected warning: " << message;
    g_unexpected.clear();
}

} // namespace testutil

int main(int argc, char **argv)
{
    // A private home before any GLib call reads the environment (GLib keeps
    // the temporary folder it reads first): what a test, the engine or the
    // program writes to the temporary folder goes with the home.
    const char *tmp = std::getenv("TMPDIR");
    std::string made = std::string(tmp && *tmp ? tmp : "/tmp") + "/skimlark-test-XXXXXX";
    if (!mkdtemp(made.data())) {
        std::perror("skimlark-test: no private home");
        return 1;
    }
    const std::string root = made;
    g_setenv("HOME", root.c_str(), TRUE);
    const std::pair<const char *, const char *> folders[] = {{"TMPDIR", "tmp"},
                                                             {"XDG_CONFIG_HOME", "CONFIG_HOME"},
                                                             {"XDG_DATA_HOME", "DATA_HOME"},
                                                             {"XDG_CACHE_HOME", "CACHE_HOME"},
                                                             {"XDG_STATE_HOME", "STATE_HOME"}};
    for (const auto &[name, folder] : folders) {
        const std::string path = root + "/" + folder;
        g_mkdir_with_parents(path.c_str(), 0700);
        g_setenv(name, path.c_str(), TRUE);
    }
    g_setenv("GDK_CORE_DEVICE_EVENTS", "1", TRUE);
    g_setenv("LC_ALL", "C.UTF-8", TRUE);
    g_setenv("GSETTINGS_BACKEND", "memory", TRUE);
    // Accessibility is checked in process through ATK; no bus is needed.
    g_setenv("NO_AT_BRIDGE", "1", TRUE);
    // The engine draws pages here as it does in the program.
    EngineProfile::setUpProcess();

    testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no display.
    if (!testing::GTEST_FLAG(list_tests)) {
        if (!gtk_init_check(&argc, &argv)) {
            std::fprintf(stderr, "tests need a display: run them under xvfb-run\n");
            testutil::removeTree(root);
            return 1;
        }
        Gtk::Main::init_gtkmm_internals();
        g_log_set_writer_func(writer, nullptr, nullptr);
    }
    testing::UnitTest::GetInstance()->listeners().Append(new WarningGuard);
    const int result = RUN_ALL_TESTS();
    // The engine's network process outlives its last view, and writes to
    // the home as it ends: it goes first, with every other process the
    // tests started.
    for (const pid_t child : children()) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    testutil::removeTree(root);
    return result != 0 || g_warningFailure ? 1 : 0;
}
