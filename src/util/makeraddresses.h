#pragma once

#include <string>

// The maker's web site. The host is a reserved name, so the program's own
// traffic never reaches a third party; the program answers it itself.
namespace maker {

inline const std::string Host = "www.velmora.example";
inline const std::string Name = "Velmora";

// Where the Home Page tab goes when no home address is stored.
inline const std::string ReferralAddress =
    "http://www.velmora.example/affiliates/?x=homepage&hp=skimlark";
// Where the Home button goes when no home address is stored, and where the referral leads.
inline const std::string StartPage = "http://www.velmora.example/skimlark.htm";
inline const std::string HelpPage = "http://www.velmora.example/skimlark/skimlarkhelp.htm";
// The maker's own address: no path.
inline const std::string OwnAddress = "http://www.velmora.example";

} // namespace maker
