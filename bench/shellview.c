#include "shellview.h"

#include "engine/enginesetup.h"

#include <stdio.h>
#include <webkit2/webkit2.h>

GtkWidget *shell_view_new(void)
{
    printf("drawing %s\n", skimlark_engine_drawing_path_name(skimlark_engine_drawing_path()));
    fflush(stdout);
    char *data = skimlark_engine_private_folder(NULL, g_get_user_data_dir());
    char *cache = skimlark_engine_private_folder(NULL, g_get_user_cache_dir());
    WebKitWebContext *context = skimlark_engine_context_new(data, cache);
    g_free(data);
    g_free(cache);
    WebKitSettings *settings = webkit_settings_new();
    skimlark_engine_apply_drawing_path(settings);
    GtkWidget *view = GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context, "settings", settings, NULL));
    g_object_unref(settings);
    g_object_unref(context);
    return view;
}
