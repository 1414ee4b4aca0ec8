#include "pagerules/siteexceptions.h"

#include "settings/settingskeys.h"
#include "settings/settingsstore.h"

#include <algorithm>
#include <glib.h>

namespace siteexceptions {

namespace {
bool isHost(const std::string &host)
{
    return !host.empty() && host.size() <= 253 && std::all_of(host.begin(), host.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == ':';
    });
}
} // namespace

std::string hostOf(const std::string &address)
{
    GUri *uri = g_uri_parse(address.c_str(), G_URI_FLAGS_NONE, nullptr);
    if (!uri)
        return std::string();
    const std::string scheme = g_uri_get_scheme(uri);
    const char *name = g_uri_get_host(uri);
    std::string host = name && (scheme == "http" || scheme == "https") ? name : "";
    g_uri_unref(uri);
    gchar *folded = g_ascii_strdown(host.c_str(), -1);
    host = folded;
    g_free(folded);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    while (!host.empty() && host.back() == '.')
        host.pop_back();
    return isHost(host) ? host : std::string();
}

bool allowed(const SettingsStore &settings, const std::string &host)
{
    return isHost(host) && settings.read(keys::App, keys::AdsAllowed, host, "0") == "1";
}

bool setAllowed(SettingsStore &settings, const std::string &host, bool allow)
{
    return isHost(host) && settings.write(keys::App, keys::AdsAllowed, host, allow ? "1" : "0");
}

} // namespace siteexceptions
