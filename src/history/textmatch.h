#pragma once

#include <cstddef>
#include <string>
#include <vector>

// How typed text finds an address or a page title: every word typed must
// occur in one of them. Titles are compared with Unicode case folding;
// addresses with ASCII letters folded only, as SQLite's LIKE does, so the
// database's filter and these functions always agree.
namespace textmatch {

// A run of bytes in the text as stored (UTF-8), to be shown in bold.
struct Range
{
    std::size_t start = 0;
    std::size_t length = 0;
    bool operator==(const Range &other) const { return start == other.start && length == other.length; }
};

// The text as valid UTF-8: invalid bytes and NULs become U+FFFD.
std::string validText(const std::string &text);

// The words of typed text (valid UTF-8), split at white space.
std::vector<std::string> words(const std::string &typed);

std::string foldTitle(const std::string &title);
std::string foldAddress(const std::string &address);

// "%word%" for LIKE … ESCAPE '\', the word's own %, _ and \ taken literally.
std::string likePattern(const std::string &word);

// An FTS5 query for the rows of a trigram index that may hold every word
// (rows holding four of each word's three-letter runs); "" when every
// word is shorter than three letters and no index can help.
std::string trigramQuery(const std::vector<std::string> &words);

// Whether every word occurs in the address or the title; if so, where each
// occurs in either, in order, overlapping and touching runs merged.
bool matchAll(const std::string &address, const std::string &title, const std::vector<std::string> &words,
              std::vector<Range> *inAddress = nullptr, std::vector<Range> *inTitle = nullptr);

// Cuts text longer than `limit` bytes at the last whole character that fits.
std::string clipped(const std::string &text, std::size_t limit);

} // namespace textmatch
