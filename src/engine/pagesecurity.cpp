#include "engine/pagesecurity.h"

#include "util/urlinput.h"

#include <webkit2/webkit2.h>

namespace pagesecurity {
namespace {

std::string stringProperty(GTlsCertificate *certificate, const char *name)
{
    gchar *value = nullptr;
    g_object_get(certificate, name, &value, nullptr);
    std::string result = value ? value : "";
    g_free(value);
    return result;
}

std::string dateProperty(GTlsCertificate *certificate, const char *name)
{
    GDateTime *value = nullptr;
    g_object_get(certificate, name, &value, nullptr);
    if (!value)
        return std::string();
    GDateTime *local = g_date_time_to_local(value);
    gchar *text = g_date_time_format(local ? local : value, "%x %X");
    std::string result = text ? text : "";
    g_free(text);
    if (local)
        g_date_time_unref(local);
    g_date_time_unref(value);
    return result;
}

// What the engine found wrong with a certificate, the first thing first.
std::string certificateProblem(GTlsCertificateFlags errors)
{
    if (errors & G_TLS_CERTIFICATE_UNKNOWN_CA)
        return "its certificate is not signed by a known authority";
    if (errors & G_TLS_CERTIFICATE_BAD_IDENTITY)
        return "its certificate belongs to another site";
    if (errors & G_TLS_CERTIFICATE_NOT_ACTIVATED)
        return "its certificate is not valid yet";
    if (errors & G_TLS_CERTIFICATE_EXPIRED)
        return "its certificate has expired";
    if (errors & G_TLS_CERTIFICATE_REVOKED)
        return "its certificate was revoked";
    if (errors & G_TLS_CERTIFICATE_INSECURE)
        return "its certificate uses weak encryption";
    return "its certificate could not be checked";
}

} // namespace

PageView::Security refused(const std::string &uri, unsigned problems)
{
    PageView::Security security;
    security.level = PageView::Security::Level::NotSecure;
    security.host = urlinput::hostOf(uri);
    security.problem = certificateProblem(GTlsCertificateFlags(problems)) + ", so the page was not opened";
    return security;
}

PageView::Security of(WebKitWebView *view, const std::string &uri, bool insecureContent)
{
    PageView::Security security;
    const std::string scheme = uri.substr(0, uri.find(':'));
    if (scheme != "http" && scheme != "https")
        return security;
    security.host = urlinput::hostOf(uri);
    security.level = PageView::Security::Level::NotSecure;
    if (scheme == "http") {
        security.problem = "the connection to it is not encrypted";
        return security;
    }
    GTlsCertificate *certificate = nullptr;
    GTlsCertificateFlags errors = GTlsCertificateFlags(0);
    if (!webkit_web_view_get_tls_info(view, &certificate, &errors) || !certificate) {
        security.problem = "its certificate is not known";
        return security;
    }
    security.issuedTo = stringProperty(certificate, "subject-name");
    security.issuedBy = stringProperty(certificate, "issuer-name");
    security.validFrom = dateProperty(certificate, "not-valid-before");
    security.validUntil = dateProperty(certificate, "not-valid-after");
    if (errors)
        security.problem = certificateProblem(errors) + ", and it was let through by an exception";
    else if (insecureContent)
        security.problem = "parts of this page are not sent securely";
    else
        security.level = PageView::Security::Level::Secure;
    return security;
}

} // namespace pagesecurity
