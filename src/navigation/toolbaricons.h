#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>

// The pictures of the navigation toolbar, drawn in code and keyed like the
// toolbar's image list: "left", "righ", "stop", "refresh", "home" and
// "one" to "ten". Every picture is drawn afresh at each pixel density, so it
// stays sharp on high-density screens.
namespace toolbaricons {

// Logical edge length of every picture.
constexpr int Size = 24;

QStringList keys();
// An empty pixmap for an unknown key.
QPixmap draw(const QString &key, int size, qreal devicePixelRatio);
// The picture at 1x and 2x.
QIcon icon(const QString &key);
// The picture key of a toolbar button key ("back" -> "left" ...).
QString pictureFor(const QString &buttonKey);

} // namespace toolbaricons
