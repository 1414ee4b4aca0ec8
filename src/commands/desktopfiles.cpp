#include "commands/desktopfiles.h"

#include "util/filename.h"

#include <gdk/gdk.h>
#include <gio/gio.h>

namespace {

std::string uriOf(const std::string &path)
{
    gchar *uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    std::string result = uri ? uri : "";
    g_free(uri);
    return result;
}

// "" when the desktop's program for the address started.
std::string launch(const std::string &uri)
{
    GdkAppLaunchContext *context = gdk_display_get_app_launch_context(gdk_display_get_default());
    GError *error = nullptr;
    const bool launched = g_app_info_launch_default_for_uri(uri.c_str(), G_APP_LAUNCH_CONTEXT(context), &error);
    g_object_unref(context);
    if (launched)
        return "";
    std::string why = error ? error->message : "no program opens it";
    g_clear_error(&error);
    return why;
}

std::string openFolderOf(const std::string &path)
{
    return launch(uriOf(folderOf(path)));
}

struct Asked
{
    std::string path;
    std::function<void(const std::string &)> failed;
};

} // namespace

std::string DesktopFiles::open(const std::string &path)
{
    const std::string uri = uriOf(path);
    return uri.empty() ? "its name cannot be handed on" : launch(uri);
}

void DesktopFiles::showInFolder(const std::string &path, std::function<void(const std::string &why)> failed)
{
    const std::string uri = uriOf(path);
    GDBusConnection *bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!bus || uri.empty()) {
        if (bus)
            g_object_unref(bus);
        if (const std::string problem = openFolderOf(path); !problem.empty())
            failed(problem);
        return;
    }
    const gchar *items[] = {uri.c_str(), nullptr};
    // Asked without waiting: a file manager that is not running is started first.
    g_dbus_connection_call(bus, "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                           "org.freedesktop.FileManager1", "ShowItems", g_variant_new("(^ass)", items, ""), nullptr,
                           G_DBUS_CALL_FLAGS_NONE, -1, nullptr,
                           [](GObject *bus, GAsyncResult *result, gpointer data) {
                               auto *asked = static_cast<Asked *>(data);
                               GVariant *reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, nullptr);
                               if (reply)
                                   g_variant_unref(reply);
                               else if (const std::string problem = openFolderOf(asked->path); !problem.empty())
                                   asked->failed(problem);
                               delete asked;
                           },
                           new Asked{path, std::move(failed)});
    g_object_unref(bus);
}
