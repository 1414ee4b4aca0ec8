#pragma once

#include <cstdint>
#include <gdkmm/rgba.h>
#include <optional>
#include <string>

// Colours are stored as the platform's colour number: red in the lowest byte,
// then green, then blue ("255" is pure red, "16777215" white, "0" black).
namespace colournumber {

std::uint32_t fromRgba(const Gdk::RGBA &colour);
Gdk::RGBA toRgba(std::uint32_t number);
// nullopt when the text is not a whole decimal number naming a valid colour.
std::optional<std::uint32_t> fromText(const std::string &text);

} // namespace colournumber
