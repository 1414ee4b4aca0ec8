#include "app/browser.h"
#include "app/instancelock.h"
#include "app/splashwindow.h"
#include "app/startup.h"
#include "fakedialogs.h"
#include "fakepageview.h"
#include "findwidget.h"
#include "settings/settingsstore.h"
#include "testutil.h"
#include "window/mainwindow.h"

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

// Which of the program's windows maps, and how many passes had run then.
struct WindowMaps
{
    explicit WindowMaps(const PassCounter &passes) : passes(passes)
    {
        hook = g_signal_add_emission_hook(g_signal_lookup("map", GTK_TYPE_WIDGET), 0, &WindowMaps::noted, this,
                                          nullptr);
    }
    ~WindowMaps() { g_signal_remove_emission_hook(g_signal_lookup("map", GTK_TYPE_WIDGET), hook); }

    static gboolean noted(GSignalInvocationHint *, guint, const GValue *values, gpointer data)
    {
        auto *self = static_cast<WindowMaps *>(data);
        GObject *object = G_OBJECT(g_value_get_object(&values[0]));
        if (!GTK_IS_WINDOW(object))
            return TRUE;
        Glib::ObjectBase *widget = Glib::ObjectBase::_get_current_wrapper(object);
        if (dynamic_cast<SplashWindow *>(widget))
            self->maps.emplace_back("splash", self->passes.count);
        else if (dynamic_cast<MainWindow *>(widget))
            self->maps.emplace_back("main window", self->passes.count);
        return TRUE;
    }

    const PassCounter &passes;
    gulong hook = 0;
    std::vector<std::pair<std::string, int>> maps;
};

// A page view whose engine answers at once: the first page loads in full
// while the splash still waits.
struct QuickPage : FakePageView
{
    explicit QuickPage(const PassCounter &passes) : passes(passes) {}
    void navigate(const std::string &target) override
    {
        FakePageView::navigate(target);
        if (passesAtRequest < 0)
            passesAtRequest = passes.count;
        Glib::signal_idle().connect_once([this, title = "Page " + std::to_string(navigations.size())] {
            finishLoad(title);
            if (passesAtLoad < 0)
                passesAtLoad = passes.count;
        });
    }
    const PassCounter &passes;
    int passesAtRequest = -1;
    int passesAtLoad = -1;
};

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

// The user sees the splash, its passes, then the main window with the home
// page; behind the splash the page is asked for and loaded. What the page
// did meanwhile reaches the window's controls once, as if it came then, and
// Back and Forward step through it as through any page.
TEST(Startup, TheHomePageLoadsBehindTheSplashAndShowsInTheWindowAfterThePasses)
{
    const std::string root = g_dir_make_tmp("skimlark-start-XXXXXX", nullptr);
    {
        SettingsStore settings(root);
        ASSERT_TRUE(settings.write("Skimlark", "Home", "Address", "http://home.test/"));
        FakeDialogs dialogs;
        PassCounter passes;
        WindowMaps windows(passes);
        StartedWindow run;
        QuickPage *page = nullptr;
        showSplashThenWindow(
            Passes, settings, dialogs, run,
            [&] {
                auto made = std::make_unique<QuickPage>(passes);
                page = made.get();
                return made;
            },
            [](Browser &) {});
        // The count stops here: the loop may rest again.
        passes.source.disconnect();
        ASSERT_TRUE(page);
        ASSERT_EQ(windows.maps.size(), 2u);
        EXPECT_EQ(windows.maps[0].first, "splash");
        EXPECT_LT(windows.maps[0].second, 100);
        EXPECT_EQ(windows.maps[1].first, "main window");
        EXPECT_GE(windows.maps[1].second, Passes - 100);
        // Asked for and loaded while the splash waited, asked for once.
        EXPECT_LT(page->passesAtRequest, Passes / 2);
        EXPECT_GE(page->passesAtLoad, 0);
        EXPECT_LT(page->passesAtLoad, windows.maps[1].second);
        EXPECT_EQ(page->navigations, std::vector<std::string>{"http://home.test/"});

        MainWindow &window = run.browser->window();
        Gtk::Entry &address = *window.addressCombo().get_entry();
        auto controls = [&] {
            return std::vector<std::string>{window.get_title(), address.get_text(), window.panels()[0].get_text(),
                                            window.panels()[1].get_text()};
        };
        using Strings = std::vector<std::string>;
        EXPECT_EQ(controls(), (Strings{"Skimlark - Page 1", "http://home.test/", "Got it", "http://home.test/"}));
        page->navigate("http://next.test/");
        ASSERT_TRUE(testutil::spinUntil([&] { return window.get_title() == "Skimlark - Page 2"; }));
        for (const auto &[button, shown] : {std::pair{"back", "http://home.test/"}, {"forward", "http://next.test/"}}) {
            g_signal_emit_by_name(findwidget::withId<Gtk::ToolButton>(window, button)->gobj(), "clicked");
            testutil::spin();
            EXPECT_EQ(address.get_text(), shown) << button;
        }
        EXPECT_TRUE(dialogs.shown.empty());
    }
    testutil::removeTree(root);
}

struct SplashKeyRow { const char *name; guint keyval; bool closes; };
class SplashKeys : public testing::TestWithParam<SplashKeyRow> {};

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
    SplashKeyRow{"Letter", GDK_KEY_a, true}, SplashKeyRow{"Enter", GDK_KEY_Return, true},
    SplashKeyRow{"Escape", GDK_KEY_Escape, true}, SplashKeyRow{"ShiftAlone", GDK_KEY_Shift_L, false}),
    [](const testing::TestParamInfo<SplashKeyRow> &info) { return info.param.name; });

// The first start also clears what a write cut short by a kill left beside
// the settings, and nothing the user keeps there; the second start only hands
// over to the first.
TEST(Startup, SecondStartReachesTheFirstWindowAndEnds)
{
    const std::string folder = std::string(g_get_user_config_dir()) + "/Velmora";
    const std::string leftover = folder + "/.Skimlark.conf.saving-Xy12Zq";
    const std::string backup = folder + "/Skimlark.conf.BACKUP";
    ASSERT_EQ(g_mkdir_with_parents(folder.c_str(), 0700), 0);
    const struct utimbuf old = {1000000000, 1000000000};
    for (const std::string &file : {leftover, backup}) {
        ASSERT_TRUE(g_file_set_contents(file.c_str(), "[Home]\n", -1, nullptr));
        ASSERT_EQ(utime(file.c_str(), &old), 0);
    }
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
    EXPECT_TRUE(g_file_test(backup.c_str(), G_FILE_TEST_EXISTS));
    const int second = exitStatus(start());
    EXPECT_TRUE(WIFEXITED(second) && WEXITSTATUS(second) == 0) << second;
    EXPECT_EQ(waitpid(first, nullptr, WNOHANG), 0) << "the first program ended";
    // Asked to close as a logout does, the first ends normally.
    kill(first, SIGTERM);
    const int status = exitStatus(first);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    g_object_unref(bus);
}

// Only one copy holds the lock; it is free again once that copy lets go, and
// a lock that cannot be made counts as held elsewhere, so nothing starts early.
TEST(Startup, OneCopyHoldsTheInstanceLock)
{
    const std::string root = g_dir_make_tmp("skimlark-lock-XXXXXX", nullptr);
    const std::string path = root + "/program.lock";
    {
        auto first = std::make_unique<InstanceLock>(path);
        EXPECT_TRUE(first->held());
        EXPECT_FALSE(InstanceLock(path).held());
        first.reset();
        EXPECT_TRUE(InstanceLock(path).held());
        EXPECT_FALSE(InstanceLock(root + "/missing/program.lock").held());
    }
    testutil::removeTree(root);
}
