#include "engine/hostdisplay.h"

#include <glib.h>

#include <set>
#include <vector>

namespace hostdisplay {
namespace {

using Scripts = std::set<GUnicodeScript>;

// The scripts a language is written in; Latin is everyone's.
Scripts scriptsOf(const std::string &languages)
{
    Scripts scripts{G_UNICODE_SCRIPT_LATIN};
    const struct
    {
        const char *codes;
        std::vector<GUnicodeScript> scripts;
    } table[] = {
        {" ru uk bg sr be mk kk ", {G_UNICODE_SCRIPT_CYRILLIC}},
        {" el ", {G_UNICODE_SCRIPT_GREEK}},
        {" ja ", {G_UNICODE_SCRIPT_HAN, G_UNICODE_SCRIPT_HIRAGANA, G_UNICODE_SCRIPT_KATAKANA}},
        {" zh ", {G_UNICODE_SCRIPT_HAN}},
        {" ko ", {G_UNICODE_SCRIPT_HANGUL, G_UNICODE_SCRIPT_HAN}},
        {" ar fa ur ", {G_UNICODE_SCRIPT_ARABIC}},
        {" he ", {G_UNICODE_SCRIPT_HEBREW}},
        {" hi mr ne ", {G_UNICODE_SCRIPT_DEVANAGARI}},
        {" th ", {G_UNICODE_SCRIPT_THAI}},
    };
    gchar **names = g_strsplit(languages.c_str(), ":", -1);
    for (gchar **name = names; *name; ++name) {
        // "pt_BR.UTF-8@euro" -> "pt"
        std::string code = *name;
        code = code.substr(0, code.find_first_of("_.@-"));
        for (char &c : code)
            c = g_ascii_tolower(c);
        for (const auto &row : table) {
            if (!code.empty() && std::string(row.codes).find(' ' + code + ' ') != std::string::npos)
                scripts.insert(row.scripts.begin(), row.scripts.end());
        }
    }
    g_strfreev(names);
    return scripts;
}

// Cyrillic and Greek letters that pass for Latin ones in a host name.
bool looksLatin(gunichar c)
{
    static const std::set<gunichar> lookalikes{
        0x0430, 0x0435, 0x043E, 0x0440, 0x0441, 0x0443, 0x0445, 0x0456, 0x0458, 0x04CF, 0x0455,
        0x0501, 0x051B, 0x051D, 0x04BB, 0x050D, 0x04BD, 0x0475, 0x0461, 0x04AF, 0x043F, 0x0433,
        // Greek
        0x03B1, 0x03B9, 0x03BA, 0x03BD, 0x03BF, 0x03C1, 0x03C4, 0x03C5, 0x03C7, 0x03C9, 0x03F2, 0x03F3};
    return lookalikes.count(c) > 0;
}

// Characters that pass for the '/', '.' or ':' of an address.
bool looksLikePunctuation(gunichar c)
{
    switch (c) {
    case 0x2044: case 0x2215: case 0x2571: case 0x29F8: case 0xFF0F: case 0x0338: // slashes
    case 0x2024: case 0xFE52: case 0x0589: case 0x05C3: case 0x2236: case 0xA789: // dots, colons
        return true;
    default:
        return false;
    }
}

Scripts scriptsIn(const std::string &label, bool *allLookalikes, bool *punctuation)
{
    Scripts scripts;
    *allLookalikes = true;
    *punctuation = false;
    for (const char *p = label.c_str(); *p; p = g_utf8_next_char(p)) {
        const gunichar c = g_utf8_get_char(p);
        const GUnicodeScript script = g_unichar_get_script(c);
        *punctuation = *punctuation || looksLikePunctuation(c);
        if (script == G_UNICODE_SCRIPT_COMMON || script == G_UNICODE_SCRIPT_INHERITED)
            continue;
        scripts.insert(script);
        *allLookalikes = *allLookalikes && looksLatin(c);
    }
    return scripts;
}

bool within(const Scripts &scripts, const Scripts &allowed)
{
    for (GUnicodeScript s : scripts) {
        if (!allowed.count(s))
            return false;
    }
    return true;
}

// One script, or the scripts one language writes together.
bool singleScript(const Scripts &scripts)
{
    static const Scripts japanese{G_UNICODE_SCRIPT_HAN, G_UNICODE_SCRIPT_HIRAGANA,
                                  G_UNICODE_SCRIPT_KATAKANA};
    static const Scripts korean{G_UNICODE_SCRIPT_HAN, G_UNICODE_SCRIPT_HANGUL};
    return scripts.size() <= 1 || within(scripts, japanese) || within(scripts, korean);
}

bool isAscii(const std::string &text)
{
    for (unsigned char c : text) {
        if (c >= 0x80)
            return false;
    }
    return true;
}

// Whether a host in its Unicode form may be shown so.
bool safe(const std::string &unicodeHost, const Scripts &allowed)
{
    gchar **labels = g_strsplit(unicodeHost.c_str(), ".", -1);
    std::vector<std::string> parts;
    for (gchar **label = labels; *label; ++label) {
        if (**label)
            parts.emplace_back(*label);
    }
    g_strfreev(labels);
    Scripts tld;
    if (!parts.empty()) {
        bool unused = false;
        tld = scriptsIn(parts.back(), &unused, &unused);
    }
    for (const std::string &label : parts) {
        if (isAscii(label))
            continue;
        bool allLookalikes = false;
        bool punctuation = false;
        const Scripts scripts = scriptsIn(label, &allLookalikes, &punctuation);
        if (punctuation || !singleScript(scripts) || !within(scripts, allowed))
            return false;
        // An all-Cyrillic "аррӏе" under ".com" is a Latin name in disguise.
        const bool imitates = scripts.count(G_UNICODE_SCRIPT_CYRILLIC) || scripts.count(G_UNICODE_SCRIPT_GREEK);
        if (imitates && allLookalikes && tld != scripts)
            return false;
    }
    return true;
}

std::string owned(gchar *text)
{
    std::string result = text ? text : "";
    g_free(text);
    return result;
}

} // namespace

std::string displayHost(const std::string &host, const std::string &languages)
{
    if (host.empty() || g_hostname_is_ip_address(host.c_str()) || !g_utf8_validate(host.data(), gssize(host.size()), nullptr))
        return host;
    if (isAscii(host) && !g_hostname_is_ascii_encoded(host.c_str()))
        return host;
    const std::string ascii = owned(g_hostname_to_ascii(host.c_str()));
    const std::string unicode = ascii.empty() ? std::string() : owned(g_hostname_to_unicode(ascii.c_str()));
    if (unicode.empty())
        return isAscii(host) ? host : ascii.empty() ? host : ascii;
    if (safe(unicode, scriptsOf(languages)))
        return unicode;
    return isAscii(host) ? host : ascii;
}

std::string displayAddress(const std::string &address, const std::string &languages)
{
    // scheme "://" [userinfo "@"] host [":" port] [path...]
    const size_t scheme = address.find("://");
    if (scheme == std::string::npos || scheme == 0 || !g_ascii_isalpha(address[0]))
        return address;
    for (size_t i = 1; i < scheme; ++i) {
        const char c = address[i];
        if (!g_ascii_isalnum(c) && c != '+' && c != '-' && c != '.')
            return address;
    }
    const size_t authority = scheme + 3;
    size_t end = address.find_first_of("/?#", authority);
    if (end == std::string::npos)
        end = address.size();
    const size_t at = address.rfind('@', end == 0 ? 0 : end - 1);
    const size_t hostStart = at != std::string::npos && at >= authority ? at + 1 : authority;
    size_t hostEnd = end;
    if (hostStart < end && address[hostStart] != '[') {
        const size_t colon = address.find(':', hostStart);
        if (colon != std::string::npos && colon < end)
            hostEnd = colon;
    }
    const std::string host = address.substr(hostStart, hostEnd - hostStart);
    if (host.empty() || host[0] == '[')
        return address;
    return address.substr(0, hostStart) + displayHost(host, languages) + address.substr(hostEnd);
}

static std::string userLanguages()
{
    std::string languages;
    for (const gchar *const *name = g_get_language_names(); *name; ++name)
        languages += (languages.empty() ? "" : ":") + std::string(*name);
    return languages;
}

std::string forUser(const std::string &address)
{
    return displayAddress(address, userLanguages());
}

std::string hostForUser(const std::string &address)
{
    GUri *uri = g_uri_parse(address.c_str(), G_URI_FLAGS_NONE, nullptr);
    const std::string host = uri && g_uri_get_host(uri) ? g_uri_get_host(uri) : "";
    if (uri)
        g_uri_unref(uri);
    return displayHost(host, userLanguages());
}

} // namespace hostdisplay
