#include "commands/desktopfiles.h"
#include "commands/downloadscommands.h"
#include "fakedesktop.h"
#include "fakepageview.h"
#include "findwidget.h"
#include "history/downloadlist.h"
#include "history/historydatabase.h"
#include "testutil.h"

#include <glib/gstdio.h>
#include <gtest/gtest.h>
#include <gtkmm.h>

namespace {

using State = PageView::Download::State;

// What the window's buttons do with a file that came: the desktop opens a
// document; a program is only shown; a file gone or refused is explained.
TEST(DownloadsCommands, EachButtonDoesWhatItSaysOrSaysWhyNot)
{
    struct Case
    {
        const char *name;
        const char *contents; // nullptr: gone once listed
        const char *button;
        std::string openProblem;
        bool opened, shown;
        std::string said;
    };
    const Case cases[] = {
        {"notes.txt", "hello", "Open", "", true, false, ""},
        {"notes.txt", "hello", "Show in Folder", "", false, true, ""},
        {"tool.sh", "echo hi", "Open", "", false, true,
         "\u201ctool.sh\u201d is a program: Skimlark does not start it. It is shown in its folder."},
        {"update", "\x7f" "ELF\x02", "Open", "", false, true,
         "\u201cupdate\u201d is a program: Skimlark does not start it. It is shown in its folder."},
        {"gone.txt", nullptr, "Open", "", false, false, "\u201cgone.txt\u201d is no longer where it was saved."},
        {"a.pdf", "%PDF-", "Open", "no program opens PDF files", true, false,
         "\u201ca.pdf\u201d could not be opened: no program opens PDF files"},
    };
    const std::string home = g_get_home_dir();
    for (const Case &c : cases) {
        HistoryDatabase db(home + "/" + c.name + ".sqlite");
        DownloadList list(db);
        FakePageView view;
        FakeDesktop desktop;
        desktop.openProblem = c.openProblem;
        Gtk::Window main;
        DownloadsCommands downloads(view, list, desktop, main);
        const std::string path = home + "/" + c.name;
        g_file_set_contents(path.c_str(), c.contents ? c.contents : "", -1, nullptr);
        view.downloadChanged.emit({3, path, "http://files.test/x", 0, -1, State::Running});
        view.downloadChanged.emit({3, path, "http://files.test/x", 5, 5, State::Finished});
        downloads.showWindow();
        Gtk::Window *window = findwidget::shownWindow("Downloads");
        ASSERT_TRUE(window) << c.name;
        if (!c.contents)
            g_unlink(path.c_str());
        findwidget::named<Gtk::Button>(*window, c.button)->clicked();
        EXPECT_EQ(desktop.opened, c.opened ? std::vector<std::string>{path} : std::vector<std::string>()) << c.name;
        EXPECT_EQ(desktop.shown, c.shown ? std::vector<std::string>{path} : std::vector<std::string>()) << c.name;
        EXPECT_EQ(findwidget::visibleText(*window, "Message"), c.said) << c.name;
        g_unlink(path.c_str());
    }
}

// This run's downloads are listed as they come and end; earlier ones stay.
TEST(DownloadsCommands, ListsEachDownloadAsItComesAndCancelsARunningOne)
{
    HistoryDatabase db(std::string(g_get_home_dir()) + "/history.sqlite");
    DownloadList list(db);
    list.end(list.add("old.iso", "/nowhere/old.iso", "https://mirror.test/old.iso", 10, 1), DownloadState::Finished,
             10, 10, 2);
    FakePageView view;
    FakeDesktop desktop;
    Gtk::Window main;
    DownloadsCommands downloads(view, list, desktop, main);
    downloads.showWindow();
    Gtk::Window *window = findwidget::shownWindow("Downloads");
    ASSERT_TRUE(window);
    view.downloadChanged.emit({9, "/home/u/a.zip", "https://a.test/a.zip", 250, 1000, State::Running});
    EXPECT_EQ(findwidget::visibleText(*window, "a.zip"), "a.zip\na.test \u2014 250 bytes of 1.0\u00a0kB \u2014 Starting\u2026\nCancel");
    view.downloadChanged.emit({9, "/home/u/a.zip", "https://a.test/a.zip", 500, 1000, State::Running});
    EXPECT_EQ(findwidget::visibleText(*window, "a.zip"), "a.zip\na.test \u2014 500 bytes of 1.0\u00a0kB \u2014 Starting\u2026\nCancel");
    EXPECT_EQ(findwidget::named<Gtk::ProgressBar>(*window, "Progress of a.zip")->get_text(), "50%");
    EXPECT_EQ(findwidget::visibleText(*window, "old.iso"), "old.iso\nmirror.test \u2014 10 bytes \u2014 Moved or deleted");
    findwidget::named<Gtk::Button>(*findwidget::named(*window, "a.zip"), "Cancel")->clicked();
    EXPECT_EQ(view.calls, std::vector<std::string>{"cancelDownload:9"});
    // Ended under another name (a taken one got a number).
    view.downloadChanged.emit({9, "/home/u/a (1).zip", "https://a.test/a.zip", 300, 1000, State::Cancelled});
    EXPECT_EQ(findwidget::visibleText(*window, "a (1).zip"), "a (1).zip\na.test \u2014 1.0\u00a0kB \u2014 Cancelled");
    findwidget::named<Gtk::Button>(*window, "Clear List")->clicked();
    EXPECT_EQ(findwidget::visibleText(*window, "a (1).zip"), "");
    EXPECT_TRUE(list.list().empty());
}

} // namespace

namespace {

// The desktop's file manager, as the session bus offers it: records what it is asked to show.
TEST(DesktopFiles, ShowInFolderAsksTheFileManagerForTheFile)
{
    GDBusConnection *bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!bus)
        GTEST_SKIP() << "no session bus";
    GDBusNodeInfo *node = g_dbus_node_info_new_for_xml(
        "<node><interface name='org.freedesktop.FileManager1'><method name='ShowItems'>"
        "<arg type='as' direction='in'/><arg type='s' direction='in'/></method></interface></node>",
        nullptr);
    static const GDBusInterfaceVTable answers = {
        [](GDBusConnection *, const gchar *, const gchar *, const gchar *, const gchar *, GVariant *parameters,
           GDBusMethodInvocation *invocation, gpointer shown) {
            const gchar **items = nullptr;
            g_variant_get(parameters, "(^a&s&s)", &items, nullptr);
            for (const gchar **item = items; item && *item; ++item)
                static_cast<std::vector<std::string> *>(shown)->push_back(*item);
            g_free(items);
            g_dbus_method_invocation_return_value(invocation, nullptr);
        },
        nullptr, nullptr, {}};
    std::vector<std::string> shown;
    const guint object = g_dbus_connection_register_object(bus, "/org/freedesktop/FileManager1", node->interfaces[0],
                                                           &answers, &shown, nullptr, nullptr);
    bool owned = false;
    const guint name = g_bus_own_name_on_connection(
        bus, "org.freedesktop.FileManager1", G_BUS_NAME_OWNER_FLAGS_NONE,
        [](GDBusConnection *, const gchar *, gpointer owned) { *static_cast<bool *>(owned) = true; }, nullptr, &owned,
        nullptr);
    ASSERT_TRUE(testutil::spinUntil([&] { return owned; }));

    const std::string path = std::string(g_get_home_dir()) + "/a b#.txt";
    std::string failed;
    DesktopFiles().showInFolder(path, [&](const std::string &why) { failed = why; });
    EXPECT_TRUE(testutil::spinUntil([&] { return !shown.empty(); })) << failed;
    EXPECT_EQ(shown, std::vector<std::string>{"file://" + std::string(g_get_home_dir()) + "/a%20b%23.txt"});

    g_bus_unown_name(name);
    g_dbus_connection_unregister_object(bus, object);
    g_dbus_node_info_unref(node);
    g_object_unref(bus);
}

} // namespace
