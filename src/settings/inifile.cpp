#include "settings/inifile.h"

#include "util/trimming.h"

#include <glib.h>

#include <cstdint>
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

Unescaped unescape(const std::string &raw)
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

} // namespace

Document Document::parse(const std::string &bytes)
{
    Document doc;
    std::unordered_map<std::string, size_t> index; // key -> place in m_entries
    std::string prefix; // "Section/", empty for [General]
    size_t pos = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (pos < bytes.size()) {
        size_t eol = bytes.find_first_of("\r\n", pos);
        if (eol == std::string::npos)
            eol = bytes.size();
        std::string line = bytes.substr(pos, eol - pos);
        pos = eol + (bytes.compare(eol, 2, "\r\n") == 0 ? 2 : 1);

        size_t start = 0;
        while (start < line.size() && isBlank(line[start]))
            ++start;
        line.erase(0, start);
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        const bool valid = g_utf8_validate_len(line.data(), line.size(), nullptr);

        if (line[0] == '[') {
            // A group header that cannot be read still names the group of
            // the lines below it, as well as it can.
            const size_t close = line.find(']');
            const std::string raw = trimming::trimmed(line.substr(1, close == std::string::npos ? std::string::npos
                                                                                      : close - 1));
            const std::string name = unescapeName(valid ? raw : validUtf8(raw));
            doc.m_damaged = doc.m_damaged || close == std::string::npos || !valid || raw.empty();
            // Only "[General]" as written holds the keys outside any
            // section: other spellings are sections of their own, so that
            // they are written back apart.
            if (raw == "General" || raw.empty())
                prefix.clear();
            else if (isEscapedGeneral(raw))
                prefix = raw.substr(1) + '/';
            else
                prefix = name + '/';
            continue;
        }

        // key=value; '=' and ';' inside quotes or after a backslash are text,
        // an unquoted ';' starts a comment.
        size_t equals = std::string::npos;
        size_t end = line.size();
        bool inQuotes = false;
        for (size_t i = 0; i < line.size(); ++i) {
            const char c = line[i];
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inQuotes = !inQuotes;
            } else if (c == '=' && !inQuotes && equals == std::string::npos) {
                equals = i;
            } else if (c == ';' && !inQuotes) {
                end = i;
                break;
            }
        }
        const std::string key = equals == std::string::npos ? std::string() : trimming::trimmed(line.substr(0, equals));
        if (!valid || inQuotes || key.empty()) {
            doc.m_damaged = true;
            continue;
        }
        // A key given twice keeps its first place and its last value.
        std::string path = prefix + unescapeName(key);
        std::string raw = line.substr(equals + 1, end - equals - 1);
        const auto known = index.find(path);
        if (known != index.end()) {
            doc.m_entries[known->second].second = std::move(raw);
        } else {
            index.emplace(path, doc.m_entries.size());
            doc.m_entries.emplace_back(std::move(path), std::move(raw));
        }
    }
    return doc;
}

std::optional<std::string> Document::value(const std::string &path) const
{
    for (const auto &entry : m_entries) {
        if (entry.first == path)
            return textOf(unescape(entry.second));
    }
    return std::nullopt;
}

void Document::setValue(const std::string &path, const std::string &value)
{
    const std::string raw = escapeValue(value);
    for (auto &entry : m_entries) {
        if (entry.first == path) {
            entry.second = raw;
            return;
        }
    }
    m_entries.emplace_back(path, raw);
}

std::string Document::serialize() const
{
    // Groups in the order they first appear, each key under its group.
    std::vector<std::string> order;
    std::unordered_map<std::string, std::vector<size_t>> groups;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const std::string section = sectionOf(m_entries[i].first);
        auto &group = groups[section];
        if (group.empty())
            order.push_back(section);
        group.push_back(i);
    }
    std::string out;
    for (const std::string &section : order) {
        if (!out.empty())
            out += '\n';
        if (section.empty())
            out += "[General]\n";
        else if (section == "General")
            out += "[%General]\n";
        else
            out += '[' + escapeName(section) + "]\n";
        for (size_t i : groups[section]) {
            const auto &entry = m_entries[i];
            const std::string key = section.empty() ? entry.first : entry.first.substr(section.size() + 1);
            out += escapeName(key) + '=' + entry.second + '\n';
        }
    }
    return out;
}


} // namespace inifile
