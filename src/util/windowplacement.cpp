#include "util/windowplacement.h"

#include <algorithm>
#include <cmath>

namespace windowplacement {

Point centred(const Rect &area, int outerWidth, int outerHeight, int raiseTwips)
{
    if (outerWidth > area.width || outerHeight > area.height)
        return {area.x, area.y};
    const double left = (area.width - outerWidth) / 2.0;
    const double top = (area.height - outerHeight) / 2.0 - double(raiseTwips) / TwipsPerPixel;
    // Raised above the middle, a window nearly as tall as the area would lose its title bar.
    return {area.x + int(std::lround(left)), area.y + std::max(0, int(std::lround(top)))};
}

} // namespace windowplacement
