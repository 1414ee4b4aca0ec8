#include "util/colournumber.h"

#include <algorithm>
#include <cmath>
#include <glib.h>

namespace colournumber {

static std::uint32_t channel(double value)
{
    return std::uint32_t(std::lround(std::clamp(value, 0.0, 1.0) * 255.0));
}

std::uint32_t fromRgba(const Gdk::RGBA &colour)
{
    return channel(colour.get_red()) | (channel(colour.get_green()) << 8)
           | (channel(colour.get_blue()) << 16);
}

Gdk::RGBA toRgba(std::uint32_t number)
{
    Gdk::RGBA colour;
    colour.set_rgba_u((number & 0xFF) * 257, ((number >> 8) & 0xFF) * 257,
                      ((number >> 16) & 0xFF) * 257);
    return colour;
}

std::optional<std::uint32_t> fromText(const std::string &text)
{
    // Blanks around the number are tolerated, as hand-edited files have them.
    const auto first = text.find_first_not_of(" \t");
    const auto last = text.find_last_not_of(" \t");
    if (first == std::string::npos)
        return std::nullopt;
    const std::string number = text.substr(first, last - first + 1);
    gint64 value = 0;
    if (!g_ascii_string_to_signed(number.c_str(), 10, 0, 0xFFFFFF, &value, nullptr))
        return std::nullopt;
    return std::uint32_t(value);
}

} // namespace colournumber
