#include "app/splashwindow.h"
#include "testutil.h"

#include <gio/gio.h>
#include <glib.h>
#include <gtest/gtest.h>
#include <gtkmm.h>
#include <signal.h>
#include <sys/wait.h>
#include <utime.h>

namespace {

constexpr int Passes = 7500;

// Counts main-loop passes: an idle callback that runs once per pass it gets.
struct PassCounter
{
    PassCounter() { source = Glib::signal_idle().connect([this] { ++count; return true; }); }
    ~PassCounter() { source.disconnect(); }
    int count = 0;
    sigc::connection source;
};

std::vector<Gtk::Label *> labelsOf(Gtk::Container &container)
{
    std::vector<Gtk::Label *> labels;
    for (Gtk::Widget *child : container.get_children()) {
        if (auto *label = dynamic_cast<Gtk::Label *>(child))
            labels.push_back(label);
    }
    return labels;
}

} // namespace

TEST(Splash, FixedFrameWithNoTitle)
{
    SplashWindow splash;
    EXPECT_EQ(splash.get_title(), "");
    EXPECT_FALSE(splash.get_resizable());
    EXPECT_TRUE(splash.get_decorated());
    EXPECT_TRUE(splash.get_skip_taskbar_hint());
    auto *fixed = dynamic_cast<Gtk::Fixed *>(splash.get_child());
    ASSERT_TRUE(fixed);
    int width = 0, height = 0;
    fixed->get_size_request(width, height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 65);
    std::vector<std::string> texts;
    for (Gtk::Label *label : labelsOf(*fixed))
        texts.push_back(label->get_text());
    EXPECT_EQ(texts, (std::vector<std::string>{"Skimlark", "Developed by Velmora"}));
}

TEST(Splash, WaitsItsPassesThenShowsTheMainWindowThenCloses)
{
    SplashWindow splash;
    PassCounter passes;
    bool visibleAtMain = false;
    int passesAtMain = 0;
    splash.runSequence(Passes, [&] {
        visibleAtMain = splash.get_visible();
        passesAtMain = passes.count;
    });
    EXPECT_TRUE(visibleAtMain);
    // A pass that handles a window event first may leave the counter out.
    EXPECT_GE(passesAtMain, Passes - 100);
    EXPECT_FALSE(splash.get_visible());
}

struct KeyRow { const char *name; guint keyval; bool closes; };
class SplashKeys : public testing::TestWithParam<KeyRow> {};

TEST_P(SplashKeys, CloseItAtOnceWhileTheWaitGoesOn)
{
    SplashWindow splash;
    PassCounter passes;
    bool visibleAfterKey = true;
    int passesAtMain = 0;
    bool visibleAtMain = false;
    Glib::signal_timeout().connect([&] {
        if (!splash.get_mapped())
            return true;
        GdkEvent *key = gdk_event_new(GDK_KEY_PRESS);
        key->key.window = GDK_WINDOW(g_object_ref(splash.get_window()->gobj()));
        key->key.keyval = GetParam().keyval;
        key->key.time = GDK_CURRENT_TIME;
        gdk_event_set_device(key, gdk_seat_get_keyboard(gdk_display_get_default_seat(gdk_display_get_default())));
        gdk_event_put(key);
        gdk_event_free(key);
        // The next pass handles the key.
        Glib::signal_idle().connect_once([&] { visibleAfterKey = splash.get_visible(); }, G_PRIORITY_HIGH_IDLE);
        return false;
    }, 1);
    splash.runSequence(Passes, [&] {
        passesAtMain = passes.count;
        visibleAtMain = splash.get_visible();
    });
    EXPECT_EQ(visibleAfterKey, !GetParam().closes);
    EXPECT_EQ(visibleAtMain, !GetParam().closes);
    EXPECT_GE(passesAtMain, Passes - 100);
}

INSTANTIATE_TEST_SUITE_P(Rows, SplashKeys, testing::Values(
    KeyRow{"Letter", GDK_KEY_a, true}, KeyRow{"Enter", GDK_KEY_Return, true},
    KeyRow{"Escape", GDK_KEY_Escape, true}, KeyRow{"ShiftAlone", GDK_KEY_Shift_L, false}),
    [](const testing::TestParamInfo<KeyRow> &info) { return info.param.name; });

// The first start also clears what a write cut short by a kill left beside
// the settings; the second start only hands over to the first.
TEST(Startup, SecondStartReachesTheFirstWindowAndEnds)
{
    const std::string folder = std::string(g_get_user_config_dir()) + "/Velmora";
    const std::string leftover = folder + "/Skimlark.conf.Xy12Zq";
    ASSERT_EQ(g_mkdir_with_parents(folder.c_str(), 0700), 0);
    ASSERT_TRUE(g_file_set_contents(leftover.c_str(), "[Home]\n", -1, nullptr));
    const struct utimbuf old = {1000000000, 1000000000};
    ASSERT_EQ(utime(leftover.c_str(), &old), 0);
    const char *binary = g_getenv("SKIMLARK_BINARY") ? g_getenv("SKIMLARK_BINARY") : SKIMLARK_BINARY_PATH;
    GDBusConnection *bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    ASSERT_TRUE(bus) << "tests run on a private session bus (dbus-run-session)";
    auto registered = [bus] {
        GVariant *reply = g_dbus_connection_call_sync(
            bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
            g_variant_new("(s)", "org.velmora.Skimlark"), G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, -1,
            nullptr, nullptr);
        gboolean has = FALSE;
        if (reply) {
            g_variant_get(reply, "(b)", &has);
            g_variant_unref(reply);
        }
        return bool(has);
    };
    auto start = [binary]() {
        char *argv[] = {const_cast<char *>(binary), nullptr};
        GPid pid = 0;
        EXPECT_TRUE(g_spawn_async(nullptr, argv, nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr, &pid, nullptr));
        return pid;
    };
    auto exitStatus = [](GPid pid) {
        int status = -1;
        testutil::spinUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }, std::chrono::seconds(60));
        return status;
    };

    const GPid first = start();
    ASSERT_TRUE(testutil::spinUntil(registered, std::chrono::seconds(60)));
    EXPECT_TRUE(testutil::spinUntil([&] { return !g_file_test(leftover.c_str(), G_FILE_TEST_EXISTS); },
                                    std::chrono::seconds(20)));
    const int second = exitStatus(start());
    EXPECT_TRUE(WIFEXITED(second) && WEXITSTATUS(second) == 0) << second;
    EXPECT_EQ(waitpid(first, nullptr, WNOHANG), 0) << "the first program ended";
    // Asked to close as a logout does, the first ends normally.
    kill(first, SIGTERM);
    const int status = exitStatus(first);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    g_object_unref(bus);
}
