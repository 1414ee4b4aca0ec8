#include "util/recentfiles.h"
#include "testutil.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

namespace {

TEST(RecentFiles, OnlyEntriesNoOtherProgramUsedAreForgotten)
{
    gchar *folder = g_dir_make_tmp("recent-XXXXXX", nullptr);
    gchar *file = g_build_filename(folder, "recently-used.xbel", nullptr);
    GtkRecentManager *manager = GTK_RECENT_MANAGER(g_object_new(GTK_TYPE_RECENT_MANAGER, "filename", file, nullptr));
    const struct
    {
        const char *uri;
        std::vector<const char *> users;
    } entries[] = {
        {"file:///tmp/download.zip", {"Skimlark"}},
        {"file:///tmp/skimlark-preview-1.pdf", {"skimlark"}},
        {"file:///tmp/shared.txt", {"Skimlark", "Editor"}},
        {"file:///tmp/other.txt", {"Editor"}},
    };
    for (const auto &entry : entries) {
        for (const char *user : entry.users) {
            GtkRecentData data{};
            data.app_name = const_cast<gchar *>(user);
            data.app_exec = const_cast<gchar *>("true %u");
            data.mime_type = const_cast<gchar *>("text/plain");
            ASSERT_TRUE(gtk_recent_manager_add_full(manager, entry.uri, &data));
        }
    }
    ASSERT_TRUE(testutil::spinUntil([&] { return gtk_recent_manager_has_item(manager, "file:///tmp/other.txt"); }));

    EXPECT_EQ(recentfiles::forget(manager, {"Skimlark", "skimlark"}), 2);
    EXPECT_FALSE(gtk_recent_manager_has_item(manager, "file:///tmp/download.zip"));
    EXPECT_FALSE(gtk_recent_manager_has_item(manager, "file:///tmp/skimlark-preview-1.pdf"));
    EXPECT_TRUE(gtk_recent_manager_has_item(manager, "file:///tmp/shared.txt"));
    EXPECT_TRUE(gtk_recent_manager_has_item(manager, "file:///tmp/other.txt"));
    // Written through: a list read afresh from the file agrees.
    testutil::spinUntil([&] { return testutil::fileContents(file).find("download.zip") == std::string::npos; });
    EXPECT_EQ(testutil::fileContents(file).find("download.zip"), std::string::npos);
    g_object_unref(manager);
    g_free(file);
    g_free(folder);
}

} // namespace
