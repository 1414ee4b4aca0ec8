#pragma once

#include <gdkmm/pixbuf.h>

// The About box's pictures, drawn rather than shipped.
namespace aboutpictures {

// The maker's logo, 150 by 40 pixels.
Glib::RefPtr<Gdk::Pixbuf> logo();
// The dialog's icon, the one the user can drag.
Glib::RefPtr<Gdk::Pixbuf> icon(int size);
// Frame `index` (0 to 7) of the hidden animation: a spinning, hue-cycling star.
Glib::RefPtr<Gdk::Pixbuf> frame(int index, int size = 64);
// The pointer over the maker's name: a small arrow with a star; hot spot at (1, 1).
Glib::RefPtr<Gdk::Pixbuf> pointer();

} // namespace aboutpictures
