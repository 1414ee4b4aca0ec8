#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// The settings file's text form, line for line what Qt's QSettings (IniFormat)
// reads and writes, so files written by earlier versions of the program read
// the same and ours read back there: "[Section]" groups, %-escaped names,
// values quoted and backslash-escaped, "@@" for a value starting with '@'.
// Unlike Qt, every name read is written back as read: only "[General]" spelt
// so holds the keys outside a section, and a name ending in '/' keeps it.
// The reader never gives up on a file: a line it cannot read is skipped and
// the document marked damaged, everything else is kept.
namespace inifile {

class Document
{
public:
    // Reads the bytes of a file. Never fails.
    static Document parse(const std::string &bytes);

    // The value stored under "section/key" (the form QSettings addresses keys
    // by), or nothing when it is missing or holds no text.
    std::optional<std::string> value(const std::string &path) const;
    // Stores a value (valid UTF-8) in place of an earlier one or at the end.
    void setValue(const std::string &path, const std::string &value);

    // The text of the file: keys read from a file keep their value as written.
    std::string serialize() const;

    // Some line could not be read and was left out.
    bool damaged() const { return m_damaged; }

private:
    // The full key ("Home/Engine") and its value as it stands in the file.
    std::vector<std::pair<std::string, std::string>> m_entries;
    bool m_damaged = false;
};

} // namespace inifile
