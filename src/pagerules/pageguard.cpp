#include "pagerules/pageguard.h"

#include "pagerules/hostdisplay.h"
#include "util/showntext.h"

#include <gio/gio.h>

namespace {

// Schemes the engine shows itself; any other belongs to another program.
bool engineScheme(const std::string &scheme, bool localScheme)
{
    static const char *const own[] = {"http", "https", "file", "about", "data", "blob", "javascript"};
    for (const char *s : own) {
        if (scheme == s)
            return true;
    }
    return localScheme;
}

} // namespace

PageGuard::Open PageGuard::navigation(const std::string &target, bool userGesture, bool localScheme) const
{
    if (engineScheme(schemeOf(target), localScheme))
        return Open::Allow;
    // Another program's address: nothing starts unless the user clicked and says so.
    return userGesture ? Open::AskOtherProgram : Open::Refuse;
}

PageGuard::Open PageGuard::newWindow(const std::string &target, bool userGesture, bool localScheme) const
{
    if (!userGesture)
        return Open::Refuse;
    const std::string scheme = schemeOf(target);
    if (!engineScheme(scheme, localScheme))
        return Open::AskOtherProgram;
    // A page may open web pages, or a blank one; never a local file, a data:
    // or javascript: address, or the program's own scheme.
    if (scheme == "http" || scheme == "https" || target == "about:blank")
        return Open::Allow;
    return Open::Refuse;
}

void PageGuard::userActed(bool inFrame, bool frameMayLeadTop, long long when)
{
    m_lastAct = Act{!inFrame || frameMayLeadTop, when};
}

bool PageGuard::mayReplacePage(long long when) const
{
    // The engine lets a gesture run on for a second (a timer set by a click).
    constexpr long long GestureLasts = 1000000;
    return m_lastAct && m_lastAct->leadsTop && when >= m_lastAct->when && when - m_lastAct->when <= GestureLasts;
}

PageGuard::Box PageGuard::nextBox()
{
    if (m_blocked)
        return Box::Refuse;
    return m_boxesInRow++ >= 3 ? Box::ShowOfferingBlock : Box::Show;
}

void PageGuard::pageChanged()
{
    m_boxesInRow = 0;
    m_blocked = false;
    m_frameOrigins.clear();
    m_lastAct.reset();
}

void PageGuard::frameSeen(const std::string &origin)
{
    m_frameOrigins.insert(origin);
}

std::string PageGuard::asker(const std::string &pageAddress) const
{
    const std::string host = shownHost(pageAddress);
    if (host.empty())
        return "";
    // The engine does not say which frame asked. A document restored from
    // the back and forward cache names its frames again only as it is shown:
    // until then, the page's own name would be a guess.
    if (m_frameOrigins.empty())
        return "an embedded page";
    // With frames of other origins on the page, the page's own name would be a guess too.
    const std::string page = originOf(pageAddress);
    for (const std::string &origin : m_frameOrigins) {
        if (origin != page)
            return "an embedded page on " + host;
    }
    return host;
}

std::string PageGuard::boxTitle(const std::string &pageAddress) const
{
    const std::string who = asker(pageAddress);
    return (who.empty() ? "a page" : who) + " says";
}

std::optional<bool> PageGuard::recall(const std::string &origin, Permission kind) const
{
    if (kind == Permission::CameraAndMicrophone) {
        const auto camera = recall(origin, Permission::Camera);
        const auto microphone = recall(origin, Permission::Microphone);
        if (camera && microphone && *camera == *microphone)
            return camera;
        if ((camera && !*camera) || (microphone && !*microphone))
            return false;
    }
    const auto found = m_answers.find({origin, int(kind)});
    return found == m_answers.end() ? std::nullopt : std::optional<bool>(found->second);
}

void PageGuard::remember(const std::string &origin, Permission kind, bool allowed)
{
    m_answers[{origin, int(kind)}] = allowed;
    if (kind == Permission::CameraAndMicrophone) {
        m_answers[{origin, int(Permission::Camera)}] = allowed;
        m_answers[{origin, int(Permission::Microphone)}] = allowed;
    }
}

std::string PageGuard::permissionQuestion(Permission kind, const std::string &who)
{
    static const char *const wants[] = {
        "know your location",
        "show notifications",
        "use your camera",
        "use your microphone",
        "use your camera and microphone",
        "see your screen",
        "read your clipboard",
        "hide and hold your mouse pointer",
        "list your cameras and microphones",
        "play protected media",
        "use its cookies and site data on this page",
        "use a part of your computer",
    };
    return (who.empty() ? std::string("This page") : who) + " wants to " + wants[int(kind)] + ". Allow?";
}

std::optional<PageGuard::Permission> PageGuard::permissionNamed(const std::string &name)
{
    static const std::pair<const char *, Permission> names[] = {
        {"geolocation", Permission::Location},
        {"notifications", Permission::Notifications},
        {"camera", Permission::Camera},
        {"microphone", Permission::Microphone},
        {"clipboard-read", Permission::Clipboard},
        {"display-capture", Permission::Screen},
    };
    for (const auto &[n, kind] : names) {
        if (name == n)
            return kind;
    }
    return std::nullopt;
}

std::string PageGuard::signInText(const std::string &host, const std::string &realm, bool plainText, bool proxy)
{
    std::string text = (proxy ? "The proxy " : "") + host + " asks for a user name and password.";
    if (!realm.empty())
        // Short enough that the program's own words after it are never cut.
        text += "\n\nThe site says: \u201c" + showntext::cut(realm, 300) + "\u201d";
    if (plainText)
        text += "\n\nThe password would be sent without encryption: others on the network could read it.";
    return text;
}

bool PageGuard::certificateMayBeAccepted(unsigned problems)
{
    const unsigned acceptable = G_TLS_CERTIFICATE_UNKNOWN_CA | G_TLS_CERTIFICATE_BAD_IDENTITY
                                | G_TLS_CERTIFICATE_EXPIRED | G_TLS_CERTIFICATE_NOT_ACTIVATED;
    return problems != 0 && (problems & ~acceptable) == 0;
}

std::string PageGuard::certificateProblems(unsigned problems)
{
    static const std::pair<unsigned, const char *> words[] = {
        {G_TLS_CERTIFICATE_UNKNOWN_CA, "it is not signed by a known authority"},
        {G_TLS_CERTIFICATE_BAD_IDENTITY, "it belongs to another site"},
        {G_TLS_CERTIFICATE_NOT_ACTIVATED, "it is not valid yet"},
        {G_TLS_CERTIFICATE_EXPIRED, "it has expired"},
        {G_TLS_CERTIFICATE_REVOKED, "it has been revoked"},
        {G_TLS_CERTIFICATE_INSECURE, "it uses weak encryption"},
        {G_TLS_CERTIFICATE_GENERIC_ERROR, "it is damaged"},
    };
    std::string text;
    for (const auto &[flag, word] : words) {
        if (problems & flag)
            text += (text.empty() ? "" : ", ") + std::string(word);
    }
    return text.empty() ? "it is not valid" : text;
}

std::string PageGuard::schemeOf(const std::string &address)
{
    char *scheme = g_uri_parse_scheme(address.c_str());
    std::string result = scheme ? scheme : "";
    g_free(scheme);
    for (char &c : result)
        c = g_ascii_tolower(c);
    return result;
}

std::string PageGuard::originOf(const std::string &address)
{
    // A blob: address carries its page's origin inside.
    const std::string inner = schemeOf(address) == "blob" ? address.substr(5) : address;
    GUri *uri = g_uri_parse(inner.c_str(), G_URI_FLAGS_ENCODED, nullptr);
    if (!uri)
        return "null";
    const std::string scheme = schemeOf(inner);
    const char *host = g_uri_get_host(uri);
    const int port = g_uri_get_port(uri);
    const bool defaultPort = port < 0 || (scheme == "http" && port == 80) || (scheme == "https" && port == 443);
    std::string origin = "null";
    if ((scheme == "http" || scheme == "https") && host && *host) {
        gchar *lower = g_ascii_strdown(host, -1);
        origin = scheme + "://" + lower + (defaultPort ? "" : ":" + std::to_string(port));
        g_free(lower);
    }
    g_uri_unref(uri);
    return origin;
}

std::string PageGuard::shownHost(const std::string &address)
{
    const std::string inner = schemeOf(address) == "blob" ? address.substr(5) : address;
    const std::string scheme = schemeOf(inner);
    if (scheme != "http" && scheme != "https")
        return "";
    // Shown through the address display, so look-alike hosts keep their xn-- form.
    return hostdisplay::hostForUser(inner);
}
