#include "window/toolbaricons.h"

#include <cairomm/context.h>
#include <cairomm/surface.h>
#include <cmath>
#include <gdkmm/general.h>
#include <pangomm/layout.h>

namespace toolbaricons {
namespace {

using Cr = Cairo::RefPtr<Cairo::Context>;

const char *const FavoriteKeys[] = {"one", "two", "three", "four", "five",
                                    "six", "seven", "eight", "nine", "ten"};

struct Rgb { double r, g, b; };
constexpr Rgb hex(unsigned v) { return {((v >> 16) & 0xFF) / 255.0, ((v >> 8) & 0xFF) / 255.0, (v & 0xFF) / 255.0}; }

void source(const Cr &cr, Rgb c, double alpha = 1.0) { cr->set_source_rgba(c.r, c.g, c.b, alpha); }

// Every navigation picture is a round badge in the same light, so the group
// reads as one set; the favorites share a star.
void badge(const Cr &cr, Rgb light, Rgb dark)
{
    auto fill = Cairo::LinearGradient::create(0, 2, 0, 22);
    fill->add_color_stop_rgb(0, light.r, light.g, light.b);
    fill->add_color_stop_rgb(1, dark.r, dark.g, dark.b);
    cr->arc(12, 12, 10.5, 0, 2 * M_PI);
    cr->set_source(fill);
    cr->fill_preserve();
    source(cr, {dark.r * 0.7, dark.g * 0.7, dark.b * 0.7});
    cr->set_line_width(1.0);
    cr->stroke();
    // A soft highlight along the upper rim.
    cr->arc_negative(12, 11.5, 8.5, -M_PI / 6, -5 * M_PI / 6);
    cr->set_source_rgba(1, 1, 1, 0.43);
    cr->stroke();
}

void outlineAndFill(const Cr &cr, Rgb outline, double width)
{
    cr->set_source_rgb(1, 1, 1);
    cr->fill_preserve();
    source(cr, outline);
    cr->set_line_width(width);
    cr->set_line_join(Cairo::LINE_JOIN_ROUND);
    cr->stroke();
}

void arrow(const Cr &cr, bool left)
{
    badge(cr, hex(0x7cc86a), hex(0x2e7d32));
    cr->save();
    if (!left) {
        // Drawn pointing left, mirrored for forward.
        cr->translate(24, 0);
        cr->scale(-1, 1);
    }
    const double points[][2] = {{6, 12}, {12, 6.5}, {12, 9.8}, {18, 9.8}, {18, 14.2}, {12, 14.2}, {12, 17.5}};
    cr->move_to(points[0][0], points[0][1]);
    for (const auto &p : points)
        cr->line_to(p[0], p[1]);
    cr->close_path();
    cr->restore();
    outlineAndFill(cr, hex(0x1b5e20), 0.6);
}

void whiteStroke(const Cr &cr, double width)
{
    cr->set_source_rgb(1, 1, 1);
    cr->set_line_width(width);
    cr->set_line_cap(Cairo::LINE_CAP_ROUND);
    cr->stroke();
}

void stop(const Cr &cr)
{
    badge(cr, hex(0xf27a6e), hex(0xb71c1c));
    cr->move_to(8.2, 8.2);
    cr->line_to(15.8, 15.8);
    cr->move_to(15.8, 8.2);
    cr->line_to(8.2, 15.8);
    whiteStroke(cr, 2.6);
}

void refresh(const Cr &cr)
{
    badge(cr, hex(0x7fb8f0), hex(0x1565c0));
    // A ring open at the top, its arrow head at the open end.
    const double start = -M_PI / 2 - 10 * M_PI / 180;
    cr->arc_negative(12, 12, 5.5, start, start + 80 * M_PI / 180);
    whiteStroke(cr, 2.2);
    const double tipX = 12 + 5.5 * std::cos(start), tipY = 12 + 5.5 * std::sin(start);
    cr->move_to(tipX + 3.4, tipY);
    cr->line_to(tipX - 0.6, tipY - 3.0);
    cr->line_to(tipX - 0.6, tipY + 3.0);
    cr->close_path();
    cr->set_source_rgb(1, 1, 1);
    cr->fill();
}

void home(const Cr &cr)
{
    badge(cr, hex(0xffc46b), hex(0xe06d00));
    const double points[][2] = {{12, 5.5}, {18.5, 11.5}, {16.5, 11.5}, {16.5, 17.5}, {13.6, 17.5}, {13.6, 13.8},
                                {10.4, 13.8}, {10.4, 17.5}, {7.5, 17.5}, {7.5, 11.5}, {5.5, 11.5}};
    cr->move_to(points[0][0], points[0][1]);
    for (const auto &p : points)
        cr->line_to(p[0], p[1]);
    cr->close_path();
    outlineAndFill(cr, hex(0x8a3f00), 0.6);
}

void favorite(const Cr &cr, int number)
{
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 == 0 ? 11.2 : 5.4;
        const double angle = (-90.0 + i * 36.0) * M_PI / 180;
        cr->line_to(12 + radius * std::cos(angle), 12.8 + radius * std::sin(angle));
    }
    cr->close_path();
    auto fill = Cairo::LinearGradient::create(0, 1, 0, 23);
    fill->add_color_stop_rgb(0, 1.0, 0xe8 / 255.0, 0x7a / 255.0);
    fill->add_color_stop_rgb(1, 0xf0 / 255.0, 0xa8 / 255.0, 0);
    cr->set_source(fill);
    cr->fill_preserve();
    source(cr, hex(0xa06a00));
    cr->set_line_width(1.0);
    cr->set_line_join(Cairo::LINE_JOIN_ROUND);
    cr->stroke();

    // Set in the toolkit's own font map, whose faces the window's labels
    // already hold, rather than in a face of the drawing library's own.
    auto layout = Pango::Layout::create(cr);
    Pango::FontDescription font("Sans Bold");
    font.set_absolute_size((number < 10 ? 9 : 8) * PANGO_SCALE);
    layout->set_font_description(font);
    layout->set_text(std::to_string(number));
    Pango::Rectangle ink, logical;
    layout->get_pixel_extents(ink, logical);
    cr->move_to(12 - ink.get_width() / 2.0 - ink.get_x(), 13 - ink.get_height() / 2.0 - ink.get_y());
    source(cr, hex(0x5a3200));
    layout->show_in_cairo_context(cr);
}

} // namespace

Glib::RefPtr<Gdk::Pixbuf> draw(const std::string &key, int size)
{
    auto surface = Cairo::ImageSurface::create(Cairo::FORMAT_ARGB32, size, size);
    auto cr = Cairo::Context::create(surface);
    cr->scale(size / double(Size), size / double(Size));
    if (key == "left" || key == "righ") {
        arrow(cr, key == "left");
    } else if (key == "stop") {
        stop(cr);
    } else if (key == "refresh") {
        refresh(cr);
    } else if (key == "home") {
        home(cr);
    } else {
        for (int n = 1; n <= 10; ++n) {
            if (key == FavoriteKeys[n - 1])
                favorite(cr, n);
        }
    }
    surface->flush();
    return Gdk::Pixbuf::create(surface, 0, 0, size, size);
}

std::string pictureFor(const std::string &buttonKey)
{
    if (buttonKey == "back")
        return "left";
    if (buttonKey == "forward")
        return "righ";
    return buttonKey;
}

} // namespace toolbaricons
