#pragma once

#include <memory>
#include <optional>
#include <sigc++/signal.h>
#include <string>
#include <vector>

typedef struct _WebKitWebContext WebKitWebContext;
typedef struct _WebKitWebsiteDataManager WebKitWebsiteDataManager;
typedef struct _WebKitUserContentFilter WebKitUserContentFilter;
class ContentBlocking;
class NetworkWatch;

namespace engineprofile {
// The page engine's name and version, e.g. "WebKitGTK 2.50.6".
std::string engineVersion();
}

// The page engine's profile for this user: cookies, cache and site storage
// kept under $XDG_DATA_HOME/Velmora/Skimlark so they survive restarts, the
// engine's sandbox, and the maker's own pages. Create it before the first
// page view; it must outlive every view made on it.
class EngineProfile
{
public:
    struct Options
    {
        // Where site data and the cache live; empty: under $XDG_DATA_HOME/Velmora/Skimlark
        // and $XDG_CACHE_HOME/Velmora/Skimlark.
        std::string dataFolder;
        std::string cacheFolder;
        // "http://host:port": every request but those to loopback goes there.
        // Empty: the system's proxy settings.
        std::string proxy;
        // Where the program's own helper files are (empty: beside the
        // running program, or where they are installed).
        std::string programFolder;
        // The lists of trackers and ads; nullopt: those the system's package installs.
        std::optional<std::vector<std::string>> filterLists;
    };

    EngineProfile();
    explicit EngineProfile(const Options &options);
    ~EngineProfile();
    EngineProfile(const EngineProfile &) = delete;
    EngineProfile &operator=(const EngineProfile &) = delete;

    WebKitWebContext *context() const { return m_context; }
    WebKitWebsiteDataManager *dataManager() const { return m_dataManager; }
    // Blocks every request for the maker's host; null if it could not be built.
    // Waits for it while it is still being compiled.
    WebKitUserContentFilter *makerFilter();
    const std::string &dataFolder() const { return m_dataFolder; }
    // The filter that blocks trackers and ads, for every view of the profile.
    ContentBlocking &contentBlocking() { return *m_blocking; }

    // The engine's network process ended: a load on its way may never end.
    sigc::signal<void()> networkEnded;
    // Watches the network processes started so far; call it as a load starts.
    void watchNetwork();

    // Empty while the sandbox can run; otherwise a sentence for the user, and
    // no page may be shown.
    const std::string &sandboxProblem() const
    {
        probed();
        return m_sandboxProblem;
    }
    // What stands in the bar above the page for the sandbox: the problem, or
    // else a warning that does not keep pages from showing (running as root).
    const std::string &sandboxBarText() const
    {
        probed();
        return m_sandboxProblem.empty() ? m_sandboxNotice : m_sandboxProblem;
    }

    // Why the engine's sandbox could not start here ("" when it can). The
    // engine's own variable for running without it counts as a missing sandbox.
    static std::string probeSandbox();
    // The problem when WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS holds `value`
    // (null: unset); "" when the engine keeps its sandbox.
    static std::string disabledByVariable(const char *value);
    // The warning for a program running as root; "" otherwise.
    static std::string rootNotice(bool root);
    // Starts the check probeSandbox() makes, in the background, so that its
    // answer is ready by the time the profile is made.
    static void startSandboxProbe();
    // Choices the engine reads once from the environment (a snap's variables
    // are cleared, so pages keep their sandbox). Call it first in
    // main, before any thread starts.
    static void setUpProcess();

private:
    // Made first: network processes running before this profile are not its own.
    std::unique_ptr<NetworkWatch> m_network;
    WebKitWebContext *m_context = nullptr;
    WebKitWebsiteDataManager *m_dataManager = nullptr;
    struct FilterBuild;
    void startMakerFilter();
    std::unique_ptr<FilterBuild> m_filterBuild;
    std::unique_ptr<ContentBlocking> m_blocking;
    std::string m_dataFolder;
    // The check is waited for when a page first needs its answer, so that a
    // profile made early does not wait for it.
    void probed() const;
    mutable bool m_probed = false;
    mutable std::string m_sandboxProblem;
    mutable std::string m_sandboxNotice;
};
