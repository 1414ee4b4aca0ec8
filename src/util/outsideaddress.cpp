#include "util/outsideaddress.h"

#include "util/trimming.h"
#include "util/urlinput.h"

#include <algorithm>
#include <glib.h>

namespace outsideaddress {
namespace {

constexpr std::size_t ShownLength = 200;

bool hasControls(const std::string &text)
{
    return std::any_of(text.begin(), text.end(), [](unsigned char c) { return c < 0x20 || c == 0x7F; });
}

// A host a name server could answer for: an IP address, or dot-separated
// labels of letters, digits, '-' and '_' (a non-ASCII name arrives here in
// its xn-- form).
bool isHost(const char *host)
{
    if (!host || !*host)
        return false;
    if (g_hostname_is_ip_address(host))
        return true;
    const std::string name = host;
    if (name.front() == '.' || name.find("..") != std::string::npos)
        return false;
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return g_ascii_isalnum(c) || c == '-' || c == '_' || c == '.'; });
}

bool isWebAddress(const std::string &address)
{
    GUri *uri = g_uri_parse(address.c_str(), G_URI_FLAGS_NONE, nullptr);
    const bool ok = uri && isHost(g_uri_get_host(uri));
    if (uri)
        g_uri_unref(uri);
    return ok;
}

// The file address of a path, with "." and ".." resolved against `folder`.
std::string fileAddress(const std::string &path, const std::string &folder)
{
    gchar *canonical = g_canonicalize_filename(path.c_str(), folder.empty() ? nullptr : folder.c_str());
    gchar *uri = g_filename_to_uri(canonical, nullptr, nullptr);
    std::string result = uri ? uri : "";
    g_free(uri);
    g_free(canonical);
    return result;
}

Verdict invalid(const std::string &input)
{
    gchar *valid = g_utf8_make_valid(input.c_str(), gssize(input.size()));
    std::string shown = valid;
    g_free(valid);
    std::replace_if(shown.begin(), shown.end(), [](unsigned char c) { return c < 0x20 || c == 0x7F; }, ' ');
    if (g_utf8_strlen(shown.c_str(), -1) > glong(ShownLength))
        shown = shown.substr(0, std::size_t(g_utf8_offset_to_pointer(shown.c_str(), ShownLength) - shown.c_str()))
                + "\u2026";
    return {Verdict::Invalid,
            "Skimlark cannot open \u201c" + shown + "\u201d: it is neither a web address nor a file."};
}

Verdict refused(const std::string &scheme)
{
    return {Verdict::Refuse, "Skimlark did not open the " + scheme
                                 + ": address it was handed: from outside, it opens only web pages and files."};
}

} // namespace

Verdict judge(const std::string &argument, const std::string &folder)
{
    const std::string input = trimming::trimmed(argument);
    if (input.empty())
        return {};
    if (hasControls(input))
        return invalid(input);
    const std::string scheme = urlinput::schemeOf(input);
    // A file the user named: a path, or a name in the folder they are in.
    const bool path = input[0] == '/' || input[0] == '~';
    if (scheme.empty() && !path && !folder.empty()
        && g_file_test((folder + "/" + input).c_str(), G_FILE_TEST_EXISTS))
        return {Verdict::Open, fileAddress(input, folder)};
    const std::string address = urlinput::fromUserInput(input);
    const std::string kind = urlinput::schemeOf(address);
    if (kind == "http" || kind == "https")
        return isWebAddress(address) ? Verdict{Verdict::Open, address} : invalid(input);
    if (kind == "file") {
        gchar *host = nullptr;
        gchar *file = g_filename_from_uri(address.c_str(), &host, nullptr);
        // A file on another computer is no local file the user named.
        const bool local = !host || g_ascii_strcasecmp(host, "localhost") == 0;
        const Verdict verdict = !file ? invalid(input) : local ? Verdict{Verdict::Open, fileAddress(file, "")} : refused(kind);
        g_free(host);
        g_free(file);
        return verdict;
    }
    if (kind == "about" && g_ascii_strcasecmp(address.c_str(), "about:blank") == 0)
        return {Verdict::Open, "about:blank"};
    return refused(kind);
}

} // namespace outsideaddress
