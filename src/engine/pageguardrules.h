#pragma once

#include <map>
#include <optional>
#include <string>

// What the page guard decides from an address alone, kept apart from the
// engine so it can be read (and tested) at a glance.
namespace pageguard {

// The scheme of an address in lower case; "" when it has none.
std::string schemeOf(const std::string &address);
// Schemes the engine shows itself; any other belongs to another program.
// `localScheme` is true for schemes the program registered as its own.
bool engineScheme(const std::string &scheme, bool localScheme = false);
// Addresses a page may never open at the top level (a new window or a
// navigation of the whole tab): data: and javascript:.
bool topLevelForbidden(const std::string &address);
// The host of an address as the user should read it; "" for an opaque origin
// (data:, about:blank, a local file).
std::string shownHost(const std::string &address);
// The title of a box a page caused: "<host> says", or "a page says".
std::string boxTitle(const std::string &address);

// What a page may ask for.
enum class Permission {
    Location,
    Notifications,
    Camera,
    Microphone,
    CameraAndMicrophone,
    Screen,
    Clipboard,
    PointerLock,
    DeviceInfo,
    MediaKeys,
    SiteData,
    FullScreen,
    Other
};
// The question shown for it: "<who> wants to use your camera. Allow?".
std::string permissionQuestion(Permission kind, const std::string &who);
// The kind behind a name the Permissions API asks about ("camera"); nullopt if unknown.
std::optional<Permission> permissionNamed(const std::string &name);

// The user's answers, per origin and kind, until the program closes.
class PermissionMemory
{
public:
    static std::optional<bool> recall(const std::string &origin, Permission kind);
    static void remember(const std::string &origin, Permission kind, bool allowed);

private:
    static std::map<std::pair<std::string, int>, bool> &answers();
};

} // namespace pageguard
