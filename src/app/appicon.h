#pragma once

#include <QIcon>
#include <QPixmap>

// The program's icon, drawn rather than shipped so it is crisp at any size:
// a magnifying glass over a blue globe.
namespace appicon {
QPixmap draw(int size, qreal devicePixelRatio = 1.0);
QIcon icon();
}
