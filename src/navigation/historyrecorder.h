#pragma once

#include <cstdint>
#include <sigc++/sigc++.h>
#include <string>

class HistoryStore;
class PageView;

// Keeps every page the user reaches in the history: a visit each time a page
// replaces the last one on screen or the page changes its own address, with
// its title as it arrives. Web pages and local files only: the blank page,
// Skimlark's explanations of an address that could not be opened and the
// maker's referral (which leads straight on) are no place the user went.
// Each is one short write on the main loop.
class HistoryRecorder : public sigc::trackable
{
public:
    HistoryRecorder(PageView &view, HistoryStore &store);

    // A visit was kept, or its title changed.
    sigc::signal<void()> recorded;

private:
    void loadStarted();
    void urlChanged(const std::string &address);
    void committed();
    void titleChanged(const std::string &title);
    void record(const std::string &address);

    PageView &m_view;
    HistoryStore &m_store;
    std::int64_t m_visit = 0;
    std::string m_address;
    std::string m_title;
    // The page that committed already had its visit from its new address.
    bool m_recordedThisLoad = false;
};
