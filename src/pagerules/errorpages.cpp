#include "pagerules/errorpages.h"

#include "pagerules/hostdisplay.h"
#include "pagerules/makersite.h"
#include "pagerules/pageguard.h"

#include <glib.h>

namespace {

std::string replaceAll(std::string text, const std::string &from, const std::string &to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string escaped(const std::string &text)
{
    gchar *markup = g_markup_escape_text(text.c_str(), -1);
    std::string result = markup;
    g_free(markup);
    return result;
}

} // namespace

ErrorPages::ErrorPages(Show show) : m_show(std::move(show)) {}

void ErrorPages::loadFailed(const std::string &address, const std::string &reason, bool noSuchHost)
{
    std::string offer;
    if (noSuchHost && m_search) {
        // The name as the user would have typed it.
        const std::string words = hostdisplay::hostForUser(address);
        const std::string query = words.empty() ? std::string() : m_search(words);
        if (!query.empty())
            offer = "<p>Or <a href=\"" + escaped(query) + "\">search the web for \u201c" + escaped(words)
                    + "\u201d</a>.</p>";
    }
    show("failed.html", address, reason, offer);
}

void ErrorPages::untrusted(const std::string &address, unsigned problems)
{
    show("failed.html", address,
         "its certificate cannot be trusted (" + PageGuard::certificateProblems(problems) + ")");
}

bool ErrorPages::processEnded()
{
    return ++m_crashes <= 1;
}

void ErrorPages::crashed(const std::string &address, bool overMemory)
{
    show("crashed.html", address, overMemory ? "used more memory than allowed" : "crashed");
}

std::string ErrorPages::takeRefreshTarget(const std::string &shownUri)
{
    m_crashes = 0;
    std::string target;
    if (!m_errorAddress.empty() && m_errorAddress == shownUri)
        target = m_errorAddress;
    m_errorAddress.clear();
    return target;
}

void ErrorPages::show(const std::string &page, const std::string &address, const std::string &reason,
                      const std::string &more)
{
    m_errorAddress = address;
    std::string html = makersite::resourcePage(page);
    html = replaceAll(html, "{{ADDRESS}}", escaped(hostdisplay::forUser(makersite::toReal(address))));
    html = replaceAll(html, "{{REASON}}", escaped(reason));
    html = replaceAll(html, "{{MORE}}", more);
    m_show(html, address);
}
