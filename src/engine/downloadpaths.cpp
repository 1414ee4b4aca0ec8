#include "engine/downloadpaths.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <glib.h>
#include <glib/gstdio.h>
#include <unistd.h>

namespace downloadpaths {

namespace {
bool exists(const std::string &path)
{
    GStatBuf info;
    return g_lstat(path.c_str(), &info) == 0;
}
} // namespace

std::string safeName(const std::string &suggested)
{
    gchar *base = g_path_get_basename(suggested.c_str());
    std::string name = base;
    g_free(base);
    for (char &c : name) {
        if (static_cast<unsigned char>(c) < 32 || c == '/' || c == '\\')
            c = '_';
    }
    if (!g_utf8_validate(name.c_str(), -1, nullptr)) {
        gchar *valid = g_utf8_make_valid(name.c_str(), -1);
        name = valid;
        g_free(valid);
    }
    // Leading dots would hide the file or climb out of the folder.
    const std::size_t start = name.find_first_not_of(". ");
    name = start == std::string::npos ? std::string() : name.substr(start);
    return name.empty() ? "download" : name;
}

std::string suggestedPath(const std::string &suggested)
{
    const char *folder = g_get_user_special_dir(G_USER_DIRECTORY_DOWNLOAD);
    const std::string base = folder && g_file_test(folder, G_FILE_TEST_IS_DIR) ? folder : g_get_home_dir();
    return unusedPath(base + "/" + safeName(suggested));
}

std::string numberedPath(const std::string &wanted, int n)
{
    const std::size_t slash = wanted.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::size_t dot = wanted.find('.', nameStart + 1);
    // "archive.tar.gz" keeps ".tar.gz" together; a name ending in a dot has no extension.
    if (dot != std::string::npos && dot + 1 >= wanted.size())
        dot = std::string::npos;
    const std::string stem = wanted.substr(0, dot);
    const std::string extension = dot == std::string::npos ? std::string() : wanted.substr(dot);
    return stem + " (" + std::to_string(n) + ")" + extension;
}

std::string unusedPath(const std::string &wanted)
{
    if (!exists(wanted))
        return wanted;
    for (int n = 1;; ++n) {
        const std::string candidate = numberedPath(wanted, n);
        if (!exists(candidate))
            return candidate;
    }
}

std::string partPath(const std::string &target)
{
    gchar *folder = g_path_get_dirname(target.c_str());
    gchar *name = g_path_get_basename(target.c_str());
    std::string path;
    do {
        gchar *random = g_strdup_printf("%08x", g_random_int());
        path = std::string(folder) + "/." + name + "." + random + ".part";
        g_free(random);
    } while (exists(path));
    g_free(folder);
    g_free(name);
    return path;
}

std::string moveWithoutReplacing(const std::string &from, const std::string &wanted)
{
    for (int n = 0; n < 10000; ++n) {
        const std::string candidate = n == 0 ? wanted : numberedPath(wanted, n);
        // A hard link fails when the name is taken, where a rename would replace it.
        if (link(from.c_str(), candidate.c_str()) == 0) {
            g_unlink(from.c_str());
            return candidate;
        }
        if (errno == EEXIST)
            continue;
        // Folders that cannot hold links: rename, having checked the name is free.
        if (!exists(candidate) && g_rename(from.c_str(), candidate.c_str()) == 0)
            return candidate;
        if (!exists(candidate))
            return std::string();
    }
    return std::string();
}

} // namespace downloadpaths
