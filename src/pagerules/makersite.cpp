#include "pagerules/makersite.h"

#include "util/appicon.h"

#include <gio/gio.h>
#include <glib.h>

namespace makersite {
namespace {

const std::string PrivatePrefix = Scheme + "://" + Host;

std::string replaceAll(std::string text, const std::string &from, const std::string &to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string page(const std::string &name, const std::string &engineVersion)
{
    std::string html = resourcePage(name);
    html = replaceAll(html, "{{VERSION}}", SKIMLARK_VERSION);
    html = replaceAll(html, "{{ENGINE}}", engineVersion);
    html = replaceAll(html, "{{MAKER}}", Name);
    html = replaceAll(html, "{{START}}", StartPage);
    html = replaceAll(html, "{{HELP}}", HelpPage);
    html = replaceAll(html, "{{HOME}}", OwnAddress);
    return html;
}

std::string iconPng()
{
    gchar *buffer = nullptr;
    gsize size = 0;
    auto icon = appicon::draw(32);
    if (!icon || !gdk_pixbuf_save_to_buffer(icon->gobj(), &buffer, &size, "png", nullptr, nullptr))
        return std::string();
    std::string png(buffer, size);
    g_free(buffer);
    return png;
}

// The address split, or null when it does not parse.
GUri *parse(const std::string &address)
{
    return g_uri_parse(address.c_str(), GUriFlags(G_URI_FLAGS_ENCODED | G_URI_FLAGS_SCHEME_NORMALIZE),
                       nullptr);
}

std::string hostOf(GUri *uri)
{
    std::string host = g_uri_get_host(uri) ? g_uri_get_host(uri) : "";
    if (!host.empty() && host.back() == '.')
        host.pop_back();
    gchar *lower = g_ascii_strdown(host.c_str(), -1);
    host = lower;
    g_free(lower);
    return host;
}

// Path, query and fragment as written, the path at least "/".
std::string tailOf(GUri *uri)
{
    std::string tail = *g_uri_get_path(uri) ? g_uri_get_path(uri) : "/";
    if (g_uri_get_query(uri))
        tail += std::string("?") + g_uri_get_query(uri);
    if (g_uri_get_fragment(uri))
        tail += std::string("#") + g_uri_get_fragment(uri);
    return tail;
}

} // namespace

std::optional<std::string> leadsOn(const std::string &address)
{
    if (address == ReferralAddress)
        return StartPage;
    return std::nullopt;
}

bool isMakerAddress(const std::string &address)
{
    GUri *uri = parse(address);
    if (!uri)
        return false;
    const bool ours = g_strcmp0(g_uri_get_scheme(uri), Scheme.c_str()) != 0 && hostOf(uri) == Host;
    g_uri_unref(uri);
    return ours;
}

std::optional<std::string> toPrivate(const std::string &address)
{
    GUri *uri = parse(address);
    if (!uri)
        return std::nullopt;
    std::optional<std::string> result;
    if (g_strcmp0(g_uri_get_scheme(uri), Scheme.c_str()) != 0 && hostOf(uri) == Host)
        result = PrivatePrefix + tailOf(uri);
    g_uri_unref(uri);
    return result;
}

bool isPrivate(const std::string &address)
{
    return address.rfind(Scheme + ":", 0) == 0;
}

std::string toReal(const std::string &address)
{
    if (!isPrivate(address))
        return address;
    GUri *uri = parse(address);
    if (!uri)
        return OwnAddress + "/";
    const std::string real = "http://" + Host + tailOf(uri);
    g_uri_unref(uri);
    return real;
}

bool answersRequest(const std::string &shownPage, const std::string &origin, const std::string &referrer)
{
    return isPrivate(shownPage) && (origin.empty() || isPrivate(origin)) && (referrer.empty() || isPrivate(referrer));
}

Reply answer(const std::string &method, const std::string &path, const std::string &engineVersion)
{
    const std::string html = "text/html; charset=utf-8";
    if (method != "GET" && method != "HEAD")
        return {405, "text/plain; charset=utf-8", "Only pages to read here."};
    if (path == "/")
        return {200, html, page("maker.html", engineVersion)};
    if (path == "/skimlark.htm")
        return {200, html, page("start.html", engineVersion)};
    if (path == "/skimlark/skimlarkhelp.htm")
        return {200, html, page("help.html", engineVersion)};
    if (path == "/affiliates/" || path == "/affiliates")
        return {200, html, page("referral.html", engineVersion)};
    if (path == "/skimlark.css")
        return {200, "text/css; charset=utf-8", resourcePage("skimlark.css")};
    if (path == "/favicon.ico")
        return {200, "image/png", iconPng()};
    return {404, html, page("notfound.html", engineVersion)};
}

std::string resourcePage(const std::string &name)
{
    const std::string path = "/org/velmora/skimlark/pages/" + name;
    GBytes *bytes = g_resources_lookup_data(path.c_str(), G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr);
    if (!bytes)
        return std::string();
    gsize size = 0;
    const auto *data = static_cast<const char *>(g_bytes_get_data(bytes, &size));
    std::string text(data, size);
    g_bytes_unref(bytes);
    return text;
}

std::string blockingRules()
{
    // One rule per scheme family: the rule language has no alternatives. A
    // user name, a trailing dot or a port must not slip past.
    std::string rules = "[";
    const char *schemes[] = {"https?", "wss?", "ftp"};
    for (const char *scheme : schemes) {
        if (rules.size() > 1)
            rules += ",";
        rules += std::string(R"({"trigger":{"url-filter":"^)") + scheme
                 + R"(://([^/]*@)?www\\.velmora\\.example\\.?[:/]"},"action":{"type":"block"}})";
    }
    return rules + "]";
}

} // namespace makersite
