#include "about/aboutpictures.h"

#include "pagerules/makersite.h"
#include "util/appicon.h"

#include <cairomm/context.h>
#include <cairomm/surface.h>
#include <cmath>
#include <gdkmm/general.h>
#include <gtkmm/enums.h>

namespace aboutpictures {

namespace {
using Context = Cairo::RefPtr<Cairo::Context>;

void star(const Context &cr, double cx, double cy, double outer, double inner, double rotation)
{
    for (int i = 0; i < 10; ++i) {
        const double radius = (i % 2 == 0) ? outer : inner;
        const double angle = (rotation + i * 36.0 - 90.0) * M_PI / 180.0;
        const double x = cx + radius * std::cos(angle);
        const double y = cy + radius * std::sin(angle);
        if (i == 0)
            cr->move_to(x, y);
        else
            cr->line_to(x, y);
    }
    cr->close_path();
}

void roundedRect(const Context &cr, double x, double y, double w, double h, double r)
{
    cr->begin_new_sub_path();
    cr->arc(x + w - r, y + r, r, -M_PI / 2, 0);
    cr->arc(x + w - r, y + h - r, r, 0, M_PI / 2);
    cr->arc(x + r, y + h - r, r, M_PI / 2, M_PI);
    cr->arc(x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cr->close_path();
}

// Hue in degrees, saturation and value 0..1, to red, green and blue 0..1.
void hsv(double h, double s, double v, double &r, double &g, double &b)
{
    const double c = v * s;
    const double x = c * (1 - std::fabs(std::fmod(h / 60.0, 2) - 1));
    const double m = v - c;
    const int sector = int(h / 60.0) % 6;
    const double table[6][3] = {{c, x, 0}, {x, c, 0}, {0, c, x}, {0, x, c}, {x, 0, c}, {c, 0, x}};
    r = table[sector][0] + m;
    g = table[sector][1] + m;
    b = table[sector][2] + m;
}

Glib::RefPtr<Gdk::Pixbuf> toPixbuf(const Cairo::RefPtr<Cairo::ImageSurface> &surface)
{
    surface->flush();
    return Gdk::Pixbuf::create(surface, 0, 0, surface->get_width(), surface->get_height());
}
} // namespace

Glib::RefPtr<Gdk::Pixbuf> logo()
{
    auto surface = Cairo::ImageSurface::create(Cairo::FORMAT_ARGB32, 150, 40);
    auto cr = Cairo::Context::create(surface);
    auto band = Cairo::LinearGradient::create(0, 0, 0, 40);
    band->add_color_stop_rgb(0, 0x2b / 255.0, 0x4a / 255.0, 0x8c / 255.0);
    band->add_color_stop_rgb(1, 0x13 / 255.0, 0x24 / 255.0, 0x4d / 255.0);
    roundedRect(cr, 0.5, 0.5, 149, 39, 6);
    cr->set_source(band);
    cr->fill();
    star(cr, 20, 20, 13, 5.5, 0);
    cr->set_source_rgb(0xf2 / 255.0, 0xb1 / 255.0, 0x34 / 255.0);
    cr->fill();
    cr->select_font_face("Sans", Cairo::FONT_SLANT_NORMAL, Cairo::FONT_WEIGHT_BOLD);
    cr->set_font_size(20);
    Cairo::TextExtents extents;
    cr->get_text_extents(makersite::Name, extents);
    cr->move_to(38, 20 - extents.height / 2 - extents.y_bearing);
    cr->set_source_rgb(1, 1, 1);
    cr->show_text(makersite::Name);
    return toPixbuf(surface);
}

Glib::RefPtr<Gdk::Pixbuf> icon(int size)
{
    return appicon::draw(size);
}

Glib::RefPtr<Gdk::Pixbuf> frame(int index, int size)
{
    auto surface = Cairo::ImageSurface::create(Cairo::FORMAT_ARGB32, size, size);
    auto cr = Cairo::Context::create(surface);
    cr->scale(size / 64.0, size / 64.0);
    const int step = ((index % 8) + 8) % 8;
    double r, g, b;
    hsv(step * 45.0, 200 / 255.0, 250 / 255.0, r, g, b);
    star(cr, 32, 32, 29, 12, step * 9.0);
    cr->set_source_rgb(r, g, b);
    cr->fill_preserve();
    cr->set_source_rgb(r / 1.6, g / 1.6, b / 1.6);
    cr->set_line_width(2);
    cr->stroke();
    cr->arc(32, 32, 6, 0, 2 * M_PI);
    cr->set_source_rgba(1, 1, 1, 170 / 255.0);
    cr->fill();
    return toPixbuf(surface);
}

Glib::RefPtr<Gdk::Pixbuf> pointer()
{
    auto surface = Cairo::ImageSurface::create(Cairo::FORMAT_ARGB32, 32, 32);
    auto cr = Cairo::Context::create(surface);
    const double arrow[][2] = {{1, 1}, {1, 19}, {6, 14}, {10, 22}, {13, 20}, {9, 13}, {16, 13}};
    cr->move_to(arrow[0][0], arrow[0][1]);
    for (const auto &point : arrow)
        cr->line_to(point[0], point[1]);
    cr->close_path();
    cr->set_source_rgb(0x13 / 255.0, 0x24 / 255.0, 0x4d / 255.0);
    cr->fill_preserve();
    cr->set_source_rgb(1, 1, 1);
    cr->set_line_width(1.5);
    cr->stroke();
    star(cr, 22, 22, 8, 3.4, 0);
    cr->set_source_rgb(0xf2 / 255.0, 0xb1 / 255.0, 0x34 / 255.0);
    cr->fill_preserve();
    cr->set_source_rgb(0x8a / 255.0, 0x5a / 255.0, 0);
    cr->set_line_width(1);
    cr->stroke();
    return toPixbuf(surface);
}

} // namespace aboutpictures
