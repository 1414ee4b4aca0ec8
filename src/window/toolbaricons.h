#pragma once

#include <gdkmm/pixbuf.h>
#include <string>

// The pictures of the navigation toolbar, drawn in code and keyed like the
// toolbar's image list: "left", "righ", "stop", "refresh", "home" and "one"
// to "ten".
namespace toolbaricons {

// Edge length of every picture, in pixels.
constexpr int Size = 24;

// An empty (transparent) picture for an unknown key.
Glib::RefPtr<Gdk::Pixbuf> draw(const std::string &key, int size = Size);
// The picture key of a toolbar button key ("back" -> "left" ...).
std::string pictureFor(const std::string &buttonKey);

} // namespace toolbaricons
