#include "engine/securefirst.h"

#include "util/urlinput.h"

SecureFirst::SecureFirst(std::function<void(const std::string &)> fallBack) : m_fallBack(std::move(fallBack)) {}

SecureFirst::~SecureFirst()
{
    m_wait.disconnect();
}

std::string SecureFirst::start(const std::string &https)
{
    cancel();
    const std::string http = "http" + https.substr(5);
    const std::string host = urlinput::hostOf(https);
    if (m_plainHosts.count(host) && !m_secureHosts.count(host))
        return http;
    m_https = https;
    m_http = http;
    m_host = host;
    m_wait = Glib::signal_timeout().connect_seconds(
        [this] {
            fallBack();
            return false;
        },
        WaitSeconds);
    return https;
}

void SecureFirst::cancel()
{
    m_wait.disconnect();
    m_https.clear();
    m_http.clear();
    m_host.clear();
}

void SecureFirst::answered(const std::string &uri)
{
    if (uri.rfind("https:", 0) == 0)
        m_secureHosts.insert(urlinput::hostOf(uri));
    if (!m_https.empty())
        cancel();
}

bool SecureFirst::attempting(const std::string &uri) const
{
    return !m_https.empty() && urlinput::hostOf(uri) == m_host && !m_secureHosts.count(m_host);
}

bool SecureFirst::failed(const std::string &uri)
{
    if (m_https.empty() || urlinput::hostOf(uri) != m_host)
        return false;
    if (m_secureHosts.count(m_host)) {
        cancel();
        return false;
    }
    fallBack();
    return true;
}

void SecureFirst::fallBack()
{
    const std::string http = m_http;
    m_plainHosts.insert(m_host);
    cancel();
    if (!http.empty())
        m_fallBack(http);
}
