/* The bare shells' one web view, its engine made by the browser's own set-up
 * (the folders under $XDG_DATA_HOME and $XDG_CACHE_HOME, the context, the
 * drawing path). Plain C, for the C floor and the gtkmm shell alike. */
#pragma once

#include <gtk/gtk.h>

G_BEGIN_DECLS

/* Prints the drawing path ("drawing CPU" or "drawing GPU") for bench/run and
 * returns a floating reference to a new web view on a new context. */
GtkWidget *shell_view_new(void);

G_END_DECLS
