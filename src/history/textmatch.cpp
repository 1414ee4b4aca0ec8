#include "history/textmatch.h"

#include <glib.h>

#include <algorithm>

namespace textmatch {

namespace {

// Folded text, and for each of its bytes the character of the original it
// came from (start and end), so a match can be shown where it was typed.
struct Folded
{
    std::string text;
    std::vector<std::size_t> from;
    std::vector<std::size_t> to;
};

Folded fold(const std::string &text, bool unicode)
{
    Folded folded;
    folded.text.reserve(text.size());
    const char *const begin = text.data();
    const char *const end = begin + text.size();
    const char *p = begin;
    while (p < end) {
        const char *next = std::min<const char *>(g_utf8_next_char(p), end);
        if (!unicode || static_cast<unsigned char>(*p) < 0x80) {
            for (const char *q = p; q < next; ++q)
                folded.text += g_ascii_tolower(*q);
        } else {
            gchar *one = g_utf8_casefold(p, next - p);
            folded.text += one;
            g_free(one);
        }
        folded.from.resize(folded.text.size(), std::size_t(p - begin));
        folded.to.resize(folded.text.size(), std::size_t(next - begin));
        p = next;
    }
    return folded;
}

// Every occurrence of `needle` (already folded) in the original text.
void findAll(const Folded &folded, const std::string &needle, std::vector<Range> &found)
{
    if (needle.empty())
        return;
    for (std::size_t at = folded.text.find(needle); at != std::string::npos; at = folded.text.find(needle, at + 1)) {
        const std::size_t start = folded.from[at];
        found.push_back({start, folded.to[at + needle.size() - 1] - start});
    }
}

std::vector<Range> merged(std::vector<Range> ranges)
{
    std::sort(ranges.begin(), ranges.end(), [](const Range &a, const Range &b) {
        return a.start < b.start || (a.start == b.start && a.length > b.length);
    });
    std::vector<Range> out;
    for (const Range &range : ranges) {
        if (!out.empty() && range.start <= out.back().start + out.back().length) {
            const std::size_t end = std::max(out.back().start + out.back().length, range.start + range.length);
            out.back().length = end - out.back().start;
        } else {
            out.push_back(range);
        }
    }
    return out;
}

} // namespace

std::string validText(const std::string &text)
{
    gchar *valid = g_utf8_make_valid(text.data(), gssize(text.size()));
    std::string result = valid;
    g_free(valid);
    return result;
}

std::vector<std::string> words(const std::string &typed)
{
    const std::string text = validText(typed);
    std::vector<std::string> found;
    std::string word;
    for (const char *p = text.c_str(); *p; p = g_utf8_next_char(p)) {
        const char *next = g_utf8_next_char(p);
        if (g_unichar_isspace(g_utf8_get_char(p))) {
            if (!word.empty())
                found.push_back(word);
            word.clear();
        } else {
            word.append(p, next);
        }
    }
    if (!word.empty())
        found.push_back(word);
    return found;
}

std::string foldTitle(const std::string &title)
{
    return fold(title, true).text;
}

std::string foldAddress(const std::string &address)
{
    std::string folded = address;
    for (char &c : folded)
        c = g_ascii_tolower(c);
    return folded;
}

std::string likePattern(const std::string &word)
{
    std::string pattern = "%";
    for (char c : word) {
        if (c == '%' || c == '_' || c == '\\')
            pattern += '\\';
        pattern += c;
    }
    return pattern + "%";
}

namespace {

std::string trigramsOf(const std::string &folded)
{
    std::vector<const char *> starts;
    for (const char *p = folded.c_str(); *p; p = g_utf8_next_char(p))
        starts.push_back(p);
    starts.push_back(folded.c_str() + folded.size());
    std::vector<std::string> runs;
    for (std::size_t at = 0; at + 3 < starts.size(); ++at) {
        std::string run(starts[at], starts[at + 3]);
        if (std::find(runs.begin(), runs.end(), run) == runs.end())
            runs.push_back(run);
    }
    // Four different runs spread over a word narrow the rows about as well as
    // all of them, and each more is one more list for the index to merge.
    const std::size_t used = std::min<std::size_t>(runs.size(), 4);
    std::string query;
    for (std::size_t n = 0; n < used; ++n) {
        const std::string &run = runs[used == 1 ? 0 : n * (runs.size() - 1) / (used - 1)];
        std::string quoted = "\"";
        for (char c : run)
            quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
        query += (n ? " AND " : "") + quoted + "\"";
    }
    return query;
}

} // namespace

std::string trigramQuery(const std::vector<std::string> &words)
{
    std::string query;
    for (const std::string &word : words) {
        const std::string valid = validText(word);
        const std::string inTitles = trigramsOf(foldTitle(valid));
        const std::string inAddresses = trigramsOf(foldAddress(valid));
        if (inTitles.empty() || inAddresses.empty())
            continue;
        query += (query.empty() ? "(" : " AND (")
                 + (inTitles == inAddresses ? inTitles : "(" + inTitles + ") OR (" + inAddresses + ")") + ")";
    }
    return query;
}

bool matchAll(const std::string &address, const std::string &title, const std::vector<std::string> &words,
              std::vector<Range> *inAddress, std::vector<Range> *inTitle)
{
    const Folded addressFolded = fold(address, false);
    const Folded titleFolded = fold(title, true);
    std::vector<Range> addressRanges;
    std::vector<Range> titleRanges;
    for (const std::string &word : words) {
        const std::size_t before = addressRanges.size() + titleRanges.size();
        findAll(addressFolded, foldAddress(word), addressRanges);
        findAll(titleFolded, foldTitle(word), titleRanges);
        if (addressRanges.size() + titleRanges.size() == before)
            return false;
    }
    if (inAddress)
        *inAddress = merged(std::move(addressRanges));
    if (inTitle)
        *inTitle = merged(std::move(titleRanges));
    return true;
}

std::string clipped(const std::string &text, std::size_t limit)
{
    if (text.size() <= limit)
        return text;
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return text.substr(0, cut);
}

} // namespace textmatch
