#include "util/recentfiles.h"

#include <algorithm>
#include <gtk/gtk.h>

namespace recentfiles {

int forget(GtkRecentManager *manager, const std::vector<std::string> &ours)
{
    int removed = 0;
    GList *items = gtk_recent_manager_get_items(manager);
    for (GList *item = items; item; item = item->next) {
        auto *info = static_cast<GtkRecentInfo *>(item->data);
        gsize count = 0;
        gchar **applications = gtk_recent_info_get_applications(info, &count);
        bool onlyOurs = count > 0;
        for (gsize i = 0; i < count && onlyOurs; ++i)
            onlyOurs = std::find(ours.begin(), ours.end(), applications[i]) != ours.end();
        g_strfreev(applications);
        if (onlyOurs && gtk_recent_manager_remove_item(manager, gtk_recent_info_get_uri(info), nullptr))
            ++removed;
    }
    g_list_free_full(items, reinterpret_cast<GDestroyNotify>(gtk_recent_info_unref));
    return removed;
}

int forgetOurs()
{
    // GTK records the application's name; before it is set, the program's.
    std::vector<std::string> names{g_get_application_name() ? g_get_application_name() : "", g_get_prgname() ? g_get_prgname() : ""};
    return forget(gtk_recent_manager_get_default(), names);
}

} // namespace recentfiles
