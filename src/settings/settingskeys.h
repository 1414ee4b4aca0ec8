#pragma once

#include <string>

// Every application name, section and key the program stores, in one place.
// Defaults are not here on purpose: the same key is read with different
// defaults at different places, so each read site passes its own.
namespace keys {

inline const std::string App = "Skimlark";

inline const std::string Home = "Home";
inline const std::string MRURL = "MRURL";
inline const std::string CboCount = "cbocount";
inline const std::string Internet = "Internet";

inline const std::string Engine = "Engine";
inline const std::string Address = "Address";
inline std::string favoriteSlot(int n) { return "Address" + std::to_string(n); }
inline const std::string AddressbarFontColor = "Addressbarfontcolor";
inline const std::string AddressbarBackgroundColor = "Addressbarbackgroundcolor";
inline const std::string SearchboxFontColor = "Searchboxfontcolor";
inline const std::string SearchboxBackgroundColor = "Searchboxbackgroundcolor";
inline const std::string Count = "count";
// Section Internet: the page engine's choices, "1" on and "0" off.
inline const std::string JavaScript = "JavaScript";
inline const std::string LoadImages = "LoadImages";
inline const std::string BlockTrackers = "BlockTrackers";
// Section AdsAllowed: one key per host where the user let trackers and ads
// load, "1" allowed.
inline const std::string AdsAllowed = "AdsAllowed";

} // namespace keys
