#include "util/urlinput.h"

#include "util/trimming.h"

#include <glib.h>

namespace urlinput {
namespace {

// Where the ':' of a leading "scheme:" is, or npos.
size_t schemeEnd(const std::string &text)
{
    if (text.empty() || !g_ascii_isalpha(text[0]))
        return std::string::npos;
    for (size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ':')
            return i;
        if (!g_ascii_isalnum(c) && c != '+' && c != '-' && c != '.')
            break;
    }
    return std::string::npos;
}

// "localhost:8080" or "example.com:81/x" reads as a scheme, but is a host and port.
bool isPortAfter(const std::string &text, size_t colon)
{
    size_t i = colon + 1;
    unsigned long port = 0;
    while (i < text.size() && g_ascii_isdigit(text[i]) && port <= 65535)
        port = port * 10 + unsigned(text[i++] - '0');
    return i > colon + 1 && port <= 65535
           && (i == text.size() || text[i] == '/' || text[i] == '?' || text[i] == '#');
}

std::string fileAddress(const std::string &path)
{
    gchar *canonical = g_canonicalize_filename(path.c_str(), "/");
    gchar *uri = g_filename_to_uri(canonical, nullptr, nullptr);
    std::string result = uri ? uri : "about:blank";
    g_free(uri);
    g_free(canonical);
    return result;
}

// Blanks, controls and the few characters no address may hold are escaped;
// the rest (non-ASCII included) is left for the engine to encode.
std::string webAddress(const std::string &text)
{
    std::string out = "http://";
    for (unsigned char c : text) {
        if (c <= 0x20 || c == 0x7F || c == '"' || c == '<' || c == '>' || c == '`') {
            char escaped[4];
            g_snprintf(escaped, sizeof escaped, "%%%02X", c);
            out += escaped;
        } else {
            out += char(c);
        }
    }
    return out;
}

} // namespace

std::string fromUserInput(const std::string &text, const std::string &homeDir)
{
    const std::string input = trimming::trimmed(text);
    if (input.empty())
        return "about:blank";
    if (input[0] == '/')
        return fileAddress(input);
    if (input == "~" || input.compare(0, 2, "~/") == 0)
        return fileAddress(homeDir + input.substr(1));
    // A bare IPv6 address: its colons are not a scheme.
    if (input.find(':') != std::string::npos && g_hostname_is_ip_address(input.c_str()))
        return "http://[" + input + "]";
    const size_t colon = schemeEnd(input);
    if (colon != std::string::npos && !isPortAfter(input, colon))
        return input;
    // Anything else is a web address, even a word that names a local folder.
    return webAddress(input);
}

bool lacksScheme(const std::string &text)
{
    const std::string input = trimming::trimmed(text);
    if (input.empty() || input[0] == '/' || input == "~" || input.compare(0, 2, "~/") == 0)
        return false;
    const size_t colon = schemeEnd(input);
    return colon == std::string::npos || isPortAfter(input, colon)
           || (input.find(':') != std::string::npos && g_hostname_is_ip_address(input.c_str()));
}

bool isSearchWords(const std::string &text)
{
    const std::string input = trimming::trimmed(text);
    if (input.empty() || input[0] == '/' || input[0] == '~')
        return false;
    const size_t colon = schemeEnd(input);
    if (colon != std::string::npos && !isPortAfter(input, colon))
        return false;
    const std::string host = input.substr(0, input.find_first_of("/?#"));
    return host.find_first_of(" \t") != std::string::npos;
}

std::string schemeOf(const std::string &address)
{
    const size_t colon = schemeEnd(address);
    if (colon == std::string::npos || isPortAfter(address, colon))
        return std::string();
    gchar *lower = g_ascii_strdown(address.c_str(), gssize(colon));
    std::string scheme = lower;
    g_free(lower);
    return scheme;
}

std::string hostOf(const std::string &address)
{
    GUri *parsed = g_uri_parse(address.c_str(), G_URI_FLAGS_NONE, nullptr);
    if (!parsed)
        return std::string();
    const char *host = g_uri_get_host(parsed);
    gchar *lower = host ? g_ascii_strdown(host, -1) : nullptr;
    std::string result = lower ? lower : "";
    g_free(lower);
    g_uri_unref(parsed);
    return result;
}

std::string fromUserInput(const std::string &text)
{
    return fromUserInput(text, g_get_home_dir());
}

} // namespace urlinput
