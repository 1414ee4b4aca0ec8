#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <sigc++/sigc++.h>
#include <string>

// The per-user store of named strings. A read sees the file as it is on disk
// now: the file is read and parsed once and kept, and read again whenever it
// changed (another copy of the program or a hand edit). Every write reaches
// the disk atomically before write() returns.
// Files live at <configRoot>/Velmora/<application>.conf, an INI file; the root
// defaults to $XDG_CONFIG_HOME (or ~/.config) so tests can point it elsewhere.
class SettingsStore
{
public:
    // What keeps a write from reaching the disk.
    enum class Problem {
        None,
        // The file, or its folder, is read-only: the user locked it.
        FileReadOnly,
        FolderReadOnly,
        // The file cannot be read, so writing would lose what it holds.
        Unreadable,
        NoRoom,
        // Anything else: no permission, a folder in the file's place...
        NotWritable,
    };
    // What a write that fails leaves undone, for the words that tell it: a
    // change of a setting not made, or an address surfed (the page opened
    // all the same) not remembered for the next start.
    enum class Purpose { Change, SurfedAddress };

    SettingsStore();
    explicit SettingsStore(std::string configRoot);
    ~SettingsStore();

    std::string read(const std::string &application, const std::string &section,
                     const std::string &key, const std::string &defaultValue) const;
    // Whether the key is stored (an empty value counts).
    bool contains(const std::string &application, const std::string &section,
                  const std::string &key) const;
    // Returns false when the value could not be stored; writeFailed is emitted then.
    bool write(const std::string &application, const std::string &section, const std::string &key,
               const std::string &value, Purpose purpose = Purpose::Change);

    // Whether the file holds lines that cannot be read (they are left out of
    // every read, and the file is kept aside at the next write).
    bool isDamaged(const std::string &application) const;

    // Removes what writes cut short by a kill left beside the file: the
    // temporary files only this program names so (and the random-looking
    // ones earlier versions left), last changed before `startedAt`, the
    // program's start. A write under way now has a younger one, which stays.
    void removeLeftoverWrites(const std::string &application, std::chrono::system_clock::time_point startedAt);

    // What would keep a write from reaching the disk now, as far as can be
    // known before writing (a full disk shows only then).
    Problem writeProblem(const std::string &application) const;

    std::string filePath(const std::string &application) const;
    const std::string &configRoot() const { return m_root; }

    static std::string defaultConfigRoot();

    // A write did not reach the disk (the file's path, why, what it was for).
    sigc::signal<void(const std::string &path, Problem problem, Purpose purpose)> writeFailed;
    // The file could not be read whole: what could be read was kept, the
    // original was set aside (the file's path, the kept copy's path).
    sigc::signal<void(const std::string &path, const std::string &keptAside)> damaged;

private:
    struct File;
    // The file at `path` as it stands on disk now, read again only when it changed.
    const File &current(const std::string &path) const;
    Problem lockedOrUnreadable(const std::string &path) const;

    std::string m_root;
    // The files read, by path.
    mutable std::map<std::string, std::unique_ptr<File>> m_files;
};
