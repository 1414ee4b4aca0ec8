#include "browser/hostdisplay.h"

// Stand-in until look-alike hosts are recognised: every host shows as it is.
namespace hostdisplay {

std::string displayHost(const std::string &host, const std::string &) { return host; }

std::string displayAddress(const std::string &address, const std::string &) { return address; }

std::string forUser(const std::string &address) { return displayAddress(address, ""); }

} // namespace hostdisplay
