#include "settings/settingsstore.h"

#include "settings/inifile.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <cerrno>
#include <vector>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The file as it stands: absent (an empty store), read, or not readable (a
// folder in its place, no permission...), in which case nothing may replace it.
struct Loaded
{
    enum { Missing, Read, Unreadable } state = Missing;
    std::string bytes;
};

Loaded load(const std::string &path)
{
    Loaded loaded;
    gchar *data = nullptr;
    gsize length = 0;
    GError *error = nullptr;
    if (g_file_get_contents(path.c_str(), &data, &length, &error)) {
        loaded.state = Loaded::Read;
        loaded.bytes.assign(data, length);
        g_free(data);
    } else {
        const bool missing = g_error_matches(error, G_FILE_ERROR, G_FILE_ERROR_NOENT)
                             && !g_file_test(path.c_str(), G_FILE_TEST_EXISTS);
        loaded.state = missing ? Loaded::Missing : Loaded::Unreadable;
        g_error_free(error);
    }
    return loaded;
}

// Invalid bytes become U+FFFD; NUL bytes stay (the file escapes them).
std::string validUtf8(const std::string &text)
{
    std::string out;
    const char *p = text.data();
    const char *end = p + text.size();
    while (p < end) {
        const gchar *stop = nullptr;
        g_utf8_validate_len(p, gsize(end - p), &stop);
        out.append(p, size_t(stop - p));
        p = stop;
        if (p < end) {
            out += *p == '\0' ? std::string(1, '\0') : std::string("\xEF\xBF\xBD");
            ++p;
        }
    }
    return out;
}

// QSettings' address of a key: "section/key", no empty parts.
std::string keyPath(const std::string &section, const std::string &key)
{
    std::string path;
    for (char c : validUtf8(section + '/' + key)) {
        if (c != '/' || (!path.empty() && path.back() != '/'))
            path += c;
    }
    if (!path.empty() && path.back() == '/')
        path.pop_back();
    return path;
}

// Keeps the bytes of a damaged file beside it under a name not yet taken
// ("<file>.damaged", "<file>.damaged-2", ...); the path, or "" on failure.
std::string keepAside(const std::string &path, const std::string &bytes)
{
    for (int n = 1; n < 1000; ++n) {
        const std::string aside = path + ".damaged" + (n > 1 ? "-" + std::to_string(n) : "");
        const int fd = g_open(aside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return {};
        }
        size_t written = 0;
        while (written < bytes.size()) {
            const ssize_t step = ::write(fd, bytes.data() + written, bytes.size() - written);
            if (step < 0 && errno == EINTR)
                continue;
            if (step <= 0)
                break;
            written += size_t(step);
        }
        const bool ok = written == bytes.size() && fsync(fd) == 0;
        if (close(fd) != 0 || !ok) {
            g_unlink(aside.c_str());
            return {};
        }
        return aside;
    }
    return {};
}

std::string folderOf(const std::string &path)
{
    gchar *folder = g_path_get_dirname(path.c_str());
    std::string result = folder;
    g_free(folder);
    return result;
}

// The name of a temporary file the atomic write makes beside the file:
// "<file>." and six letters or digits.
bool isTemporaryName(const std::string &name, const std::string &file)
{
    if (name.size() != file.size() + 7 || name.compare(0, file.size(), file) != 0 || name[file.size()] != '.')
        return false;
    bool wordLike = true;
    for (size_t i = file.size() + 1; i < name.size(); ++i) {
        if (!g_ascii_isalnum(name[i]))
            return false;
        wordLike = wordLike && g_ascii_islower(name[i]);
    }
    // Six small letters read like a name someone chose ("backup", "before"):
    // such a file may be the user's own and stays, at the price of a random
    // name that happened to come out that way now and then.
    return !wordLike;
}

} // namespace

SettingsStore::SettingsStore() : SettingsStore(defaultConfigRoot()) {}

SettingsStore::SettingsStore(std::string configRoot) : m_root(std::move(configRoot)) {}

std::string SettingsStore::defaultConfigRoot()
{
    return g_get_user_config_dir();
}

std::string SettingsStore::filePath(const std::string &application) const
{
    return m_root + "/Velmora/" + application + ".conf";
}

std::string SettingsStore::read(const std::string &application, const std::string &section,
                                const std::string &key, const std::string &defaultValue) const
{
    const Loaded loaded = load(filePath(application));
    if (loaded.state != Loaded::Read)
        return defaultValue;
    return inifile::Document::parse(loaded.bytes).value(keyPath(section, key)).value_or(defaultValue);
}

bool SettingsStore::contains(const std::string &application, const std::string &section,
                             const std::string &key) const
{
    const Loaded loaded = load(filePath(application));
    return loaded.state == Loaded::Read
           && inifile::Document::parse(loaded.bytes).value(keyPath(section, key)).has_value();
}

bool SettingsStore::write(const std::string &application, const std::string &section,
                          const std::string &key, const std::string &value)
{
    const std::string path = filePath(application);
    bool ok = g_mkdir_with_parents(folderOf(path).c_str(), 0700) == 0;
    const Loaded loaded = ok ? load(path) : Loaded{Loaded::Unreadable, {}};
    // A file that cannot be read is left alone: replacing it would lose it.
    ok = ok && loaded.state != Loaded::Unreadable;
    inifile::Document doc = inifile::Document::parse(loaded.bytes);
    std::string aside;
    if (ok && doc.damaged()) {
        aside = keepAside(path, loaded.bytes);
        ok = !aside.empty();
    }
    if (ok) {
        doc.setValue(keyPath(section, key), validUtf8(value));
        const std::string data = doc.serialize();
        // Written beside the file and renamed over it once on disk: a crash
        // leaves the old file or the new one, never half of one.
        ok = g_file_set_contents_full(path.c_str(), data.data(), gssize(data.size()),
                                      GFileSetContentsFlags(G_FILE_SET_CONTENTS_CONSISTENT
                                                            | G_FILE_SET_CONTENTS_DURABLE),
                                      0600, nullptr);
        if (!ok && !aside.empty())
            g_unlink(aside.c_str());
    }
    if (!ok) {
        writeFailed.emit(path);
        return false;
    }
    if (!aside.empty())
        damaged.emit(path, aside);
    return true;
}

bool SettingsStore::isDamaged(const std::string &application) const
{
    const Loaded loaded = load(filePath(application));
    return loaded.state == Loaded::Read && inifile::Document::parse(loaded.bytes).damaged();
}

void SettingsStore::removeLeftoverWrites(const std::string &application,
                                         std::chrono::system_clock::time_point startedAt)
{
    const std::string path = filePath(application);
    const std::string folder = folderOf(path);
    gchar *base = g_path_get_basename(path.c_str());
    const std::string file = base;
    g_free(base);
    std::vector<std::string> leftovers;
    if (GDir *dir = g_dir_open(folder.c_str(), 0, nullptr)) {
        while (const char *name = g_dir_read_name(dir)) {
            if (isTemporaryName(name, file))
                leftovers.push_back(folder + '/' + name);
        }
        g_dir_close(dir);
    }
    const auto started = std::chrono::duration_cast<std::chrono::nanoseconds>(startedAt.time_since_epoch()).count();
    for (const std::string &leftover : leftovers) {
        struct stat st;
        if (lstat(leftover.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        const long long changed = st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
        if (changed < started)
            g_unlink(leftover.c_str());
    }
}

bool SettingsStore::isWritable(const std::string &application) const
{
    const std::string path = filePath(application);
    const std::string folder = folderOf(path);
    if (g_mkdir_with_parents(folder.c_str(), 0700) != 0 || g_access(folder.c_str(), W_OK | X_OK) != 0)
        return false;
    if (!g_file_test(path.c_str(), G_FILE_TEST_EXISTS))
        return true;
    return g_file_test(path.c_str(), G_FILE_TEST_IS_REGULAR) && g_access(path.c_str(), R_OK | W_OK) == 0;
}
