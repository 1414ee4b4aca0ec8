#include "favorites/favoritesfolder.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace favoritesfolder {

namespace {
// A shortcut file is a few lines; anything much bigger is not one.
constexpr goffset MaxShortcutBytes = 64 * 1024;
constexpr int MaxNumberedCopies = 999;

struct GFreeDeleter { void operator()(void *p) const { g_free(p); } };
using GChars = std::unique_ptr<char, GFreeDeleter>;

std::string take(char *text)
{
    GChars owned(text);
    return owned ? std::string(owned.get()) : std::string();
}

bool isBidiControl(gunichar c)
{
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E
           || c == 0x200F;
}

bool isForbidden(gunichar c)
{
    switch (g_unichar_type(c)) {
    case G_UNICODE_CONTROL:
    case G_UNICODE_LINE_SEPARATOR:
    case G_UNICODE_PARAGRAPH_SEPARATOR:
        return true;
    default:
        break;
    }
    return c < 0x80 && std::string("/\\:*?\"<>|").find(char(c)) != std::string::npos;
}

std::string trimDotsAndSpaces(const std::string &text)
{
    const auto first = text.find_first_not_of(". ");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(". ") - first + 1);
}

std::string clean(const std::string &name)
{
    const std::string valid = take(g_utf8_make_valid(name.c_str(), gssize(name.size())));
    // Forbidden characters become blanks, runs of blanks one blank.
    std::string out;
    bool pendingBlank = false;
    for (const char *p = valid.c_str(); *p; p = g_utf8_next_char(p)) {
        const gunichar c = g_utf8_get_char(p);
        if (isBidiControl(c))
            continue;
        if (isForbidden(c) || g_unichar_isspace(c)) {
            pendingBlank = !out.empty();
            continue;
        }
        if (pendingBlank)
            out += ' ';
        pendingBlank = false;
        out.append(p, g_utf8_next_char(p) - p);
    }
    out = trimDotsAndSpaces(out);
    for (auto dots = out.find(".."); dots != std::string::npos; dots = out.find(".."))
        out.erase(dots, 1);

    // Cap the length in bytes without cutting a character in two.
    while (out.size() > MaxNameBytes) {
        const char *last = g_utf8_find_prev_char(out.c_str(), out.c_str() + out.size());
        out.resize(last ? std::size_t(last - out.c_str()) : 0);
        out = trimDotsAndSpaces(out);
    }
    return out;
}

std::string hostOf(const std::string &address)
{
    GUri *uri = g_uri_parse(address.c_str(), G_URI_FLAGS_NONE, nullptr);
    if (!uri)
        return std::string();
    const char *host = g_uri_get_host(uri);
    std::string result = host ? host : "";
    g_uri_unref(uri);
    return result;
}

std::string escape(const std::string &text)
{
    const std::string valid = take(g_utf8_make_valid(text.c_str(), gssize(text.size())));
    return take(g_markup_escape_text(valid.c_str(), -1));
}

// The address as a link target, or "" when it must not be one: only web,
// FTP and file addresses are linked, never script or data.
std::string linkTarget(const std::string &address)
{
    if (address.empty())
        return std::string();
    std::string candidate = address;
    // Lower case already, and owned by GLib.
    const char *scheme = g_uri_peek_scheme(address.c_str());
    if (!scheme)
        candidate = "http://" + address;
    const std::string s = scheme ? scheme : "http";
    if (s != "http" && s != "https" && s != "ftp" && s != "file")
        return std::string();
    static const std::string Kept = "-._~:/?#[]@!$&'()*+,;=%";
    std::string encoded;
    for (const unsigned char c : candidate) {
        if (g_ascii_isalnum(char(c)) || Kept.find(char(c)) != std::string::npos) {
            encoded += char(c);
        } else {
            char hex[4];
            g_snprintf(hex, sizeof hex, "%%%02X", c);
            encoded += hex;
        }
    }
    if (!g_uri_is_valid(encoded.c_str(), G_URI_FLAGS_ENCODED, nullptr))
        return std::string();
    return encoded;
}

std::string readAddress(const std::string &path)
{
    GStatBuf info;
    if (g_stat(path.c_str(), &info) != 0 || info.st_size > MaxShortcutBytes)
        return std::string();
    gchar *bytes = nullptr;
    gsize length = 0;
    if (!g_file_get_contents(path.c_str(), &bytes, &length, nullptr))
        return std::string();
    const std::string text = take(g_utf8_make_valid(bytes, gssize(length)));
    g_free(bytes);

    bool inShortcut = false;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string line = text.substr(start, end - start);
        start = end + 1;
        GChars trimmed(g_strstrip(g_strdup(line.c_str())));
        line = trimmed.get();
        if (!line.empty() && line[0] == '[') {
            inShortcut = g_ascii_strcasecmp(line.c_str(), "[InternetShortcut]") == 0;
            continue;
        }
        const auto equals = line.find('=');
        if (!inShortcut || equals == std::string::npos || equals == 0)
            continue;
        GChars key(g_strstrip(g_strdup(line.substr(0, equals).c_str())));
        if (g_ascii_strcasecmp(key.get(), "URL") == 0) {
            GChars value(g_strstrip(g_strdup(line.substr(equals + 1).c_str())));
            return value.get();
        }
    }
    return std::string();
}

bool taken(const std::string &path)
{
    GStatBuf info;
    return g_lstat(path.c_str(), &info) == 0;
}
} // namespace

std::string defaultFolder()
{
    return std::string(g_get_user_data_dir()) + "/Velmora/Skimlark/Favorites";
}

bool ensureFolder(const std::string &folder, std::string &why)
{
    if (folder.empty()) {
        why = "No folder is known for favorites.";
        return false;
    }
    if (g_mkdir_with_parents(folder.c_str(), 0700) != 0) {
        why = g_strerror(errno);
        return false;
    }
    if (!g_file_test(folder.c_str(), G_FILE_TEST_IS_DIR)) {
        why = "It is not a folder.";
        return false;
    }
    return true;
}

std::vector<Favorite> list(const std::string &folder)
{
    std::vector<Favorite> result;
    GDir *dir = folder.empty() ? nullptr : g_dir_open(folder.c_str(), 0, nullptr);
    if (!dir)
        return result;
    while (const char *entry = g_dir_read_name(dir)) {
        const std::string fileName = entry;
        if (fileName.size() <= 4
            || g_ascii_strcasecmp(fileName.c_str() + fileName.size() - 4, ".url") != 0)
            continue;
        const std::string path = folder + "/" + fileName;
        if (!g_file_test(path.c_str(), G_FILE_TEST_IS_REGULAR) || g_access(path.c_str(), R_OK) != 0)
            continue;
        const std::string stem = fileName.substr(0, fileName.size() - 4);
        result.push_back({take(g_filename_display_name(stem.c_str())), readAddress(path)});
    }
    g_dir_close(dir);
    // By the names shown, so "News" comes before "News (2)".
    std::sort(result.begin(), result.end(), [](const Favorite &a, const Favorite &b) {
        const std::string fa = take(g_utf8_casefold(a.name.c_str(), -1));
        const std::string fb = take(g_utf8_casefold(b.name.c_str(), -1));
        return fa != fb ? fa < fb : a.name < b.name;
    });
    return result;
}

std::string folderAddress(const std::string &folder)
{
    const std::string absolute = take(g_canonicalize_filename(folder.c_str(), nullptr));
    return take(g_filename_to_uri((absolute + "/").c_str(), nullptr, nullptr));
}

std::string listingHtml(const std::vector<Favorite> &favorites)
{
    std::string html =
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n"
        // The listing is ours and static: nothing in it may run.
        "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
        "style-src 'unsafe-inline'\">\n"
        "<title>Favorites</title>\n"
        "<style>body{font-family:sans-serif;margin:1.5em} li{margin:.35em 0}"
        " .inert{color:#666}</style>\n"
        "</head><body>\n<h1>Favorites</h1>\n";
    if (favorites.empty())
        html += "<p>There are no favorites yet.</p>\n";
    html += "<ul>\n";
    for (const Favorite &favorite : favorites) {
        const std::string target = linkTarget(favorite.address);
        if (!target.empty())
            html += "<li><a href=\"" + escape(target) + "\">" + escape(favorite.name) + "</a></li>\n";
        else
            html += "<li><span class=\"inert\" title=\"" + escape(favorite.address) + "\">"
                    + escape(favorite.name) + "</span></li>\n";
    }
    html += "</ul>\n</body></html>\n";
    return html;
}

std::string safeName(const std::string &name, const std::string &address)
{
    std::string result = clean(name);
    if (result.empty())
        result = clean(hostOf(address));
    if (result.empty())
        result = "Untitled";
    return result;
}

std::string freePath(const std::string &folder, const std::string &baseName)
{
    // The name was cleaned, but make sure the file lands in the folder itself.
    if (baseName.find('/') != std::string::npos || baseName == "." || baseName == "..")
        return std::string();
    std::string path = folder + "/" + baseName + ".url";
    for (int n = 2; taken(path); ++n) {
        if (n > MaxNumberedCopies)
            return std::string();
        path = folder + "/" + baseName + " (" + std::to_string(n) + ").url";
    }
    return path;
}

std::string shortcutContents(const std::string &address)
{
    // A line break in the address would start a new line of the file.
    std::string url;
    for (const unsigned char c : address) {
        if (c < 0x20 || c == 0x7F) {
            char hex[4];
            g_snprintf(hex, sizeof hex, "%%%02X", c);
            url += hex;
        } else {
            url += char(c);
        }
    }
    return "[InternetShortcut]\r\nURL=" + url + "\r\n";
}

std::string add(const std::string &folder, const std::string &name, const std::string &address,
                 std::string &why)
{
    const std::string path = freePath(folder, safeName(name, address));
    if (path.empty()) {
        why = "No free file name is left.";
        return std::string();
    }
    // O_EXCL: an existing file, or a link planted under the name, is never written through.
    const int fd = g_open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        why = g_strerror(errno);
        return std::string();
    }
    const std::string contents = shortcutContents(address);
    std::size_t written = 0;
    int error = 0;
    while (written < contents.size() && !error) {
        const ssize_t n = write(fd, contents.data() + written, contents.size() - written);
        if (n < 0 && errno != EINTR)
            error = errno;
        else if (n > 0)
            written += std::size_t(n);
    }
    if (!error && fsync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && !error)
        error = errno;
    if (error) {
        g_unlink(path.c_str());
        why = g_strerror(error);
        return std::string();
    }
    return path;
}

} // namespace favoritesfolder
