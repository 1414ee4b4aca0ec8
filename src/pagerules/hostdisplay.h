#pragma once

#include <string>

// How an address or host is shown to the user. A host passes when every
// label passes ICU's spoof checks (UTS #39: the highly restrictive level, so
// no mixing of scripts beyond the CJK ones, no invisible or mixed-number
// tricks, only characters recommended for identifiers and written in the
// user's languages) and does not pass for a plain ASCII name: a label whose
// skeleton is all ASCII (an all-Cyrillic "аррӏе", "gıthub") fails, unless the
// top-level domain is written in the label's own script, as are Latin letters
// that imitate others (ı ɡ ǀ ɑ ĸ, small capitals). So does a label that is an
// ASCII name once its marks are taken away ("ạpple", "bańk"), unless it is
// Latin written in the alphabet of one of the user's languages ("café" for a
// French reader). A host that fails is shown
// in its xn-- form; plain ASCII hosts show as they are. A user name or
// password in an address is never shown. Pure functions: the user's
// languages come as an argument (g_get_language_names() at the call site).
namespace hostdisplay {
std::string displayHost(const std::string &host, const std::string &languages);
// The address with its host shown as displayHost() would and without its user
// name and password; the rest unchanged.
std::string displayAddress(const std::string &address, const std::string &languages);
// displayAddress() with the languages of the running program.
std::string forUser(const std::string &address);
// The address's host as displayHost() shows it to this user; "" if it has none.
std::string hostForUser(const std::string &address);
}
