#pragma once

typedef struct _WebKitWebView WebKitWebView;

// A hidden view that shares the page's process and loads a blank page in it:
// the engine starts a page process only for a first load, and a blank first
// load of the page view itself would stay in its history. Made with the page
// view, so the process is ready by the time the first page is asked for;
// dropped once that page is on screen.
class WarmUpView
{
public:
    explicit WarmUpView(WebKitWebView *pageView);
    ~WarmUpView();
    WarmUpView(const WarmUpView &) = delete;
    WarmUpView &operator=(const WarmUpView &) = delete;

private:
    WebKitWebView *m_view;
};
