/* How the page engine is set up for this program: the environment it reads,
 * the network session and the drawing path. Plain C, so that the benchmark's
 * bare shell makes its engine through the same calls as the browser and the
 * two cannot drift apart. */
#pragma once

#include <glib.h>

G_BEGIN_DECLS

typedef struct _WebKitWebContext WebKitWebContext;
typedef struct _WebKitSettings WebKitSettings;

typedef enum {
    /* No GPU render node: pages are drawn by the CPU, without the engine's
     * compositing and without its GPU buffer-sharing (DMA-BUF) renderer. */
    SKIMLARK_DRAWING_CPU,
    /* A render node is there: the engine's own defaults, hardware
     * acceleration and the DMA-BUF renderer included. */
    SKIMLARK_DRAWING_GPU
} SkimlarkDrawingPath;

/* The drawing path for a machine whose device folder is dri_folder
 * ("/dev/dri"): GPU when it holds a render node (renderD*). */
SkimlarkDrawingPath skimlark_engine_drawing_path_in(const char *dri_folder);

/* The drawing path of this machine, looked up once. */
SkimlarkDrawingPath skimlark_engine_drawing_path(void);

/* "CPU" or "GPU", for reports. */
const char *skimlark_engine_drawing_path_name(SkimlarkDrawingPath path);

/* Choices the engine reads once from the environment. Call it first in main,
 * before any thread starts. A drawing choice the user set is left as it is;
 * a snap's variables are cleared, so page processes keep their sandbox. */
void skimlark_engine_prepare_process(void);

/* folder, or root/Velmora/Skimlark when folder is NULL or empty; made private
 * to the user (0700). Free with g_free(). */
char *skimlark_engine_private_folder(const char *folder, const char *root);

/* The engine's context: site data under data_folder and the cache under
 * cache_folder, cookies kept in SQLite, the page processes in their sandbox,
 * the cache sized for a browser. Before the first view exists. */
WebKitWebContext *skimlark_engine_context_new(const char *data_folder, const char *cache_folder);

/* The drawing path's settings for a view. */
void skimlark_engine_apply_drawing_path(WebKitSettings *settings);

G_END_DECLS
