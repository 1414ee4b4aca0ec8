#pragma once

#include <functional>
#include <string>

// The program's own pages shown in place of a page: a load that failed, a
// certificate that cannot be trusted, a page process that ended. Refresh on
// one of them loads the page itself again.
class ErrorPages
{
public:
    // `show` puts the HTML on screen under the failing address.
    using Show = std::function<void(const std::string &html, const std::string &address)>;
    explicit ErrorPages(Show show);

    // The query address that searches the web for some words; "" for none.
    using Search = std::function<std::string(const std::string &words)>;
    void offerSearch(Search search) { m_search = std::move(search); }

    // `noSuchHost`: the address's host does not resolve, so the words typed
    // were likely meant as a search, which the page then offers.
    void loadFailed(const std::string &address, const std::string &reason, bool noSuchHost = false);
    void untrusted(const std::string &address, unsigned problems);
    // The page process ended while `address` was shown. False when it keeps
    // ending: no page is tried again until the user asks for one.
    bool processEnded();
    void crashed(const std::string &address, bool overMemory);
    // The user asked for a page: page process ends count afresh.
    void userAsked() { m_crashes = 0; }
    // What Refresh loads instead of reloading `shownUri`: the page behind
    // the error page shown, or "" when none shows.
    std::string takeRefreshTarget(const std::string &shownUri);

private:
    void show(const std::string &page, const std::string &address, const std::string &reason,
              const std::string &more = std::string());

    Show m_show;
    Search m_search;
    // The address whose error or crash page is shown.
    std::string m_errorAddress;
    // Page process ends since the user last asked for a page: stops a crash loop.
    int m_crashes = 0;
};
