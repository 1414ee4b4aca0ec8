#include "pagerules/abprule.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <glib.h>
#include <set>

namespace abprule {

namespace {

// The engine's resource types but documents. A rule that names no type gives
// the engine none either: it acts on every request, a frame's document
// included, and a page's own document is let through by one exception after
// them (rules that outrank exceptions, which come later, name these).
const std::vector<std::string> DefaultTypes = {"image", "style-sheet", "script", "font", "svg-document",
                                               "media", "ping",  "fetch",       "websocket", "other"};

// Adblock Plus type options and the engine's resource types they mean.
// A frame's document is "document" in a child frame's context.
struct TypeName
{
    const char *option;
    const char *type;
};
const TypeName TypeNames[] = {
    {"script", "script"},       {"image", "image"},         {"stylesheet", "style-sheet"},
    {"css", "style-sheet"},     {"font", "font"},           {"media", "media"},
    {"xmlhttprequest", "fetch"}, {"xhr", "fetch"},          {"websocket", "websocket"},
    {"ping", "ping"},           {"beacon", "ping"},         {"other", "other"},
    {"object", "other"},        {"subdocument", "frame"},   {"frame", "frame"},
};

// Options that change a request or a page instead of blocking it, or that
// only another blocker can honour.
const char *const Unsupported[] = {
    "redirect", "redirect-rule", "csp", "removeparam", "rewrite", "replace", "header", "permissions",
    "urltransform", "uritransform", "urlskip", "to", "denyallow", "method", "popup", "popunder",
    "genericblock", "badfilter", "all", "empty", "mp4", "inline-script", "inline-font", "strict1p",
    "strict3p", "ipaddress", "cname", "webrtc", "sitekey", "reason",
};

// Extended selectors of other blockers, which no style sheet understands.
const char *const ProceduralSelectors[] = {
    ":has-text(", ":-abp-has(", ":-abp-contains(", ":-abp-properties(", ":contains(", ":xpath(",
    ":upward(",   ":matches-css", ":matches-path(", ":matches-attr(", ":matches-prop(", ":min-text-length(",
    ":nth-ancestor(", ":others(", ":remove(", ":remove-attr(", ":remove-class(", ":style(", ":watch-attr(",
    ":if(", ":if-not(", ":matches-media(", ":shadow-dom-",
};

// Markers of cosmetic rules that are not plain hiding: scriptlets, snippets,
// extended or HTML filters.
const char *const OtherCosmeticMarkers[] = {"#$#", "#@$#", "#?#", "#@?#", "#%#", "#@%#", "##+js", "#@#+js", "##^", "#@#^"};

bool startsWith(std::string_view text, std::string_view start)
{
    return text.substr(0, start.size()) == start;
}

bool isAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7f; });
}

// Whether the bytes are UTF-8 without control characters.
bool isCleanText(std::string_view text)
{
    return g_utf8_validate_len(text.data(), text.size(), nullptr)
           && std::none_of(text.begin(), text.end(), [](char c) { return (c >= 0 && c < 0x20) || c == 0x7f; });
}

std::string lower(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return result;
}

bool isHostCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_';
}

// A separator of Adblock Plus patterns: anything but a letter, a digit or _-.%
const char Separator[] = "[^a-zA-Z0-9_.%-]";
// Where "||" anchors a pattern: any scheme, the host or one of its parents.
const char HostAnchor[] = "^[a-z]+://([a-z0-9-]+\\.)*";

// A regular expression of a /.../ rule, kept when it stays within what the
// engine's compiler takes: no alternatives, no counted repeats, no classes
// by letter, no look-around.
bool withinEngineSubset(std::string_view regex)
{
    if (!isAscii(regex) || regex.empty())
        return false;
    int depth = 0;
    bool inClass = false;
    for (std::size_t i = 0; i < regex.size(); ++i) {
        const char c = regex[i];
        if (c == '\\') {
            if (i + 1 >= regex.size() || std::isalnum(static_cast<unsigned char>(regex[i + 1])))
                return false;
            ++i;
            continue;
        }
        if (inClass) {
            if (c == ']')
                inClass = false;
            else if (c == '[')
                return false;
            continue;
        }
        switch (c) {
        case '[': inClass = true; break;
        case '(':
            if (i + 1 < regex.size() && regex[i + 1] == '?')
                return false;
            ++depth;
            break;
        case ')':
            if (--depth < 0)
                return false;
            break;
        case '|': case '{': case '}': return false;
        case '^':
            if (i != 0)
                return false;
            break;
        case '$':
            if (i + 1 != regex.size())
                return false;
            break;
        default: break;
        }
    }
    return depth == 0 && !inClass;
}

struct Options
{
    bool exception = false;
    bool important = false;
    bool matchCase = false;
    bool elementHide = false;     // $elemhide
    bool genericHide = false;     // $generichide
    std::string loadType;
    std::set<std::string> types;  // engine types, "frame" for a frame's document
    std::set<std::string> notTypes;
    bool document = false;
    std::vector<std::string> hosts, excluded;
};

// Reads the options after '$'; false when one cannot be honoured.
bool readOptions(std::string_view text, Options &options)
{
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string option = lower(text.substr(start, end - start));
        start = end + 1;
        if (option.empty())
            return false;
        const bool negated = option[0] == '~';
        std::string name = negated ? option.substr(1) : option;
        std::string value;
        if (const auto equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (std::find(std::begin(Unsupported), std::end(Unsupported), name) != std::end(Unsupported))
            return false;
        if (name == "domain" || name == "from") {
            if (negated || !readHosts(value, '|', options.hosts, options.excluded))
                return false;
        } else if (name == "third-party" || name == "3p") {
            options.loadType = negated ? "first-party" : "third-party";
        } else if (name == "first-party" || name == "1p") {
            options.loadType = negated ? "third-party" : "first-party";
        } else if (name == "match-case" && !negated) {
            options.matchCase = true;
        } else if (name == "important" && !negated) {
            options.important = true;
        } else if ((name == "document" || name == "doc") && !negated) {
            options.document = true;
        } else if ((name == "elemhide" || name == "ehide") && !negated) {
            options.elementHide = true;
        } else if ((name == "generichide" || name == "ghide") && !negated) {
            options.genericHide = true;
        } else {
            const auto type = std::find_if(std::begin(TypeNames), std::end(TypeNames),
                                           [&](const TypeName &row) { return name == row.option; });
            if (type == std::end(TypeNames) || !value.empty())
                return false;
            (negated ? options.notTypes : options.types).insert(type->type);
        }
        if (end == text.size())
            break;
    }
    return true;
}

std::vector<std::string> starred(const std::vector<std::string> &hosts)
{
    std::vector<std::string> result;
    for (const std::string &host : hosts)
        result.push_back("*" + host);
    return result;
}

bool isSubdomainOf(const std::string &host, const std::string &parent)
{
    return host.size() > parent.size() && host.compare(host.size() - parent.size(), parent.size(), parent) == 0
           && host[host.size() - parent.size() - 1] == '.';
}

// Page hosts on a trigger: included, or excluded, never both (the engine
// takes one condition). Exclusions inside included hosts cannot be said.
bool setHosts(Trigger &trigger, const std::vector<std::string> &hosts, const std::vector<std::string> &excluded)
{
    if (hosts.empty()) {
        trigger.unlessDomain = starred(excluded);
        return true;
    }
    for (const std::string &out : excluded) {
        for (const std::string &in : hosts) {
            if (out == in || isSubdomainOf(out, in))
                return false;
        }
    }
    trigger.ifDomain = starred(hosts);
    return true;
}

Line unsupported()
{
    Line line;
    line.kind = Kind::Unsupported;
    return line;
}

Line readNetwork(std::string_view text)
{
    Options options;
    if (startsWith(text, "@@")) {
        options.exception = true;
        text.remove_prefix(2);
    }
    std::string_view pattern = text;
    // The options follow the last '$', unless it ends a regular expression.
    std::size_t dollar = text.rfind('$');
    if (text.size() > 1 && text[0] == '/') {
        const std::size_t close = text.rfind("/$");
        if (close != std::string_view::npos && close > 0)
            dollar = close + 1;
        else if (text.back() == '/')
            dollar = std::string_view::npos;
    }
    if (dollar != std::string_view::npos) {
        pattern = text.substr(0, dollar);
        if (!readOptions(text.substr(dollar + 1), options))
            return unsupported();
    }
    const std::optional<std::string> regex = patternToRegex(pattern);
    if (!regex)
        return unsupported();

    Line line;
    line.kind = Kind::Network;
    NetworkRule &rule = line.network;
    Trigger base;
    base.urlFilter = *regex;
    base.caseSensitive = options.matchCase;
    base.loadType = options.loadType;

    // A whole page let through: its address is the page's, not a request's.
    if (options.exception && (options.document || options.elementHide || options.genericHide)) {
        if (!options.hosts.empty() || !options.excluded.empty())
            return unsupported();
        rule.stage = options.document       ? Stage::PageException
                     : options.elementHide ? Stage::ElementHideException
                                            : Stage::GenericHideException;
        Trigger page;
        if (const std::string host = patternHost(pattern); !host.empty())
            page.ifDomain = {"*" + host};
        else if (*regex != ".*")
            page.ifTopUrl = {*regex};
        if (!options.document)
            page.resourceTypes = {"document"};
        rule.triggers.push_back(page);
        return line;
    }
    if (options.elementHide || options.genericHide)
        return unsupported();
    if (!setHosts(base, options.hosts, options.excluded))
        return unsupported();
    rule.stage = options.exception ? Stage::NetworkException
                 : options.important ? Stage::ImportantBlock
                                     : Stage::Block;

    // Named by what they are not: every other type, frames too.
    std::set<std::string> types = options.types;
    if (types.empty() && !options.notTypes.empty()) {
        types.insert(DefaultTypes.begin(), DefaultTypes.end());
        types.insert("frame");
        for (const std::string &type : options.notTypes)
            types.erase(type);
        if (types.empty())
            return unsupported();
    }
    // Blocking a page itself comes after what lets pages through.
    if (options.document && !options.exception)
        rule.stage = Stage::PageBlock;
    if (types.empty() && rule.stage == Stage::ImportantBlock)
        types.insert(DefaultTypes.begin(), DefaultTypes.end());
    if (types.empty()) {
        // No type: every request (a page's own document is let through later).
        rule.triggers.push_back(base);
        return line;
    }
    const bool frame = types.erase("frame") > 0;
    if (!types.empty() || options.document) {
        Trigger trigger = base;
        trigger.resourceTypes.assign(types.begin(), types.end());
        if (options.document)
            trigger.resourceTypes.push_back("document");
        rule.triggers.push_back(trigger);
    }
    if (frame && !options.document) {
        Trigger trigger = base;
        trigger.resourceTypes = {"document"};
        trigger.loadContext = "child-frame";
        rule.triggers.push_back(trigger);
    }
    return line;
}

Line readHiding(std::string_view text, std::size_t marker, bool exception)
{
    const std::string_view hosts = text.substr(0, marker);
    const std::string_view selector = text.substr(marker + (exception ? 3 : 2));
    if (selector.empty() || !isCleanText(selector) || selector.find_first_of("{}") != std::string_view::npos)
        return unsupported();
    for (const char *procedural : ProceduralSelectors) {
        if (selector.find(procedural) != std::string_view::npos)
            return unsupported();
    }
    Line line;
    line.kind = Kind::Hiding;
    line.hiding.exception = exception;
    line.hiding.selector = std::string(selector);
    if (!hosts.empty() && !readHosts(hosts, ',', line.hiding.hosts, line.hiding.exceptHosts))
        return unsupported();
    return line;
}

} // namespace

bool readHosts(std::string_view text, char separator, std::vector<std::string> &hosts,
               std::vector<std::string> &excluded)
{
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(separator, start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view item = text.substr(start, end - start);
        const bool out = !item.empty() && item[0] == '~';
        if (out)
            item.remove_prefix(1);
        const std::string host = lower(item);
        if (host.empty() || host.front() == '.' || host.back() == '.'
            || !std::all_of(host.begin(), host.end(), isHostCharacter))
            return false;
        (out ? excluded : hosts).push_back(host);
        if (end == text.size())
            break;
        start = end + 1;
    }
    return !hosts.empty() || !excluded.empty();
}

std::string patternHost(std::string_view pattern)
{
    if (!startsWith(pattern, "||"))
        return std::string();
    pattern.remove_prefix(2);
    if (!pattern.empty() && (pattern.back() == '^' || pattern.back() == '/'))
        pattern.remove_suffix(1);
    const std::string host = lower(pattern);
    if (host.empty() || host.find('.') == std::string::npos
        || !std::all_of(host.begin(), host.end(), isHostCharacter))
        return std::string();
    return host;
}

std::optional<std::string> patternToRegex(std::string_view pattern)
{
    if (pattern.size() > 2 && pattern.front() == '/' && pattern.back() == '/') {
        const std::string_view regex = pattern.substr(1, pattern.size() - 2);
        if (!withinEngineSubset(regex))
            return std::nullopt;
        return std::string(regex);
    }
    if (!isAscii(pattern))
        return std::nullopt;
    std::string regex;
    bool hostAnchored = false;
    if (startsWith(pattern, "||")) {
        regex = HostAnchor;
        hostAnchored = true;
        pattern.remove_prefix(2);
    } else if (startsWith(pattern, "|")) {
        regex = "^";
        pattern.remove_prefix(1);
    }
    bool endAnchored = false;
    if (!pattern.empty() && pattern.back() == '|') {
        endAnchored = true;
        pattern.remove_suffix(1);
    }
    // Still in the host: a separator there is where the host ends.
    bool inHost = hostAnchored;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '*') {
            if (regex.size() < 2 || regex.compare(regex.size() - 2, 2, ".*") != 0)
                regex += ".*";
            continue;
        }
        if (c == '^') {
            const bool last = i + 1 == pattern.size();
            if (inHost)
                regex += "[/:]";
            else if (last && !endAnchored)
                regex += std::string("(") + Separator + ".*)?$";
            else
                regex += Separator;
            inHost = false;
            continue;
        }
        if (c == '/' || c == ':' || c == '?')
            inHost = false;
        if (std::string_view("\\.+?()[]{}$|").find(c) != std::string_view::npos)
            regex += '\\';
        regex += c;
    }
    if (endAnchored)
        regex += "$";
    // A search needs no leading or trailing "anything".
    if (startsWith(regex, ".*"))
        regex.erase(0, 2);
    if (regex.size() >= 2 && regex.compare(regex.size() - 2, 2, ".*") == 0
        && (regex.size() < 3 || regex[regex.size() - 3] != '\\'))
        regex.resize(regex.size() - 2);
    if (regex.empty() || regex == "^")
        return std::string(".*");
    return regex;
}

Line read(std::string_view text)
{
    while (!text.empty() && (text.back() == '\r' || text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    if (text.empty() || text[0] == '!' || text[0] == '[')
        return Line();
    if (!isCleanText(text))
        return unsupported();
    for (const char *marker : OtherCosmeticMarkers) {
        if (text.find(marker) != std::string_view::npos)
            return unsupported();
    }
    if (const auto marker = text.find("#@#"); marker != std::string_view::npos)
        return readHiding(text, marker, true);
    if (const auto marker = text.find("##"); marker != std::string_view::npos)
        return readHiding(text, marker, false);
    return readNetwork(text);
}

} // namespace abprule
