#include "pagerules/hostdisplay.h"

#include <glib.h>
#include <unicode/uchar.h>
#include <unicode/ulocdata.h>
#include <unicode/uscript.h>
#include <unicode/uset.h>
#include <unicode/uspoof.h>
#include <unicode/utf8.h>

#include <cstring>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace hostdisplay {
namespace {

struct CloseChecker
{
    void operator()(USpoofChecker *checker) const { uspoof_close(checker); }
};
using Checker = std::unique_ptr<USpoofChecker, CloseChecker>;

// "ru_RU.UTF-8:ru:C" -> "en,ru_RU,ru": ICU's locale list. Latin is everyone's.
std::string localeList(const std::string &languages)
{
    std::string list = "en";
    gchar **names = g_strsplit(languages.c_str(), ":", -1);
    for (gchar **name = names; *name; ++name) {
        std::string code = *name;
        code = code.substr(0, code.find_first_of(".@"));
        if (code.empty() || code == "C" || code == "POSIX" || code.find_first_not_of(
                "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_-0123456789") != std::string::npos)
            continue;
        list += "," + code;
    }
    g_strfreev(names);
    return list;
}

// The checker for these languages: the characters of their scripts that
// identifiers are recommended to use, plus ASCII letters, digits and '-'.
Checker makeChecker(const std::string &languages)
{
    UErrorCode status = U_ZERO_ERROR;
    Checker checker(uspoof_open(&status));
    if (U_FAILURE(status))
        return nullptr;
    uspoof_setAllowedLocales(checker.get(), localeList(languages).c_str(), &status);
    USet *allowed = uset_cloneAsThawed(uspoof_getAllowedChars(checker.get(), &status));
    if (U_FAILURE(status))
        return nullptr;
    uset_retainAll(allowed, uspoof_getRecommendedSet(&status));
    uset_addRange(allowed, '0', '9');
    uset_addRange(allowed, 'a', 'z');
    uset_addRange(allowed, 'A', 'Z');
    uset_add(allowed, '-');
    uset_freeze(allowed);
    uspoof_setAllowedChars(checker.get(), allowed, &status);
    uset_close(allowed);
    uspoof_setRestrictionLevel(checker.get(), USPOOF_HIGHLY_RESTRICTIVE);
    uspoof_setChecks(checker.get(),
                     USPOOF_RESTRICTION_LEVEL | USPOOF_INVISIBLE | USPOOF_MIXED_NUMBERS | USPOOF_CHAR_LIMIT
                         | USPOOF_HIDDEN_OVERLAY,
                     &status);
    return U_SUCCESS(status) ? std::move(checker) : nullptr;
}

std::vector<UChar32> codePoints(const std::string &text)
{
    std::vector<UChar32> result;
    const auto *bytes = reinterpret_cast<const uint8_t *>(text.data());
    const int32_t length = int32_t(text.size());
    for (int32_t i = 0; i < length;) {
        UChar32 c = 0;
        U8_NEXT(bytes, i, length, c);
        result.push_back(c);
    }
    return result;
}

// Latin letters that pass for other Latin letters and that the checks above
// may let through: dotless i, script g, the dental click, alpha, kra, and
// every small capital.
bool imitatesALetter(UChar32 c)
{
    if (c == 0x0131 || c == 0x0261 || c == 0x01C0 || c == 0x0251 || c == 0x0138)
        return true;
    char name[128];
    UErrorCode status = U_ZERO_ERROR;
    u_charName(c, U_UNICODE_CHAR_NAME, name, sizeof name, &status);
    return U_SUCCESS(status) && std::strstr(name, "LATIN LETTER SMALL CAPITAL") != nullptr;
}

std::set<UScriptCode> scriptsOf(const std::string &label)
{
    std::set<UScriptCode> scripts;
    for (UChar32 c : codePoints(label)) {
        UErrorCode status = U_ZERO_ERROR;
        const UScriptCode script = uscript_getScript(c, &status);
        if (U_SUCCESS(status) && script != USCRIPT_COMMON && script != USCRIPT_INHERITED)
            scripts.insert(script);
    }
    return scripts;
}

bool isAscii(const std::string &text)
{
    for (unsigned char c : text) {
        if (c >= 0x80)
            return false;
    }
    return true;
}

// A label's skeleton: what it looks like, by UTS #39's confusables,
// decomposed (each mark follows its letter); nullopt when ICU cannot say.
std::optional<std::string> skeletonOf(const USpoofChecker *checker, const std::string &label)
{
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = uspoof_getSkeletonUTF8(checker, 0, label.c_str(), -1, nullptr, 0, &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status))
        return std::nullopt;
    std::string skeleton(std::size_t(length) + 1, '\0');
    status = U_ZERO_ERROR;
    uspoof_getSkeletonUTF8(checker, 0, label.c_str(), -1, skeleton.data(), length + 1, &status);
    skeleton.resize(std::size_t(length));
    return U_FAILURE(status) ? std::nullopt : std::optional<std::string>(skeleton);
}

// The text without its marks: what it looks like to someone who does not
// notice a dot, an accent or a hook on a letter.
std::string withoutMarks(const std::string &decomposed)
{
    std::string unmarked;
    for (UChar32 c : codePoints(decomposed)) {
        if (u_charType(c) == U_NON_SPACING_MARK)
            continue;
        gchar bytes[6];
        unmarked.append(bytes, std::size_t(g_unichar_to_utf8(gunichar(c), bytes)));
    }
    return unmarked;
}

// Whether every letter of the label beyond ASCII belongs to the alphabet of
// one of these languages (ICU's locale list).
bool writtenIn(const std::string &label, const std::string &locales)
{
    USet *letters = uset_openEmpty();
    gchar **names = g_strsplit(locales.c_str(), ",", -1);
    for (gchar **name = names; *name; ++name) {
        UErrorCode status = U_ZERO_ERROR;
        ULocaleData *data = ulocdata_open(*name, &status);
        if (U_FAILURE(status))
            continue;
        if (USet *alphabet = ulocdata_getExemplarSet(data, nullptr, 0, ULOCDATA_ES_STANDARD, &status)) {
            if (U_SUCCESS(status))
                uset_addAll(letters, alphabet);
            uset_close(alphabet);
        }
        ulocdata_close(data);
    }
    g_strfreev(names);
    bool written = true;
    for (UChar32 c : codePoints(label))
        written = written && (c < 0x80 || uset_contains(letters, c));
    uset_close(letters);
    return written;
}

// Whether a host in its Unicode form may be shown so.
bool safe(const std::string &unicodeHost, const std::string &languages)
{
    const Checker checker = makeChecker(languages);
    if (!checker)
        return false;
    std::vector<std::string> labels;
    gchar **parts = g_strsplit(unicodeHost.c_str(), ".", -1);
    for (gchar **part = parts; *part; ++part) {
        if (**part)
            labels.emplace_back(*part);
    }
    g_strfreev(parts);
    const std::set<UScriptCode> topLevel = labels.empty() ? std::set<UScriptCode>() : scriptsOf(labels.back());
    for (const std::string &label : labels) {
        if (isAscii(label))
            continue;
        UErrorCode status = U_ZERO_ERROR;
        if (uspoof_check2UTF8(checker.get(), label.c_str(), -1, nullptr, &status) != 0 || U_FAILURE(status))
            return false;
        for (UChar32 c : codePoints(label)) {
            if (imitatesALetter(c))
                return false;
        }
        // "аррӏе" under ".рф" is a Russian name; under ".com" it poses as "apple".
        const std::set<UScriptCode> scripts = scriptsOf(label);
        const bool ownTopLevel = !isAscii(labels.back()) && scripts == topLevel;
        const auto skeleton = skeletonOf(checker.get(), label);
        if (!skeleton || (isAscii(*skeleton) && !ownTopLevel))
            return false;
        // "ạpple", "bańk": an ASCII name with marks added. Shown so only where
        // the marked letters are the reader's own ("café" to a French reader).
        if (isAscii(withoutMarks(*skeleton)) && !ownTopLevel
            && !(scripts == std::set<UScriptCode>{USCRIPT_LATIN} && writtenIn(label, localeList(languages))))
            return false;
    }
    return true;
}

std::string owned(gchar *text)
{
    std::string result = text ? text : "";
    g_free(text);
    return result;
}

std::string userLanguages()
{
    std::string languages;
    for (const gchar *const *name = g_get_language_names(); *name; ++name)
        languages += (languages.empty() ? "" : ":") + std::string(*name);
    return languages;
}

} // namespace

std::string displayHost(const std::string &host, const std::string &languages)
{
    if (host.empty() || g_hostname_is_ip_address(host.c_str()) || !g_utf8_validate(host.data(), gssize(host.size()), nullptr))
        return host;
    if (isAscii(host) && !g_hostname_is_ascii_encoded(host.c_str()))
        return host;
    const std::string ascii = owned(g_hostname_to_ascii(host.c_str()));
    const std::string unicode = ascii.empty() ? std::string() : owned(g_hostname_to_unicode(ascii.c_str()));
    if (unicode.empty())
        return isAscii(host) ? host : ascii.empty() ? host : ascii;
    if (safe(unicode, languages))
        return unicode;
    return isAscii(host) ? host : ascii;
}

std::string displayAddress(const std::string &address, const std::string &languages)
{
    // scheme "://" [userinfo "@"] host [":" port] [path...]
    const size_t scheme = address.find("://");
    if (scheme == std::string::npos || scheme == 0 || !g_ascii_isalpha(address[0]))
        return address;
    for (size_t i = 1; i < scheme; ++i) {
        const char c = address[i];
        if (!g_ascii_isalnum(c) && c != '+' && c != '-' && c != '.')
            return address;
    }
    const size_t authority = scheme + 3;
    size_t end = address.find_first_of("/?#", authority);
    if (end == std::string::npos)
        end = address.size();
    const size_t at = address.rfind('@', end == 0 ? 0 : end - 1);
    const size_t hostStart = at != std::string::npos && at >= authority ? at + 1 : authority;
    size_t hostEnd = end;
    if (hostStart < end && address[hostStart] != '[') {
        const size_t colon = address.find(':', hostStart);
        if (colon != std::string::npos && colon < end)
            hostEnd = colon;
    }
    const std::string host = address.substr(hostStart, hostEnd - hostStart);
    // The user name and password stay out of sight: "bank.test:secure@evil.test".
    const std::string before = address.substr(0, authority);
    if (host.empty() || host[0] == '[')
        return before + address.substr(hostStart);
    return before + displayHost(host, languages) + address.substr(hostEnd);
}

std::string forUser(const std::string &address)
{
    return displayAddress(address, userLanguages());
}

std::string hostForUser(const std::string &address)
{
    GUri *uri = g_uri_parse(address.c_str(), G_URI_FLAGS_NONE, nullptr);
    const std::string host = uri && g_uri_get_host(uri) ? g_uri_get_host(uri) : "";
    if (uri)
        g_uri_unref(uri);
    return displayHost(host, userLanguages());
}

} // namespace hostdisplay
