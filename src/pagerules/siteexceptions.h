#pragma once

#include <string>

class SettingsStore;

// The sites where the user lets trackers and ads load, remembered per host in
// the settings (section "AdsAllowed"). Every read goes to the store.
namespace siteexceptions {

// The host an exception is kept under for a page's address: lower case,
// without port or brackets; "" for an address that is no web page's.
std::string hostOf(const std::string &address);

bool allowed(const SettingsStore &settings, const std::string &host);
// False when the choice could not be stored (or the host is no host).
bool setAllowed(SettingsStore &settings, const std::string &host, bool allow);

} // namespace siteexceptions
