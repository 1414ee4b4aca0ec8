#pragma once

#include <optional>
#include <string>

// The maker's web site, answered by the program itself. Its pages live under
// a private scheme of ours; the user only ever sees their real
// http://www.velmora.example/... addresses, and no request for the host
// leaves the machine.
namespace makersite {

// The host is a reserved name, so the program's own traffic never reaches a
// third party.
inline const std::string Host = "www.velmora.example";
inline const std::string Name = "Velmora";
// The maker's own address: no path.
inline const std::string OwnAddress = "http://www.velmora.example";
// Where the Home button goes when no home address is stored, and where the referral leads.
inline const std::string StartPage = "http://www.velmora.example/skimlark.htm";
inline const std::string HelpPage = "http://www.velmora.example/skimlark/skimlarkhelp.htm";
// Where the Home Page tab goes when no home address is stored.
inline const std::string ReferralAddress = "http://www.velmora.example/affiliates/?x=homepage&hp=skimlark";

// Where a page that has loaded at `address` leads on to in its place: the
// referral to the start page, leaving no step of its own in the history
// (Back from the start page must not land on a page that leads straight on
// again). An exact match only: any other spelling is a page of its own.
std::optional<std::string> leadsOn(const std::string &address);

// The private scheme the pages are served under.
inline const std::string Scheme = "skimlark-site";

// Whether the address is on the maker's host (any scheme but ours, any port).
bool isMakerAddress(const std::string &address);
// The private-scheme address serving a maker address; nullopt for any other.
std::optional<std::string> toPrivate(const std::string &address);
// The real http address of a private-scheme address; other addresses unchanged.
std::string toReal(const std::string &address);
bool isPrivate(const std::string &address);

// Whether a request for the site may be answered: only when the page on
// screen (`shownPage`, the engine's address) is one of the site's, so the
// program's own navigations and the pages' own parts, and never for another
// site's page, whatever the request says it came from (`origin`, `referrer`:
// its headers, "" when absent).
bool answersRequest(const std::string &shownPage, const std::string &origin, const std::string &referrer);

struct Reply
{
    int status = 200;
    std::string contentType;
    std::string body;
};
// What the site answers for a request; `path` without the query. The help
// page names the page engine: `engineVersion` ("WebKitGTK 2.50.6").
Reply answer(const std::string &method, const std::string &path, const std::string &engineVersion);

// A page compiled into the program (pages/<name>), empty if missing.
std::string resourcePage(const std::string &name);

// Content-filter rules that block every request for the maker's host.
std::string blockingRules();

} // namespace makersite
