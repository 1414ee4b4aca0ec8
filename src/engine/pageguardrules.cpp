#include "engine/pageguardrules.h"

#include "engine/hostdisplay.h"

#include <glib.h>

namespace pageguard {

std::string schemeOf(const std::string &address)
{
    char *scheme = g_uri_parse_scheme(address.c_str());
    std::string result = scheme ? scheme : "";
    g_free(scheme);
    for (char &c : result)
        c = g_ascii_tolower(c);
    return result;
}

bool engineScheme(const std::string &scheme, bool localScheme)
{
    static const char *const own[] = {"http", "https", "file",      "about",
                                      "data", "blob",  "javascript"};
    for (const char *s : own) {
        if (scheme == s)
            return true;
    }
    return localScheme;
}

bool topLevelForbidden(const std::string &address)
{
    const std::string scheme = schemeOf(address);
    return scheme == "data" || scheme == "javascript";
}

std::string shownHost(const std::string &address)
{
    std::string inner = address;
    // A blob: address carries its page's origin inside.
    if (schemeOf(inner) == "blob")
        inner = inner.substr(5);
    const std::string scheme = schemeOf(inner);
    if (scheme != "http" && scheme != "https")
        return "";
    // Shown through the address display, so look-alike hosts keep their xn-- form.
    return hostdisplay::hostForUser(inner);
}

std::string boxTitle(const std::string &address)
{
    const std::string host = shownHost(address);
    return host.empty() ? "a page says" : host + " says";
}

std::string permissionQuestion(Permission kind, const std::string &who)
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
        "show itself in full screen",
        "use a part of your computer",
    };
    return (who.empty() ? std::string("This page") : who) + " wants to " + wants[int(kind)] +
           ". Allow?";
}

std::optional<Permission> permissionNamed(const std::string &name)
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

std::map<std::pair<std::string, int>, bool> &PermissionMemory::answers()
{
    static std::map<std::pair<std::string, int>, bool> map;
    return map;
}

std::optional<bool> PermissionMemory::recall(const std::string &origin, Permission kind)
{
    if (kind == Permission::CameraAndMicrophone) {
        const auto camera = recall(origin, Permission::Camera);
        const auto microphone = recall(origin, Permission::Microphone);
        if (camera && microphone && *camera == *microphone)
            return camera;
        if ((camera && !*camera) || (microphone && !*microphone))
            return false;
    }
    const auto found = answers().find({origin, int(kind)});
    return found == answers().end() ? std::nullopt : std::optional<bool>(found->second);
}

void PermissionMemory::remember(const std::string &origin, Permission kind, bool allowed)
{
    answers()[{origin, int(kind)}] = allowed;
    if (kind == Permission::CameraAndMicrophone) {
        answers()[{origin, int(Permission::Camera)}] = allowed;
        answers()[{origin, int(Permission::Microphone)}] = allowed;
    }
}

} // namespace pageguard
