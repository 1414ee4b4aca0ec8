#pragma once

#include <functional>
#include <string>

typedef struct _WebKitWebView WebKitWebView;

// Find in page: the first search for a text, then steps forwards and backwards.
class PageFinder
{
public:
    // `view` gives the engine's view now in use.
    explicit PageFinder(std::function<WebKitWebView *()> view);

    // "" ends the search and clears what it highlighted.
    void find(const std::string &text, bool backward);

private:
    std::function<WebKitWebView *()> m_view;
    std::string m_text;
};
