#pragma once

#include <string>

// How an address or host is shown to the user. A host that mixes scripts, or
// is written wholly in letters that imitate another script's (an all-Cyrillic
// "аррӏе.com"), or uses a script outside the user's languages, is shown in its
// xn-- form; plain ASCII and single-script hosts of the user's languages show
// as they are. Pure functions: the user's languages come as an argument
// (g_get_language_names() at the call site).
namespace hostdisplay {
std::string displayHost(const std::string &host, const std::string &languages);
// The address with its host shown as displayHost() would; the rest unchanged.
std::string displayAddress(const std::string &address, const std::string &languages);
// displayAddress() with the languages of the running program.
std::string forUser(const std::string &address);
// The address's host as displayHost() shows it to this user; "" if it has none.
std::string hostForUser(const std::string &address);
}
