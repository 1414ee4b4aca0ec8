// The engine says nothing when its network process ends: the watch sees it.
#include "engine/networkwatch.h"
#include "testutil.h"

#include <fstream>
#include <glib/gstdio.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

// Stand-ins known by the program's name: one running before the watch is
// made (another profile's), one it looked at, one started after its look.
TEST(NetworkWatch, SeesTheEndOfEachProcessItLookedAtAndNoOther)
{
    gchar *made = g_dir_make_tmp("netwatch-XXXXXX", nullptr);
    const std::string folder = made, program = folder + "/WatchedNetwork";
    g_free(made);
    std::ofstream(program, std::ios::binary) << std::ifstream("/bin/sleep", std::ios::binary).rdbuf();
    g_chmod(program.c_str(), 0700);
    auto stand = [&program] {
        char *argv[] = {const_cast<char *>(program.c_str()), const_cast<char *>("600"), nullptr};
        GPid pid = 0;
        EXPECT_TRUE(g_spawn_async(nullptr, argv, nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr, &pid, nullptr));
        return pid;
    };
    int ended = 0;
    const GPid before = stand();
    NetworkWatch watch([&ended] { ++ended; }, "WatchedNetwork");
    const GPid looked = stand();
    watch.look();
    const GPid after = stand();
    for (GPid pid : {before, after, looked}) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    EXPECT_TRUE(testutil::spinUntil([&] { return ended == 1; }));
    testutil::spin();
    EXPECT_EQ(ended, 1);
    g_unlink(program.c_str());
    g_rmdir(folder.c_str());
}
