#pragma once

// Where a window goes on a screen: pixels, in the screen's coordinates.
namespace windowplacement {

struct Rect { int x, y, width, height; };
struct Point { int x, y; bool operator==(const Point &o) const { return x == o.x && y == o.y; } };

// A control's place as the layouts give it, in twips: left, top, width, height.
struct Place { int left, top, width, height; };

constexpr int TwipsPerPixel = 15;
constexpr int pixels(int twips) { return (twips + TwipsPerPixel / 2) / TwipsPerPixel; }

// The top-left corner for a window of the given outer (framed) size: centred
// in the work area and `raiseTwips` above its middle. A window that does not
// fit starts at the work area's top-left corner rather than off screen.
Point centred(const Rect &workArea, int outerWidth, int outerHeight, int raiseTwips);

} // namespace windowplacement
