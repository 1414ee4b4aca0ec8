// The engine says nothing when its network process ends: the watch sees it.
#include "engine/networkwatch.h"
#include "testutil.h"

#include <gio/gio.h>
#include <glib/gstdio.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

namespace {

// A stand-in for the engine's network process, known by its program's name.
const char Name[] = "WatchedNetwork";

struct Stand
{
    GPid pid = 0;
    explicit Stand(const std::string &program)
    {
        char *argv[] = {const_cast<char *>(program.c_str()), const_cast<char *>("600"), nullptr};
        EXPECT_TRUE(g_spawn_async(nullptr, argv, nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr, &pid, nullptr));
    }
    void end()
    {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        g_spawn_close_pid(pid);
        pid = 0;
    }
    ~Stand()
    {
        if (pid)
            end();
    }
};

// One that runs before the watch is made is another profile's; those started
// later are watched, each of them, once the watch has looked.
TEST(NetworkWatch, SeesTheEndOfEachProcessStartedAfterItAndNoOther)
{
    gchar *made = g_dir_make_tmp("netwatch-XXXXXX", nullptr);
    const std::string folder = made;
    g_free(made);
    const std::string program = folder + "/" + Name;
    GFile *from = g_file_new_for_path("/bin/sleep");
    GFile *to = g_file_new_for_path(program.c_str());
    ASSERT_TRUE(g_file_copy(from, to, G_FILE_COPY_NONE, nullptr, nullptr, nullptr, nullptr));
    g_object_unref(from);
    g_object_unref(to);
    g_chmod(program.c_str(), 0700);

    Stand before(program);
    int ended = 0;
    {
        NetworkWatch watch([&ended] { ++ended; }, Name);
        Stand first(program), second(program);
        watch.look();
        before.end();
        first.end();
        EXPECT_TRUE(testutil::spinUntil([&] { return ended == 1; }));
        second.end();
        EXPECT_TRUE(testutil::spinUntil([&] { return ended == 2; }));
        // A process started after the last look is not watched yet.
        Stand third(program);
        third.end();
        Stand fourth(program);
        watch.look();
        fourth.end();
        EXPECT_TRUE(testutil::spinUntil([&] { return ended == 3; }));
    }
    testutil::spin();
    EXPECT_EQ(ended, 3);
    g_unlink(program.c_str());
    g_rmdir(folder.c_str());
}

} // namespace
