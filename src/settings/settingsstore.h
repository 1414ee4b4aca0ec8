#pragma once

#include <chrono>
#include <sigc++/sigc++.h>
#include <string>

// The per-user store of named strings. Every read goes to the file (no cache
// here), every write reaches the disk atomically before write() returns.
// Files live at <configRoot>/Velmora/<application>.conf, an INI file; the root
// defaults to $XDG_CONFIG_HOME (or ~/.config) so tests can point it elsewhere.
class SettingsStore
{
public:
    SettingsStore();
    explicit SettingsStore(std::string configRoot);

    std::string read(const std::string &application, const std::string &section,
                     const std::string &key, const std::string &defaultValue) const;
    // Whether the key is stored (an empty value counts).
    bool contains(const std::string &application, const std::string &section,
                  const std::string &key) const;
    // Returns false when the value could not be stored; writeFailed is emitted then.
    bool write(const std::string &application, const std::string &section,
               const std::string &key, const std::string &value);

    // Whether the file holds lines that cannot be read (they are left out of
    // every read, and the file is kept aside at the next write).
    bool isDamaged(const std::string &application) const;

    // Removes what writes cut short by a kill left beside the file: the
    // temporary "<file>.XXXXXX" files last changed before `startedAt`, the
    // program's start. A write under way now has a younger one, which stays.
    void removeLeftoverWrites(const std::string &application, std::chrono::system_clock::time_point startedAt);

    // Whether a write would reach the disk now (the folder and file are writable).
    bool isWritable(const std::string &application) const;

    std::string filePath(const std::string &application) const;
    const std::string &configRoot() const { return m_root; }

    static std::string defaultConfigRoot();

    // A write did not reach the disk (the file's path).
    sigc::signal<void(const std::string &path)> writeFailed;
    // The file could not be read whole: what could be read was kept, the
    // original was set aside (the file's path, the kept copy's path).
    sigc::signal<void(const std::string &path, const std::string &keptAside)> damaged;

private:
    std::string m_root;
};
