/* The floor for any browser on this engine: one window, one web view, one
 * page, in plain C on the toolkit's and the engine's own interfaces. Its
 * engine is made by the browser's own set-up (src/engine/enginesetup.h):
 * the same environment, network session, sandbox and drawing path.
 *
 *     bareshell ADDRESS                  the floor
 *     bareshell --application ADDRESS    the same inside a GtkApplication with
 *                                        an id, registered on the session bus
 *
 * It prints its drawing path ("drawing CPU" or "drawing GPU") on start. */
#include "engine/enginesetup.h"
#include "shellview.h"

#include <gtk/gtk.h>
#include <stdio.h>
#include <string.h>
#include <webkit2/webkit2.h>

static const char *address;

static void build(GtkApplication *app)
{
    GtkWidget *view = shell_view_new();
    GtkWidget *window = app ? gtk_application_window_new(app) : gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "Bare shell");
    /* The size of the browser's window, so both paint about the same surface. */
    gtk_window_set_default_size(GTK_WINDOW(window), 1144, 527);
    gtk_container_add(GTK_CONTAINER(window), view);
    if (!app)
        g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), NULL);
    gtk_widget_show_all(window);
    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), address);
}

int main(int argc, char *argv[])
{
    skimlark_engine_prepare_process();
    const gboolean application = argc == 3 && strcmp(argv[1], "--application") == 0;
    if (argc != 2 && !application) {
        fprintf(stderr, "usage: bareshell [--application] ADDRESS\n");
        return 2;
    }
    address = argv[argc - 1];
    if (application) {
        GtkApplication *app = gtk_application_new("org.velmora.SkimlarkBareShell", G_APPLICATION_DEFAULT_FLAGS);
        g_signal_connect(app, "activate", G_CALLBACK(build), NULL);
        /* No arguments for GApplication: it would take the address for a file. */
        const int status = g_application_run(G_APPLICATION(app), 1, argv);
        g_object_unref(app);
        return status;
    }
    gtk_init(&argc, &argv);
    build(NULL);
    gtk_main();
    return 0;
}
