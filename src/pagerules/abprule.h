#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One line of a list in Adblock Plus text form, read into what the page
// engine's content blockers can express. Nothing here knows the engine: the
// converter renders these into its rules.
namespace abprule {

// Where a rule belongs among the engine's rules: their order matters, since
// an exception only undoes the rules before it.
enum class Stage {
    Block,
    // One rule: a page's own document is never blocked by the rules above.
    PageRescue,
    // Rules that block pages themselves ($document).
    PageBlock,
    NetworkException,
    ImportantBlock,
    GenericHide,
    GenericHideException,
    DomainHide,
    ElementHideException,
    PageException,
};

// What a request must be for a network rule to act on it.
struct Trigger
{
    // A regular expression of the engine's subset, matched against the address.
    std::string urlFilter = ".*";
    bool caseSensitive = false;
    std::vector<std::string> resourceTypes;
    // "", "first-party" or "third-party".
    std::string loadType;
    // "" or "child-frame" (a frame's own document).
    std::string loadContext;
    // Page hosts, each "*host" (the host and its subdomains); at most one of
    // the three lists is used.
    std::vector<std::string> ifDomain;
    std::vector<std::string> unlessDomain;
    std::vector<std::string> ifTopUrl;
};

struct NetworkRule
{
    Stage stage = Stage::Block;
    // One rule may need two triggers (frames are told apart by their context).
    std::vector<Trigger> triggers;
};

// `##selector` (generic, maybe with ~excluded hosts), `hosts##selector`, or
// an exception `#@#` for them.
struct HidingRule
{
    bool exception = false;
    std::string selector;
    std::vector<std::string> hosts;
    std::vector<std::string> exceptHosts;
};

enum class Kind { Nothing, Network, Hiding, Unsupported };

struct Line
{
    Kind kind = Kind::Nothing;
    NetworkRule network;
    HidingRule hiding;
};

// Reads one line: comments, headers and blank lines are Nothing; a rule the
// engine cannot express (scriptlets, redirects, extended selectors, unknown
// options, text that is not ASCII where the engine needs it) is Unsupported.
Line read(std::string_view line);

// The address pattern of a rule (its options taken off) as a regular
// expression of the engine's subset; nullopt when it has none.
std::optional<std::string> patternToRegex(std::string_view pattern);

// The host a pattern names and nothing else ("||example.com^"), or "".
std::string patternHost(std::string_view pattern);

// A list's host names ("a.com|~b.com" with '|', "a.com,~b.com" with ','), in
// lower case; false when one cannot be a page host (wildcards, non-ASCII).
bool readHosts(std::string_view text, char separator, std::vector<std::string> &hosts,
               std::vector<std::string> &excluded);

} // namespace abprule
