#pragma once

#include <QColor>
#include <QString>
#include <optional>

// Colours are stored as the platform's colour number: red in the lowest byte,
// then green, then blue ("255" is pure red, "16777215" white, "0" black).
namespace colournumber {

int fromColor(const QColor &colour);
QString textFromColor(const QColor &colour);
// nullopt when the text is not a whole decimal number naming a valid colour.
std::optional<QColor> colorFromText(const QString &text);

} // namespace colournumber
