#pragma once

#include <cairomm/surface.h>
#include <gdkmm/pixbuf.h>
#include <vector>

// The program's icon, drawn rather than shipped so it is crisp at any size:
// a magnifying glass over a blue globe.
namespace appicon {
Glib::RefPtr<Gdk::Pixbuf> draw(int size);
// The same picture as the surface it is drawn on, ready to paint as it is.
Cairo::RefPtr<Cairo::ImageSurface> drawSurface(int size);
// The icon in the sizes a window list picks from, drawn on first use.
const std::vector<Glib::RefPtr<Gdk::Pixbuf>> &icons();
}
