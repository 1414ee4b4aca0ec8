#include "engine/enginesetup.h"

#include <glib/gstdio.h>
#include <string.h>
#include <webkit2/webkit2.h>

SkimlarkDrawingPath skimlark_engine_drawing_path_in(const char *dri_folder)
{
    SkimlarkDrawingPath path = SKIMLARK_DRAWING_CPU;
    GDir *dir = dri_folder ? g_dir_open(dri_folder, 0, NULL) : NULL;
    if (!dir)
        return path;
    const char *name;
    while ((name = g_dir_read_name(dir)) != NULL) {
        if (g_str_has_prefix(name, "renderD") && name[strlen("renderD")] != '\0') {
            path = SKIMLARK_DRAWING_GPU;
            break;
        }
    }
    g_dir_close(dir);
    return path;
}

SkimlarkDrawingPath skimlark_engine_drawing_path(void)
{
    /* Looked up once: the process, its settings and its page processes all
     * take the same path. */
    static int decided = -1;
    if (decided < 0)
        decided = skimlark_engine_drawing_path_in("/dev/dri");
    return (SkimlarkDrawingPath)decided;
}

const char *skimlark_engine_drawing_path_name(SkimlarkDrawingPath path)
{
    return path == SKIMLARK_DRAWING_GPU ? "GPU" : "CPU";
}

void skimlark_engine_prepare_process(void)
{
    /* The engine takes these for a snap's confinement and then starts its
     * page processes without their own sandbox. This program is never a snap:
     * they are left over from a terminal or launcher that was one. */
    static const char *const snap[] = {"SNAP", "SNAP_NAME", "SNAP_REVISION"};
    for (size_t i = 0; i < G_N_ELEMENTS(snap); ++i)
        g_unsetenv(snap[i]);
    /* Drawn by the CPU, the renderer that shares GPU buffers brings nothing
     * but its set-up: the graphics driver loaded in this process and in every
     * page process, about a tenth of a second of each start. */
    if (skimlark_engine_drawing_path() == SKIMLARK_DRAWING_CPU)
        g_setenv("WEBKIT_DISABLE_DMABUF_RENDERER", "1", FALSE);
}

char *skimlark_engine_private_folder(const char *folder, const char *root)
{
    char *chosen = folder && *folder ? g_strdup(folder) : g_build_filename(root, "Velmora", "Skimlark", NULL);
    g_mkdir_with_parents(chosen, 0700);
    g_chmod(chosen, 0700);
    return chosen;
}

WebKitWebContext *skimlark_engine_context_new(const char *data_folder, const char *cache_folder)
{
    WebKitWebsiteDataManager *manager = webkit_website_data_manager_new(
        "base-data-directory", data_folder, "base-cache-directory", cache_folder, NULL);
    char *cookies = g_build_filename(data_folder, "cookies.sqlite", NULL);
    webkit_cookie_manager_set_persistent_storage(webkit_website_data_manager_get_cookie_manager(manager), cookies,
                                                 WEBKIT_COOKIE_PERSISTENT_STORAGE_SQLITE);
    g_free(cookies);
    WebKitWebContext *context = webkit_web_context_new_with_website_data_manager(manager);
    g_object_unref(manager);
    /* On for every user, root included; the engine refuses it once a page
     * process has started. */
    webkit_web_context_set_sandbox_enabled(context, TRUE);
    webkit_web_context_set_cache_model(context, WEBKIT_CACHE_MODEL_WEB_BROWSER);
    return context;
}

void skimlark_engine_apply_drawing_path(WebKitSettings *settings)
{
    if (skimlark_engine_drawing_path() == SKIMLARK_DRAWING_CPU)
        webkit_settings_set_hardware_acceleration_policy(settings, WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
}
