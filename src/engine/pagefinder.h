#pragma once

#include <functional>
#include <sigc++/trackable.h>
#include <string>

typedef struct _WebKitWebView WebKitWebView;
typedef struct _WebKitFindController WebKitFindController;

// Find in page: the first search for a text from the top of the page, then
// steps forwards and backwards, wrapping around; each search says which
// match is shown and how many there are.
class PageFinder : public sigc::trackable
{
public:
    // `view` gives the engine's view now in use; `result` gets the match
    // shown (from 1) and the number of matches, 0 and 0 when there is none.
    PageFinder(std::function<WebKitWebView *()> view, std::function<void(int current, int total)> result);
    ~PageFinder();
    PageFinder(const PageFinder &) = delete;
    PageFinder &operator=(const PageFinder &) = delete;

    // "" ends the search and clears what it highlighted.
    void find(const std::string &text, bool backward);

private:
    WebKitFindController *controller();
    void search(bool backward);
    void found(unsigned count);
    void counted(unsigned count);
    void report();
    void notFound();

    std::function<WebKitWebView *()> m_view;
    std::function<void(int, int)> m_result;
    WebKitFindController *m_controller = nullptr;
    std::string m_text;
    // A search of a new text waits for the page's selection to be cleared:
    // only the latest may run.
    unsigned m_generation = 0;
    // Where the match now shown is, counted from 1, and which way the last step went.
    int m_current = 0;
    int m_total = -1;
    int m_step = 0;
};
