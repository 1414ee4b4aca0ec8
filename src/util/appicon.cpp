#include "util/appicon.h"

#include <cairomm/context.h>
#include <cairomm/surface.h>
#include <cmath>
#include <gdkmm/general.h>

namespace appicon {

static void circle(const Cairo::RefPtr<Cairo::Context> &cr, double x, double y, double w, double h)
{
    cr->save();
    cr->translate(x + w / 2, y + h / 2);
    cr->scale(w / 2, h / 2);
    cr->arc(0, 0, 1, 0, 2 * M_PI);
    cr->restore();
}

Cairo::RefPtr<Cairo::ImageSurface> drawSurface(int size)
{
    auto surface = Cairo::ImageSurface::create(Cairo::FORMAT_ARGB32, size, size);
    auto cr = Cairo::Context::create(surface);
    cr->scale(size / 32.0, size / 32.0);

    // Globe.
    auto sea = Cairo::RadialGradient::create(10, 9, 0, 10, 9, 18);
    sea->add_color_stop_rgb(0, 0x8e / 255.0, 0xc8 / 255.0, 1.0);
    sea->add_color_stop_rgb(1, 0x1d / 255.0, 0x5f / 255.0, 0xb8 / 255.0);
    circle(cr, 2, 2, 22, 22);
    cr->set_source(sea);
    cr->fill_preserve();
    cr->set_source_rgb(0x12 / 255.0, 0x3f / 255.0, 0x7a / 255.0);
    cr->set_line_width(1.2);
    cr->stroke();
    cr->set_source_rgba(1, 1, 1, 150 / 255.0);
    cr->set_line_width(0.9);
    circle(cr, 8, 2, 10, 22);
    cr->stroke();
    for (double y : {13.0, 7.5, 18.5}) {
        const double inset = y == 13.0 ? 2 : 4;
        cr->move_to(inset, y);
        cr->line_to(26 - inset, y);
    }
    cr->stroke();

    // Magnifier.
    cr->set_line_cap(Cairo::LINE_CAP_ROUND);
    cr->set_source_rgb(0x5a / 255.0, 0x3a / 255.0, 0x10 / 255.0);
    cr->set_line_width(3.2);
    cr->move_to(23, 23);
    cr->line_to(29.5, 29.5);
    cr->stroke();
    circle(cr, 15, 15, 10, 10);
    cr->set_source_rgba(1, 1, 1, 90 / 255.0);
    cr->fill_preserve();
    cr->set_source_rgb(0xe8 / 255.0, 0xa0 / 255.0, 0x20 / 255.0);
    cr->set_line_width(2.2);
    cr->stroke();
    surface->flush();
    return surface;
}

Glib::RefPtr<Gdk::Pixbuf> draw(int size)
{
    return Gdk::Pixbuf::create(drawSurface(size), 0, 0, size, size);
}

const std::vector<Glib::RefPtr<Gdk::Pixbuf>> &icons()
{
    // Drawn once, for the first window that needs them.
    static const std::vector<Glib::RefPtr<Gdk::Pixbuf>> all = [] {
        std::vector<Glib::RefPtr<Gdk::Pixbuf>> result;
        // Up to what a switcher shows on a doubled screen; the desktop's
        // own large pictures come from the installed icon. (256 pixels
        // alone would hold more memory than all the others together.)
        for (int size : {16, 24, 32, 48, 64, 128})
            result.push_back(draw(size));
        return result;
    }();
    return all;
}

} // namespace appicon
