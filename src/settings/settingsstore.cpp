#include "settings/settingsstore.h"

#include "settings/inifile.h"
#include "util/filename.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <algorithm>
#include <cerrno>
#include <vector>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What tells one version of a file from another without reading it: a new
// file in its place, or the same one written, has another stamp. The change
// time is in it because a hand edit may set the modification time back.
struct Stamp
{
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    struct timespec modified = {};
    struct timespec changed = {};

    static Stamp of(const struct stat &st)
    {
        return Stamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
    }
    bool operator==(const Stamp &other) const
    {
        return device == other.device && inode == other.inode && size == other.size
               && modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec
               && changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
    }
};

// The whole of a regular file, and its stamp; false when it cannot be read.
bool readWhole(const std::string &path, std::string &bytes, Stamp &stamp)
{
    // Not blocking: a pipe in the file's place is no file to wait for.
    const int fd = g_open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0);
    if (fd < 0)
        return false;
    struct stat st;
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (ok) {
        stamp = Stamp::of(st);
        // Read in pieces onto the end: a big file is then written to memory
        // once, not cleared first. It may have grown meanwhile.
        bytes.clear();
        bytes.reserve(size_t(st.st_size));
        std::vector<char> piece(std::clamp<size_t>(size_t(st.st_size) + 1, 4096, size_t(1) << 20));
        for (;;) {
            const ssize_t got = ::read(fd, piece.data(), piece.size());
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                ok = got == 0;
                break;
            }
            bytes.append(piece.data(), size_t(got));
        }
    }
    close(fd);
    return ok;
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

// Every byte of `bytes` written to `fd` and on the disk; false (errno set)
// otherwise.
bool writeAllAndSync(int fd, const std::string &bytes)
{
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t step = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (step < 0 && errno == EINTR)
            continue;
        if (step <= 0)
            break;
        written += size_t(step);
    }
    return written == bytes.size() && fsync(fd) == 0;
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
        const bool ok = writeAllAndSync(fd, bytes);
        if (close(fd) != 0 || !ok) {
            g_unlink(aside.c_str());
            return {};
        }
        return aside;
    }
    return {};
}

// Writes go to a hidden file beside the settings, under a name only this
// program makes, and are renamed over the settings once on disk.
const std::string WritingMark = ".saving-";

std::string writingTemplate(const std::string &path)
{
    return folderOf(path) + "/." + fileNameOf(path) + WritingMark + "XXXXXX";
}

// Writes `data` to `path` so that a crash leaves the old file or the new
// one, never half of one; false with errno set on failure.
bool writeWhole(const std::string &path, const std::string &data)
{
    std::string temporary = writingTemplate(path);
    const int fd = g_mkstemp_full(temporary.data(), O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    bool ok = writeAllAndSync(fd, data);
    const int saved = errno;
    ok = close(fd) == 0 && ok;
    if (ok && g_rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    const int failed = ok ? errno : saved;
    g_unlink(temporary.c_str());
    errno = failed;
    return false;
}

// A file left by a write cut short: "." + the file's name + the mark + six
// letters or digits. Earlier versions wrote "<file>." + six letters or digits,
// which a user may choose too ("BACKUP", "OLD123", "before", "myCopy"): such
// a name is taken for a leftover only when it has a small letter, a capital
// past the first place and a digit, as random names mostly do and chosen
// ones do not. The rest stay, at the price of an old leftover now and then.
bool isLeftoverName(const std::string &name, const std::string &file)
{
    auto sixRandom = [&name](size_t from, bool oldStyle) {
        if (name.size() != from + 6)
            return false;
        bool lower = false, digit = false, laterUpper = false;
        for (size_t i = from; i < name.size(); ++i) {
            const char c = name[i];
            if (!g_ascii_isalnum(c))
                return false;
            lower = lower || g_ascii_islower(c);
            digit = digit || g_ascii_isdigit(c);
            laterUpper = laterUpper || (i > from && g_ascii_isupper(c));
        }
        return !oldStyle || (lower && laterUpper && digit);
    };
    const std::string current = "." + file + WritingMark;
    if (name.compare(0, current.size(), current) == 0)
        return sixRandom(current.size(), false);
    return name.size() > file.size() && name.compare(0, file.size(), file) == 0 && name[file.size()] == '.'
           && sixRandom(file.size() + 1, true);
}

} // namespace

// The file as it stands: absent (an empty store), read, or not readable (a
// folder in its place, no permission...), in which case nothing may replace it.
struct SettingsStore::File
{
    enum { Missing, Read, Unreadable } state = Missing;
    Stamp stamp;
    inifile::Document doc;
};

SettingsStore::SettingsStore() : SettingsStore(defaultConfigRoot()) {}

SettingsStore::SettingsStore(std::string configRoot) : m_root(std::move(configRoot)) {}

SettingsStore::~SettingsStore() = default;

std::string SettingsStore::defaultConfigRoot()
{
    return g_get_user_config_dir();
}

std::string SettingsStore::filePath(const std::string &application) const
{
    return m_root + "/Velmora/" + application + ".conf";
}

const SettingsStore::File &SettingsStore::current(const std::string &path) const
{
    static const File missing{File::Missing, {}, {}};
    static const File unreadable{File::Unreadable, {}, {}};
    struct stat st;
    if (g_stat(path.c_str(), &st) != 0) {
        const bool absent = errno == ENOENT;
        m_files.erase(path);
        return absent ? missing : unreadable;
    }
    auto known = m_files.find(path);
    if (known != m_files.end() && known->second->stamp == Stamp::of(st))
        return *known->second;
    auto file = std::make_unique<File>();
    std::string bytes;
    if (!readWhole(path, bytes, file->stamp)) {
        m_files.erase(path);
        return unreadable;
    }
    file->state = File::Read;
    file->doc = inifile::Document::parse(std::move(bytes));
    return *(m_files[path] = std::move(file));
}

std::string SettingsStore::read(const std::string &application, const std::string &section,
                                const std::string &key, const std::string &defaultValue) const
{
    const File &file = current(filePath(application));
    if (file.state != File::Read)
        return defaultValue;
    return file.doc.value(keyPath(section, key)).value_or(defaultValue);
}

bool SettingsStore::contains(const std::string &application, const std::string &section,
                             const std::string &key) const
{
    const File &file = current(filePath(application));
    return file.state == File::Read && file.doc.value(keyPath(section, key)).has_value();
}

SettingsStore::Problem SettingsStore::lockedOrUnreadable(const std::string &path) const
{
    // A file or folder that grants writing to nobody was locked by its
    // owner: that holds for every user, root too, who could write it anyway.
    const std::string folder = folderOf(path);
    struct stat st;
    if (g_stat(folder.c_str(), &st) == 0 && (st.st_mode & 0222) == 0)
        return Problem::FolderReadOnly;
    if (g_access(folder.c_str(), W_OK | X_OK) != 0)
        return Problem::NotWritable;
    if (g_stat(path.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode))
            return Problem::NotWritable;
        if ((st.st_mode & 0222) == 0 || g_access(path.c_str(), W_OK) != 0)
            return Problem::FileReadOnly;
    }
    return current(path).state == File::Unreadable ? Problem::Unreadable : Problem::None;
}

bool SettingsStore::write(const std::string &application, const std::string &section,
                          const std::string &key, const std::string &value, Purpose purpose)
{
    const std::string path = filePath(application);
    Problem problem = g_mkdir_with_parents(folderOf(path).c_str(), 0700) == 0 ? lockedOrUnreadable(path)
                                                                                 : Problem::NotWritable;
    // The file as read is taken out, changed and put back once written; a
    // file not written is read again, so that no read sees what is not on disk.
    auto file = std::make_unique<File>();
    if (current(path).state == File::Read)
        file = std::move(m_files[path]);
    m_files.erase(path);
    inifile::Document &doc = file->doc;
    std::string aside;
    if (problem == Problem::None && doc.damaged()) {
        aside = keepAside(path, doc.bytes());
        if (aside.empty())
            problem = Problem::NotWritable;
    }
    if (problem == Problem::None) {
        doc.setValue(keyPath(section, key), validUtf8(value));
        const std::string data = doc.serialize();
        if (writeWhole(path, data)) {
            struct stat st;
            if (g_stat(path.c_str(), &st) == 0) {
                file->state = File::Read;
                file->stamp = Stamp::of(st);
                doc.written();
                m_files[path] = std::move(file);
            }
        } else {
            problem = errno == ENOSPC || errno == EDQUOT ? Problem::NoRoom : Problem::NotWritable;
            if (!aside.empty())
                g_unlink(aside.c_str());
        }
    }
    if (problem != Problem::None) {
        writeFailed.emit(path, problem, purpose);
        return false;
    }
    if (!aside.empty())
        damaged.emit(path, aside);
    return true;
}

bool SettingsStore::isDamaged(const std::string &application) const
{
    const File &file = current(filePath(application));
    return file.state == File::Read && file.doc.damaged();
}

void SettingsStore::removeLeftoverWrites(const std::string &application,
                                         std::chrono::system_clock::time_point startedAt)
{
    const std::string path = filePath(application);
    const std::string folder = folderOf(path);
    const std::string file = fileNameOf(path);
    std::vector<std::string> leftovers;
    if (GDir *dir = g_dir_open(folder.c_str(), 0, nullptr)) {
        while (const char *name = g_dir_read_name(dir)) {
            if (isLeftoverName(name, file))
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

SettingsStore::Problem SettingsStore::writeProblem(const std::string &application) const
{
    const std::string path = filePath(application);
    if (g_mkdir_with_parents(folderOf(path).c_str(), 0700) != 0)
        return Problem::NotWritable;
    return lockedOrUnreadable(path);
}
