// The one main() of every test program: a private home for each run, GTK
// initialised once, and any unexpected GLib warning turned into a failure.
#include "engine/engineprofile.h"
#include "testutil.h"

#include <gtest/gtest.h>
#include <gtkmm.h>

#include <cstdio>
#include <cstring>
#include <glib/gstdio.h>
#include <string>
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
    // A private home before any GLib call reads the environment.
    gchar *home = g_dir_make_tmp("skimlark-test-XXXXXX", nullptr);
    const std::string root = home ? home : "/tmp";
    g_free(home);
    g_setenv("HOME", root.c_str(), TRUE);
    for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"}) {
        const std::string path = root + "/" + (name + 4);
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
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing = listing || std::strncmp(argv[i], "--gtest_list_tests", 18) == 0;
    if (!listing) {
        if (!gtk_init_check(&argc, &argv)) {
            std::fprintf(stderr, "tests need a display: run them under xvfb-run\n");
            return 1;
        }
        Gtk::Main::init_gtkmm_internals();
        g_log_set_writer_func(writer, nullptr, nullptr);
    }
    testing::UnitTest::GetInstance()->listeners().Append(new WarningGuard);
    const int result = RUN_ALL_TESTS();
    return result != 0 || g_warningFailure ? 1 : 0;
}
