#pragma once

#include <QString>

// Every application name, section and key the program stores, in one place.
// Defaults are not here on purpose: the same key is read with different
// defaults at different places, so each read site passes its own.
namespace keys {

inline const QString App = QStringLiteral("Skimlark");

inline const QString Home = QStringLiteral("Home");
inline const QString MRURL = QStringLiteral("MRURL");
inline const QString CboCount = QStringLiteral("cbocount");
inline const QString Internet = QStringLiteral("Internet");

inline const QString Engine = QStringLiteral("Engine");
inline const QString Address = QStringLiteral("Address");
inline QString favoriteSlot(int n) { return QStringLiteral("Address%1").arg(n); }
inline const QString AddressbarFontColor = QStringLiteral("Addressbarfontcolor");
inline const QString AddressbarBackgroundColor = QStringLiteral("Addressbarbackgroundcolor");
inline const QString SearchboxFontColor = QStringLiteral("Searchboxfontcolor");
inline const QString SearchboxBackgroundColor = QStringLiteral("Searchboxbackgroundcolor");
inline const QString Count = QStringLiteral("count");
// Section Internet: the page engine's choices, "1" on and "0" off.
inline const QString JavaScript = QStringLiteral("JavaScript");
inline const QString LoadImages = QStringLiteral("LoadImages");

} // namespace keys
