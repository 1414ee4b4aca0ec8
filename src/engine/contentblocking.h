#pragma once

#include "interfaces/pageview.h"

#include <optional>
#include <sigc++/sigc++.h>
#include <string>
#include <vector>

typedef struct _WebKitUserContentFilter WebKitUserContentFilter;
typedef struct _WebKitUserContentFilterStore WebKitUserContentFilterStore;
typedef struct _GCancellable GCancellable;
typedef struct _GSubprocess GSubprocess;

// The filter that blocks trackers and ads, for one engine profile. Started
// when blocking is first wanted: it finds the lists, and loads the filter
// compiled from them earlier, or has the compile helper make it in the
// background. Nothing waits for it: pages load unblocked until it is ready.
class ContentBlocking : public sigc::trackable
{
public:
    struct Options
    {
        // The engine's filter store for it.
        std::string storeFolder;
        // The compile helper.
        std::string compiler;
        // The lists; nullopt: those the system's package installs.
        std::optional<std::vector<std::string>> lists;
    };

    explicit ContentBlocking(Options options);
    // Ends a compile under way.
    ~ContentBlocking();
    ContentBlocking(const ContentBlocking &) = delete;
    ContentBlocking &operator=(const ContentBlocking &) = delete;

    // Starts finding, loading or compiling the filter; once only.
    void start();
    // A page is asked for, or one has ended its load. A compile, seconds of
    // work on every core, waits while the first page loads.
    void pageLoading();
    void pageLoaded();
    const PageView::Blocking &status() const { return m_status; }
    // Null until the filter is ready.
    WebKitUserContentFilter *filter() const { return m_filter; }
    // The status changed (the filter may be ready).
    sigc::signal<void()> changed;

private:
    // The lists' key, read from them now, or known from an earlier start.
    void keyRead(const std::string &key);
    void keyFound(const std::string &key);
    void loaded(WebKitUserContentFilter *filter);
    void startCompile();
    void compileEnded(bool ok, const std::string &problem);
    void fail(const std::string &problem);
    std::string countsPath() const;
    std::string signaturePath() const;

    Options m_options;
    std::vector<std::string> m_lists;
    std::string m_identifier;
    std::string m_signature;
    bool m_started = false;
    bool m_compiled = false;
    bool m_firstPageLoading = false;
    bool m_firstPageLoaded = false;
    bool m_compileWaiting = false;
    PageView::Blocking m_status;
    WebKitUserContentFilterStore *m_store = nullptr;
    WebKitUserContentFilter *m_filter = nullptr;
    GCancellable *m_cancellable = nullptr;
    GSubprocess *m_compile = nullptr;
};
