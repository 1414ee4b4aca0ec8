#pragma once

#include "interfaces/pageview.h"

#include <functional>
#include <sigc++/sigc++.h>
#include <string>

typedef struct _WebKitWebView WebKitWebView;
typedef struct _WebKitUserContentFilter WebKitUserContentFilter;
typedef struct _WebKitUserMessage WebKitUserMessage;
typedef struct _WebKitContextMenu WebKitContextMenu;
class ContentBlocking;

// Blocking trackers and ads on one page view: the profile's filter is on the
// view's content manager while blocking is on and the site has no exception,
// the requests it blocks are counted per page, and the page's menu offers
// the exception.
class ViewBlocking : public sigc::trackable
{
public:
    ViewBlocking(ContentBlocking &lists, std::function<WebKitWebView *()> view);
    ~ViewBlocking();
    ViewBlocking(const ViewBlocking &) = delete;
    ViewBlocking &operator=(const ViewBlocking &) = delete;

    void setEnabled(bool on);
    void setAllowed(std::function<bool(const std::string &host)> allowed) { m_allowed = std::move(allowed); }
    PageView::PageBlocking state() const;

    // The main frame is about to load, or is loading, this address: the
    // filter follows its site. The page's own document takes the filter as
    // its load starts, its requests as they go: the program's own loads set
    // it before they start; a page's own navigation sets it once started,
    // which its document's hiding rules may have missed.
    void loading(const std::string &uri);
    // A new page replaced the last: its count starts.
    void committed();
    // The page's load ended.
    void loaded();
    // The engine's view was replaced by a new one without the filter.
    void viewReplaced();
    // A message from the page process; true when it was ours.
    bool message(WebKitUserMessage *message);
    // Offers the exception for the site of the page shown.
    void contextMenu(WebKitContextMenu *menu, const std::string &shownUri);

    sigc::signal<void()> changed;
    sigc::signal<void(const std::string &host, bool allow)> choice;

private:
    void apply();
    void listsChanged();
    bool allowedOn(const std::string &host) const;

    ContentBlocking &m_lists;
    std::function<WebKitWebView *()> m_view;
    std::function<bool(const std::string &)> m_allowed;
    bool m_enabled = false;
    std::string m_host;
    bool m_allowedHere = false;
    int m_blocked = 0;
    // The filter now on the view's content manager.
    WebKitUserContentFilter *m_added = nullptr;
};
