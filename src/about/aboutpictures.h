#pragma once

#include <QCursor>
#include <QPixmap>

// The About box's pictures, drawn rather than shipped.
namespace aboutpictures {

// The maker's logo, 150 by 40 pixels.
QPixmap logo();
// The dialog's icon, the one the user can drag.
QPixmap icon(int size);
// Frame `index` (0 to 7) of the hidden animation: a spinning, hue-cycling star.
QPixmap frame(int index, int size = 64);
// The pointer over the maker's name: a small pointing arrow with a star.
QCursor pointer();

} // namespace aboutpictures
