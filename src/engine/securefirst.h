#pragma once

#include <functional>
#include <glibmm/main.h>
#include <set>
#include <string>

// Typed addresses go over https first. One attempt at a time: it ends when
// its page answers (or is redirected), and falls back to http when the
// secure connection cannot be made or nothing answers for a few seconds.
// Hosts whose https worked this run never fall back.
class SecureFirst
{
public:
    // Falls back by loading this address.
    explicit SecureFirst(std::function<void(const std::string &http)> fallBack);
    ~SecureFirst();

    // The https address to load now (the http one for a host whose https
    // failed already and never worked: no wait for it twice).
    std::string start(const std::string &https);
    // Any other load, or Stop: the attempt is over.
    void cancel();
    // The engine answered `uri`: the secure connection works for its host.
    void answered(const std::string &uri);
    // Whether `uri` is the attempt's, with no secure answer from its host yet.
    bool attempting(const std::string &uri) const;
    // The attempt's load failed (a network or certificate error): true when
    // it falls back, and the failure should not be explained.
    bool failed(const std::string &uri);

    static constexpr unsigned WaitSeconds = 5;

private:
    void fallBack();

    std::function<void(const std::string &)> m_fallBack;
    std::string m_https;
    std::string m_http;
    std::string m_host;
    std::set<std::string> m_secureHosts;
    std::set<std::string> m_plainHosts;
    sigc::connection m_wait;
};
