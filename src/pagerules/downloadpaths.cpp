#include "pagerules/downloadpaths.h"

#include "util/filename.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <gio/gio.h>
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

// Copies to a name that must not exist yet.
bool copyNew(const std::string &from, const std::string &to)
{
    GFile *source = g_file_new_for_path(from.c_str());
    GFile *target = g_file_new_for_path(to.c_str());
    const bool copied = g_file_copy(source, target, G_FILE_COPY_NOFOLLOW_SYMLINKS, nullptr, nullptr, nullptr, nullptr);
    g_object_unref(source);
    g_object_unref(target);
    return copied;
}
} // namespace

std::string safeName(const std::string &suggested)
{
    std::string name = fileNameOf(suggested);
    for (char &c : name) {
        if (static_cast<unsigned char>(c) < 32 || c == '/' || c == '\\')
            c = '_';
    }
    if (!g_utf8_validate(name.c_str(), -1, nullptr)) {
        gchar *valid = g_utf8_make_valid(name.c_str(), -1);
        name = valid;
        g_free(valid);
    }
    // Marks that turn the text's direction would make "fdp.exe" read as
    // "exe.pdf": they go, as do other invisible controls.
    std::string shown;
    for (const char *c = name.c_str(); *c; c = g_utf8_next_char(c)) {
        const gunichar ch = g_utf8_get_char(c);
        const bool turns = ch == 0x061C || ch == 0x200E || ch == 0x200F || (ch >= 0x202A && ch <= 0x202E)
                           || (ch >= 0x2066 && ch <= 0x2069);
        if (turns || (ch >= 0x7F && ch <= 0x9F))
            shown += '_';
        else
            shown.append(c, g_utf8_next_char(c) - c);
    }
    name = shown;
    // Leading dots would hide the file or climb out of the folder.
    const std::size_t start = name.find_first_not_of(". ");
    name = start == std::string::npos ? std::string() : name.substr(start);
    return name.empty() ? "download" : name;
}

std::string downloadsFolder()
{
    const char *named = g_get_user_special_dir(G_USER_DIRECTORY_DOWNLOAD);
    gchar *fallback = g_build_filename(g_get_home_dir(), "Downloads", nullptr);
    const std::string folder = named && *named ? named : fallback;
    g_free(fallback);
    // Made as the desktop would; a place that cannot be made leaves the home folder.
    if (g_file_test(folder.c_str(), G_FILE_TEST_IS_DIR) || g_mkdir_with_parents(folder.c_str(), 0755) == 0)
        return folder;
    return g_get_home_dir();
}

std::string suggestedPath(const std::string &suggested)
{
    return unusedPath(downloadsFolder() + "/" + safeName(suggested));
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
    const std::string start = folderOf(target) + "/." + fileNameOf(target) + ".";
    std::string path;
    do {
        gchar *random = g_strdup_printf("%08x", g_random_int());
        path = start + random + ".part";
        g_free(random);
    } while (exists(path));
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
        // Another file system: a copy that fails rather than replace.
        if (errno == EXDEV && copyNew(from, candidate)) {
            g_unlink(from.c_str());
            return candidate;
        }
        if (!exists(candidate))
            return std::string();
    }
    return std::string();
}

bool runsCode(const std::string &name, const std::string &mimeType, const std::string &start)
{
    static const char *const extensions[] = {
        ".desktop", ".sh", ".bash", ".zsh", ".csh", ".ksh", ".fish", ".py", ".pyw", ".pl", ".rb", ".php",
        ".run", ".appimage", ".jar", ".deb", ".rpm", ".snap", ".flatpak", ".flatpakref",
        ".exe", ".msi", ".bat", ".cmd", ".ps1", ".vbs",
    };
    static const char *const types[] = {
        "application/x-desktop", "application/x-shellscript", "text/x-shellscript", "application/x-sh",
        "text/x-sh", "text/x-python", "text/x-python3", "text/x-perl", "application/x-perl",
        "application/x-ruby", "text/x-ruby", "application/x-executable", "application/x-elf",
        "application/x-pie-executable", "application/x-sharedlib", "application/vnd.appimage",
        "application/x-iso9660-appimage", "application/java-archive", "application/x-java-archive",
        "application/vnd.debian.binary-package", "application/x-rpm", "application/x-msdownload",
        "application/x-ms-dos-executable", "application/x-msi",
    };
    gchar *lower = g_ascii_strdown(name.c_str(), -1);
    const std::string lowerName = lower;
    g_free(lower);
    for (const char *extension : extensions) {
        if (g_str_has_suffix(lowerName.c_str(), extension))
            return true;
    }
    const std::string type = mimeType.substr(0, mimeType.find(';'));
    for (const char *known : types) {
        if (g_ascii_strcasecmp(type.c_str(), known) == 0)
            return true;
    }
    return start.rfind("#!", 0) == 0 || start.rfind("\x7f" "ELF", 0) == 0 || start.rfind("MZ", 0) == 0;
}

} // namespace downloadpaths
