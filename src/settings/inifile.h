#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
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
    // An empty file.
    Document();

    // Reads the bytes of a file, which the document keeps. Never fails.
    // Quick on big files: one pass over the bytes, names decoded only where
    // escaped, a section's keys looked up only once one of them is asked for,
    // values decoded when asked for.
    static Document parse(std::string bytes);

    // The value stored under "section/key" (the form QSettings addresses keys
    // by), or nothing when it is missing or holds no text.
    std::optional<std::string> value(const std::string &path) const;
    // Stores a value (valid UTF-8) in place of an earlier one or at the end.
    void setValue(const std::string &path, const std::string &value);

    // The text of the file: keys read from a file keep their value as written.
    std::string serialize() const;

    // Some line could not be read and was left out.
    bool damaged() const { return m_damaged; }
    // What serialize() gave is now the file: the lines left out are gone.
    void written();
    // The bytes the document was read from.
    const std::string &bytes() const { return m_bytes; }

private:
    // A run of bytes in the file read or in the document's own text.
    struct Span
    {
        size_t at = 0;
        uint32_t size = 0;
        bool own = false;
    };
    // A key as read: its name and its value as the file holds it, under a
    // group header (a place in m_groups). Its full name is "group/name", or
    // the name alone outside any group.
    struct Entry
    {
        Span name;
        Span raw;
        uint32_t group;
    };
    // The keys written under one section: the part of their full names up to
    // the first '/' ("" for [General]). A key given twice is found within
    // its section, once the section's keys are looked up.
    struct Section
    {
        std::string name;
        std::vector<uint32_t> entries;
        // Open addressing over the full names, at most half full: the high
        // half of the name's hash above the entry's place plus one; zero is
        // free. Empty until a key of the section is asked for.
        std::vector<uint64_t> slots;
    };

    std::string_view text(Span span) const;
    Span keep(std::string_view text);
    std::string pathOf(const Entry &entry) const;
    bool hasPath(const Entry &entry, std::string_view path) const;
    uint64_t hashOf(const Entry &entry) const;
    void add(const Entry &entry, uint32_t section);
    uint32_t sectionNamed(const std::string &name);
    // The section's keys looked up: a key given again gives its value to its
    // first line and leaves the section. Done once per section.
    void lookUp(Section &section) const;
    // The entry stored under a full name, or under the full name of `entry`; -1 if none.
    long find(const Section &section, std::string_view path, uint64_t hash) const;
    long findLike(const Section &section, const Entry &entry, uint64_t hash) const;
    static void putInSlot(std::vector<uint64_t> &slots, uint32_t entry, uint64_t hash);

    std::string m_bytes;
    // Names that were escaped, and values and names set since the file was read.
    std::string m_own;
    std::vector<std::string> m_groups;
    // For each group: the hash of its name followed by '/', and its section.
    std::vector<uint64_t> m_groupHashes;
    std::vector<uint32_t> m_groupSections;
    // Mutable for lookUp(), which moves the values of keys given twice.
    mutable std::vector<Entry> m_entries;
    // Made as headers and keys name them, written in the order of their
    // first keys; looked up as keys are asked for.
    mutable std::vector<Section> m_sections;
    std::unordered_map<std::string, uint32_t> m_sectionPlaces;
    bool m_damaged = false;
};

} // namespace inifile
