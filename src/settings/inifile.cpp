#include "settings/inifile.h"


#include <glib.h>

#include <cstdint>
#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace inifile {
namespace {

// Qt keeps text as UTF-16 and its escapes (\x, octal, %U) name UTF-16 code
// units, so values and names are decoded to units and joined back to UTF-8
// only at the end; a surrogate pair split over two escapes still joins up.
using Units = std::u16string;

void appendCodePoint(Units &units, gunichar c)
{
    if (c > 0xFFFF) {
        c -= 0x10000;
        units += char16_t(0xD800 + (c >> 10));
        units += char16_t(0xDC00 + (c & 0x3FF));
    } else {
        units += char16_t(c);
    }
}

// Bytes already checked to be UTF-8.
Units toUnits(const char *text, size_t length)
{
    Units units;
    const char *end = text + length;
    for (const char *p = text; p < end; p = g_utf8_next_char(p))
        appendCodePoint(units, g_utf8_get_char(p));
    return units;
}

void appendUtf8(std::string &out, gunichar c)
{
    char buffer[6];
    out.append(buffer, size_t(g_unichar_to_utf8(c, buffer)));
}

// A lone surrogate has no UTF-8 form: it becomes U+FFFD.
std::string toUtf8(const Units &units)
{
    std::string out;
    for (size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00
            && units[i + 1] <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((gunichar(u) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            appendUtf8(out, 0xFFFD);
        } else {
            appendUtf8(out, u);
        }
    }
    return out;
}

// Code points of text that may hold NUL bytes (checked to be UTF-8 otherwise).
template<typename F> void forEachCodePoint(const std::string &text, F f)
{
    const char *p = text.data();
    const char *end = p + text.size();
    while (p < end) {
        if (*p == '\0') {
            f(gunichar(0));
            ++p;
        } else {
            f(g_utf8_get_char(p));
            p = g_utf8_next_char(p);
        }
    }
}

int hexValue(char c)
{
    return g_ascii_isxdigit(c) ? g_ascii_xdigit_value(c) : -1;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Names: letters, digits, '_', '-' and '.' as they are, '/' as '\', any other
// character as %XX (up to U+00FF) or %UXXXX per UTF-16 unit. A '/' at the end
// is %2F: a '\' there would take the '=' after a key for part of the name.
std::string escapeName(const std::string &name)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    Units units;
    forEachCodePoint(name, [&units](gunichar c) { appendCodePoint(units, c); });
    for (size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (u == '/' && i + 1 < units.size()) {
            out += '\\';
        } else if (u < 0x80 && (g_ascii_isalnum(char(u)) || u == '_' || u == '-' || u == '.')) {
            out += char(u);
        } else if (u <= 0xFF) {
            out += '%';
            out += digits[u >> 4];
            out += digits[u & 0xF];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += digits[(u >> shift) & 0xF];
        }
    }
    return out;
}

// Appends the escaped form of a name; most names are plain words, copied
// as they are.
void appendName(std::string &out, std::string_view name)
{
    bool plain = !name.empty() && name.back() != '/';
    for (size_t i = 0; plain && i < name.size(); ++i) {
        const char c = name[i];
        plain = g_ascii_isalnum(c) || c == '_' || c == '-' || c == '.' || c == '/';
    }
    if (!plain) {
        out += escapeName(std::string(name));
        return;
    }
    const size_t from = out.size();
    out.append(name);
    for (size_t i = from; i < out.size(); ++i) {
        if (out[i] == '/')
            out[i] = '\\';
    }
}

std::string unescapeName(const std::string &name)
{
    const Units in = toUnits(name.data(), name.size());
    Units out;
    for (size_t i = 0; i < in.size();) {
        const char16_t u = in[i];
        if (u == '\\') {
            out += u'/';
            ++i;
            continue;
        }
        if (u != '%' || i + 1 == in.size()) {
            out += u;
            ++i;
            continue;
        }
        size_t first = i + 1;
        int count = 2;
        if (in[first] == 'U') {
            ++first;
            count = 4;
        }
        char16_t value = 0;
        bool ok = first + count <= in.size();
        for (int k = 0; ok && k < count; ++k) {
            const char16_t digit = in[first + k];
            ok = digit < 0x80 && hexValue(char(digit)) >= 0;
            if (ok)
                value = char16_t(value * 16 + hexValue(char(digit)));
        }
        if (!ok) {
            out += u'%';
            ++i;
            continue;
        }
        out += value;
        i = first + count;
    }
    return toUtf8(out);
}

// A value as the file holds it: one text, or a list when an unquoted ','
// separates items (as a hand-edited file may have it).
struct Unescaped
{
    Units text;
    std::vector<Units> items;
    bool isList = false;
};

Unescaped unescape(std::string_view raw)
{
    Unescaped result;
    Units &current = result.text;
    const size_t n = raw.size();
    size_t i = 0;
    size_t chopLimit = 0;
    bool inQuotes = false;
    bool quoted = false;
    bool chop = true;
    const auto skipBlanks = [&] {
        while (i < n && isBlank(raw[i]))
            ++i;
        chopLimit = current.size();
    };
    const auto chopBlanks = [&] {
        while (current.size() > chopLimit && (current.back() == ' ' || current.back() == '\t'))
            current.pop_back();
    };
    skipBlanks();
    while (i < n) {
        const char c = raw[i];
        if (c == '\\') {
            if (++i >= n) {
                chop = false;
                break;
            }
            const char e = raw[i++];
            static const char named[] = "a\ab\bf\fn\nr\rt\tv\v\"\"?\?''\\\\";
            const char *hit = nullptr;
            for (const char *p = named; *p; p += 2) {
                if (*p == e)
                    hit = p;
            }
            if (hit) {
                current += char16_t(hit[1]);
            } else if (e == 'x' && i < n && hexValue(raw[i]) >= 0) {
                char16_t value = 0;
                while (i < n && hexValue(raw[i]) >= 0)
                    value = char16_t(value * 16 + hexValue(raw[i++]));
                current += value;
            } else if (e >= '0' && e <= '7') {
                char16_t value = char16_t(e - '0');
                while (i < n && raw[i] >= '0' && raw[i] <= '7')
                    value = char16_t(value * 8 + (raw[i++] - '0'));
                current += value;
            } // any other escaped character is dropped, as Qt does
            chopLimit = current.size();
        } else if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipBlanks();
        } else if (c == ',' && !inQuotes) {
            if (!quoted)
                chopBlanks();
            result.isList = true;
            result.items.push_back(current);
            current.clear();
            quoted = false;
            ++i;
            skipBlanks();
        } else {
            size_t j = i + 1;
            while (j < n && raw[j] != '\\' && raw[j] != '"' && raw[j] != ',')
                ++j;
            current += toUnits(raw.data() + i, j - i);
            i = j;
        }
    }
    if (chop && !quoted)
        chopBlanks();
    if (result.isList)
        result.items.push_back(current);
    return result;
}

bool startsWith(const Units &text, const char *prefix)
{
    const size_t length = std::strlen(prefix);
    if (text.size() < length)
        return false;
    for (size_t i = 0; i < length; ++i) {
        if (text[i] != char16_t(prefix[i]))
            return false;
    }
    return true;
}

// Qt turns "@ByteArray(" and "@Variant(" text to bytes by Latin-1.
std::string latin1Bytes(const Units &units, size_t from, size_t to)
{
    std::string bytes;
    for (size_t i = from; i < to && i < units.size(); ++i)
        bytes += units[i] <= 0xFF ? char(units[i]) : '?';
    return bytes;
}

std::string validUtf8(const std::string &bytes)
{
    gchar *valid = g_utf8_make_valid(bytes.data(), gssize(bytes.size()));
    std::string result = valid;
    g_free(valid);
    return result;
}

// A value Qt serialised with QDataStream (version Qt 4.0): the type number,
// then the data. Only the types that read as text are understood.
std::optional<std::string> variantText(const std::string &bytes)
{
    size_t at = 0;
    const auto number = [&](int size, uint64_t &out) {
        if (at + size_t(size) > bytes.size())
            return false;
        out = 0;
        for (int k = 0; k < size; ++k)
            out = (out << 8) | uint8_t(bytes[at++]);
        return true;
    };
    uint64_t type = 0;
    uint64_t value = 0;
    if (!number(4, type))
        return std::nullopt;
    switch (type) {
    case 1: // bool
        return number(1, value) ? std::optional<std::string>(value ? "true" : "false") : std::nullopt;
    case 2: // int
        return number(4, value) ? std::optional<std::string>(std::to_string(int32_t(uint32_t(value))))
                                : std::nullopt;
    case 3: // uint
        return number(4, value) ? std::optional<std::string>(std::to_string(uint32_t(value))) : std::nullopt;
    case 4: // qlonglong
        return number(8, value) ? std::optional<std::string>(std::to_string(int64_t(value))) : std::nullopt;
    case 5: // qulonglong
        return number(8, value) ? std::optional<std::string>(std::to_string(value)) : std::nullopt;
    case 10:   // QString: byte length, UTF-16 big-endian
    case 12: { // QByteArray: length, bytes
        if (!number(4, value))
            return std::nullopt;
        if (value == 0xFFFFFFFF)
            return std::string();
        if (at + value > bytes.size())
            return std::nullopt;
        const std::string data = bytes.substr(at, size_t(value));
        if (type == 12)
            return validUtf8(data);
        Units units;
        for (size_t k = 0; k + 1 < data.size(); k += 2)
            units += char16_t((uint8_t(data[k]) << 8) | uint8_t(data[k + 1]));
        return toUtf8(units);
    }
    default:
        return std::nullopt;
    }
}

// What the old program read for a value: the text, a list joined by ", ",
// the text inside Qt's "@" forms, or nothing for values that are not text.
std::optional<std::string> textOf(const Unescaped &value)
{
    if (value.isList) {
        std::string joined;
        for (size_t k = 0; k < value.items.size(); ++k) {
            Units item = value.items[k];
            if (startsWith(item, "@")) {
                if (!startsWith(item, "@@"))
                    return std::nullopt;
                item.erase(0, 1);
            }
            joined += (k ? ", " : "") + toUtf8(item);
        }
        return joined;
    }
    const Units &s = value.text;
    if (!startsWith(s, "@"))
        return toUtf8(s);
    if (s.back() == ')') {
        if (startsWith(s, "@ByteArray("))
            return validUtf8(latin1Bytes(s, 11, s.size() - 1));
        if (startsWith(s, "@String("))
            return toUtf8(s.substr(8, s.size() - 9));
        if (startsWith(s, "@Variant("))
            return variantText(latin1Bytes(s, 9, s.size()));
        if (startsWith(s, "@DateTime(") || startsWith(s, "@Rect(") || startsWith(s, "@Size(")
            || startsWith(s, "@Point(") || startsWith(s, "@Invalid()"))
            return std::nullopt;
    }
    if (startsWith(s, "@@"))
        return toUtf8(s.substr(1));
    return toUtf8(s);
}

// A value in the form Qt writes it: controls, quotes and backslashes escaped,
// other text as UTF-8, quoted when it holds ',', ';' or '=' or starts or ends
// with a blank; a leading '@' doubled so it is not taken for a typed value.
std::string escapeValue(const std::string &value)
{
    std::string out;
    bool needsQuotes = false;
    bool escapeNextIfHex = false;
    const auto hex = [](gunichar c) {
        char buffer[16];
        g_snprintf(buffer, sizeof buffer, "\\x%x", c);
        return std::string(buffer);
    };
    forEachCodePoint(value.size() && value[0] == '@' ? "@" + value : value, [&](gunichar c) {
        if (c == ';' || c == ',' || c == '=')
            needsQuotes = true;
        // After "\0" or "\x1f", a hex digit would be read as part of the escape.
        if (escapeNextIfHex && c < 0x80 && g_ascii_isxdigit(char(c))) {
            out += hex(c);
            return;
        }
        escapeNextIfHex = false;
        static const char named[] = "\aa\bb\ff\nn\rr\tt\vv\"\"\\\\";
        for (const char *p = named; *p; p += 2) {
            if (gunichar(uint8_t(*p)) == c) {
                out += '\\';
                out += p[1];
                return;
            }
        }
        if (c == 0) {
            out += "\\0";
            escapeNextIfHex = true;
        } else if (c <= 0x1F) {
            out += hex(c);
            escapeNextIfHex = true;
        } else {
            appendUtf8(out, c);
        }
    });
    if (needsQuotes || (!out.empty() && (out.front() == ' ' || out.back() == ' ')))
        out = '"' + out + '"';
    return out;
}

// The group a key is written under: the path up to its first '/', or
// [General] when the path has none or nothing would be left for the key.
std::string sectionOf(const std::string &path)
{
    const size_t slash = path.find('/');
    return slash == std::string::npos || slash + 1 == path.size() ? std::string() : path.substr(0, slash);
}

// "%General" in any case names the section spelt after the '%'.
bool isEscapedGeneral(const std::string &raw)
{
    return raw.size() == 8 && raw[0] == '%' && g_ascii_strncasecmp(raw.data() + 1, "general", 7) == 0;
}

// FNV-1a over the bytes of a full key name, in pieces.
constexpr uint64_t HashStart = 14695981039346656037ULL;

uint64_t hashOn(uint64_t hash, std::string_view bytes)
{
    for (const char c : bytes)
        hash = (hash ^ uint8_t(c)) * 1099511628211ULL;
    return hash;
}

// No byte outside ASCII and no NUL: every line is valid UTF-8.
bool isPlainAscii(const char *data, size_t size)
{
    constexpr uint64_t High = 0x8080808080808080ULL;
    constexpr uint64_t Ones = 0x0101010101010101ULL;
    uint64_t seen = 0;
    size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        uint64_t word;
        std::memcpy(&word, data + i, 8);
        seen |= (word & High) | ((word - Ones) & ~word & High);
    }
    for (; i < size; ++i)
        seen |= uint8_t(data[i]) >= 0x80 || data[i] == 0 ? High : 0;
    return seen == 0;
}

// The bytes the reading of a key line stops at.
struct SpecialBytes
{
    bool is[256] = {};
    constexpr SpecialBytes()
    {
        for (const char c : {'\\', '"', '=', ';', '\n', '\r'})
            is[uint8_t(c)] = true;
    }
};
constexpr SpecialBytes Special;

bool isSpecial(char c)
{
    return Special.is[uint8_t(c)];
}

// The first byte from `at` a key line's reading stops at, or `size`. Sixteen
// bytes are tried at a time: the runs of text between such bytes are long.
size_t nextSpecial(const char *data, size_t at, size_t size)
{
    using Bytes = unsigned char __attribute__((vector_size(16)));
    for (; at + 16 <= size; at += 16) {
        Bytes v;
        std::memcpy(&v, data + at, 16);
        const Bytes hits = (v == '\\') | (v == '"') | (v == '=') | (v == ';') | (v == '\n') | (v == '\r');
        uint64_t halves[2];
        std::memcpy(halves, &hits, 16);
        if (halves[0] | halves[1])
            break;
    }
    while (at < size && !isSpecial(data[at]))
        ++at;
    return at;
}

std::string_view trimmedView(std::string_view text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && g_ascii_isspace(text[begin]))
        ++begin;
    while (end > begin && g_ascii_isspace(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

} // namespace

std::string_view Document::text(Span span) const
{
    return std::string_view(span.own ? m_own : m_bytes).substr(span.at, span.size);
}

Document::Span Document::keep(std::string_view text)
{
    const Span span{m_own.size(), uint32_t(text.size()), true};
    m_own.append(text);
    return span;
}

std::string Document::pathOf(const Entry &entry) const
{
    const std::string_view name = text(entry.name);
    if (entry.group == 0)
        return std::string(name);
    return m_groups[entry.group] + '/' + std::string(name);
}

bool Document::hasPath(const Entry &entry, std::string_view path) const
{
    const std::string_view name = text(entry.name);
    if (entry.group == 0)
        return path == name;
    const std::string &group = m_groups[entry.group];
    return path.size() == group.size() + 1 + name.size() && path.compare(0, group.size(), group) == 0
           && path[group.size()] == '/' && path.substr(group.size() + 1) == name;
}

uint64_t Document::hashOf(const Entry &entry) const
{
    return hashOn(m_groupHashes[entry.group], text(entry.name));
}

uint32_t Document::sectionNamed(const std::string &name)
{
    const auto known = m_sectionPlaces.find(name);
    if (known != m_sectionPlaces.end())
        return known->second;
    const uint32_t place = uint32_t(m_sections.size());
    m_sections.push_back(Section{name, {}, {}});
    m_sectionPlaces.emplace(name, place);
    return place;
}

void Document::add(const Entry &entry, uint32_t section)
{
    const uint32_t at = uint32_t(m_entries.size());
    m_entries.push_back(entry);
    Section &to = m_sections[section];
    to.entries.push_back(at);
    if (!to.slots.empty()) {
        if (2 * to.entries.size() > to.slots.size()) {
            to.slots.clear();
            lookUp(to);
        } else {
            putInSlot(to.slots, at, hashOf(entry));
        }
    }
}

void Document::putInSlot(std::vector<uint64_t> &slots, uint32_t entry, uint64_t hash)
{
    const size_t mask = slots.size() - 1;
    size_t slot = size_t(hash) & mask;
    while (slots[slot] != 0)
        slot = (slot + 1) & mask;
    slots[slot] = (hash >> 32 << 32) | uint64_t(entry + 1);
}

long Document::find(const Section &section, std::string_view path, uint64_t hash) const
{
    const size_t mask = section.slots.size() - 1;
    for (size_t slot = size_t(hash) & mask;; slot = (slot + 1) & mask) {
        const uint64_t held = section.slots[slot];
        if (held == 0)
            return -1;
        const size_t entry = size_t(held & 0xFFFFFFFFu) - 1;
        if ((held >> 32) == (hash >> 32) && hasPath(m_entries[entry], path))
            return long(entry);
    }
}

long Document::findLike(const Section &section, const Entry &entry, uint64_t hash) const
{
    const size_t mask = section.slots.size() - 1;
    for (size_t slot = size_t(hash) & mask;; slot = (slot + 1) & mask) {
        const uint64_t held = section.slots[slot];
        if (held == 0)
            return -1;
        if ((held >> 32) != (hash >> 32))
            continue;
        const size_t place = size_t(held & 0xFFFFFFFFu) - 1;
        const Entry &other = m_entries[place];
        // Full names are put together only for keys under different headers.
        if (other.group == entry.group ? text(other.name) == text(entry.name) : pathOf(other) == pathOf(entry))
            return long(place);
    }
}

void Document::lookUp(Section &section) const
{
    if (!section.slots.empty())
        return;
    size_t size = 16;
    while (size < 2 * section.entries.size() + 2)
        size *= 2;
    section.slots.assign(size, 0);
    std::vector<uint32_t> first;
    first.reserve(section.entries.size());
    for (const uint32_t place : section.entries) {
        const Entry &entry = m_entries[place];
        const uint64_t hash = hashOf(entry);
        const long known = findLike(section, entry, hash);
        if (known >= 0) {
            // A key given twice keeps its first place and its last value.
            m_entries[size_t(known)].raw = entry.raw;
            continue;
        }
        first.push_back(place);
        putInSlot(section.slots, place, hash);
    }
    section.entries = std::move(first);
}

Document::Document()
{
    // Group 0 holds the keys outside any section.
    m_groups.emplace_back();
    m_groupHashes.push_back(HashStart);
    m_groupSections.push_back(sectionNamed(std::string()));
}

Document Document::parse(std::string bytes)
{
    Document doc;
    doc.m_bytes = std::move(bytes);
    const std::string &all = doc.m_bytes;
    const char *data = all.data();
    const size_t n = all.size();
    std::unordered_map<std::string, uint32_t> groups; // name -> place in m_groups
    uint32_t group = 0; // [General]: the keys outside any section
    // Most files are plain ASCII, every line of it valid; and most end their
    // lines with '\n' alone, found by a quick search.
    const bool ascii = isPlainAscii(data, n);
    const bool lineFeedsOnly = std::memchr(data, '\r', n) == nullptr;
    const auto lineEnd = [data, n, lineFeedsOnly](size_t from) {
        if (lineFeedsOnly) {
            const void *feed = std::memchr(data + from, '\n', n - from);
            return feed ? size_t(static_cast<const char *>(feed) - data) : n;
        }
        while (from < n && data[from] != '\n' && data[from] != '\r')
            ++from;
        return from;
    };
    // A guess at the number of keys; the room grows when there are more.
    doc.m_entries.reserve(n / 64 + 1);
    size_t pos = all.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (pos < n) {
        size_t start = pos;
        while (start < n && isBlank(data[start]))
            ++start;
        // A key line is read to its end in one pass: key=value, where '='
        // and ';' inside quotes or after a backslash are text and an
        // unquoted ';' starts a comment. Lines end at "\r\n", '\r' or '\n'.
        const char first = start < n ? data[start] : '\n';
        size_t equals = std::string_view::npos;
        size_t end = std::string_view::npos;
        bool inQuotes = false;
        size_t eol = start;
        if (first == '[' || first == ';' || first == '#') {
            eol = lineEnd(start);
        } else {
            for (;; ++eol) {
                eol = nextSpecial(data, eol, n);
                if (eol == n || data[eol] == '\n' || data[eol] == '\r')
                    break;
                const char c = data[eol];
                if (c == '\\') {
                    if (eol + 1 < n && data[eol + 1] != '\n' && data[eol + 1] != '\r')
                        ++eol;
                } else if (c == '"') {
                    inQuotes = !inQuotes;
                } else if (c == '=' && !inQuotes && equals == std::string_view::npos) {
                    equals = eol - start;
                } else if (c == ';' && !inQuotes) {
                    end = eol - start;
                    eol = lineEnd(eol);
                    break;
                }
            }
        }
        pos = eol + (eol + 1 < n && data[eol] == '\r' && data[eol + 1] == '\n' ? 2 : 1);
        const std::string_view line(data + start, eol - start);
        if (end == std::string_view::npos)
            end = line.size();
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        const bool valid = line.size() <= UINT32_MAX
                           && (ascii || g_utf8_validate_len(line.data(), line.size(), nullptr));

        if (line[0] == '[') {
            // A group header that cannot be read still names the group of
            // the lines below it, as well as it can.
            const size_t close = line.find(']');
            const std::string raw(
                trimmedView(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
            doc.m_damaged = doc.m_damaged || close == std::string_view::npos || !valid || raw.empty();
            // Only "[General]" as written holds the keys outside any
            // section: other spellings are sections of their own, so that
            // they are written back apart.
            if (raw == "General" || raw.empty()) {
                group = 0;
                continue;
            }
            std::string name = isEscapedGeneral(raw) ? raw.substr(1) : unescapeName(valid ? raw : validUtf8(raw));
            const auto known = groups.find(name);
            if (known != groups.end()) {
                group = known->second;
                continue;
            }
            group = uint32_t(doc.m_groups.size());
            groups.emplace(name, group);
            doc.m_groupHashes.push_back(hashOn(HashStart, name + '/'));
            // Its keys' full names begin "name/": their section is the name
            // up to its first '/'.
            doc.m_groupSections.push_back(doc.sectionNamed(name.substr(0, name.find('/'))));
            doc.m_groups.push_back(std::move(name));
            continue;
        }

        const std::string_view key =
            equals == std::string_view::npos ? std::string_view() : trimmedView(line.substr(0, equals));
        if (!valid || inQuotes || key.empty()) {
            doc.m_damaged = true;
            continue;
        }
        // Names without escapes read as written, straight from the file.
        Span name{size_t(key.data() - data), uint32_t(key.size()), false};
        bool escaped = false;
        for (const char c : key)
            escaped = escaped || c == '%' || c == '\\';
        if (escaped)
            name = doc.keep(unescapeName(std::string(key)));
        const Entry entry{name, Span{start + equals + 1, uint32_t(end - equals - 1), false}, group};
        uint32_t section = doc.m_groupSections[group];
        if (group == 0 && doc.text(name).find('/') != std::string_view::npos)
            section = doc.sectionNamed(sectionOf(std::string(doc.text(name))));
        doc.add(entry, section);
    }
    return doc;
}

void Document::written()
{
    m_damaged = false;
}

std::optional<std::string> Document::value(const std::string &path) const
{
    const auto section = m_sectionPlaces.find(sectionOf(path));
    if (section == m_sectionPlaces.end())
        return std::nullopt;
    Section &keys = m_sections[section->second];
    lookUp(keys);
    const long entry = find(keys, path, hashOn(HashStart, path));
    if (entry < 0)
        return std::nullopt;
    return textOf(unescape(text(m_entries[size_t(entry)].raw)));
}

void Document::setValue(const std::string &path, const std::string &value)
{
    const uint32_t section = sectionNamed(sectionOf(path));
    lookUp(m_sections[section]);
    const Span raw = keep(escapeValue(value));
    const long entry = find(m_sections[section], path, hashOn(HashStart, path));
    if (entry >= 0) {
        m_entries[size_t(entry)].raw = raw;
        return;
    }
    add(Entry{keep(path), raw, 0}, section);
}

std::string Document::serialize() const
{
    // Sections in the order their first keys appear, each key under its section.
    std::vector<const Section *> order;
    for (Section &section : m_sections) {
        lookUp(section);
        if (!section.entries.empty())
            order.push_back(&section);
    }
    std::sort(order.begin(), order.end(),
              [](const Section *a, const Section *b) { return a->entries.front() < b->entries.front(); });
    std::string out;
    out.reserve(m_bytes.size() + m_own.size());
    for (const Section *keys : order) {
        const Section &section = *keys;
        if (!out.empty())
            out += '\n';
        if (section.name.empty())
            out += "[General]\n";
        else if (section.name == "General")
            out += "[%General]\n";
        else
            out += '[' + escapeName(section.name) + "]\n";
        for (const uint32_t place : section.entries) {
            const Entry &entry = m_entries[place];
            // The name under its section: most keys sit under a header that
            // names just the section.
            if (entry.group != 0 && m_groups[entry.group] == section.name) {
                appendName(out, text(entry.name));
            } else {
                const std::string path = pathOf(entry);
                appendName(out, section.name.empty() ? std::string_view(path)
                                                     : std::string_view(path).substr(section.name.size() + 1));
            }
            out += '=';
            out += text(entry.raw);
            out += '\n';
        }
    }
    return out;
}

} // namespace inifile
