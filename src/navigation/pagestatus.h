#pragma once

#include "interfaces/pageview.h"

#include <array>
#include <gtkmm/label.h>
#include <gtkmm/window.h>
#include <map>

class AddressBar;

// Turns the page view's events into what the user sees around the page: the
// three status bar panels, the window caption and the address bar's text. It
// also runs the clock in the last panel and sends a loaded page of the
// maker's that leads on (the referral) to where it leads.
class PageStatus : public sigc::trackable
{
public:
    PageStatus(PageView &view, std::array<Gtk::Label, 3> &panels, Gtk::Window &captionWindow,
               AddressBar &addressBar);
    ~PageStatus();

    // What the second panel adds to a loaded page's address: "12 blocked",
    // the site's exception, or nothing.
    static std::string blockingNote(const PageView::PageBlocking &blocking);
    // What the second panel adds after the loaded page's address and its
    // notes, each after " — ": the notes that are not empty.
    static std::string withNotes(std::string text, const std::vector<std::string> &notes);
    // What it adds while the page is not at 100%: "zoom 120%".
    static std::string zoomNote(double level);

    // Something the program tells the user in the long panel: it stays over
    // the page's load texts for NoticeSeconds of the window being on screen
    // (a link under the pointer still shows, and the notice comes back).
    void tell(const std::string &notice);
    static constexpr int NoticeSeconds = 10;

private:
    void loadStarted();
    void loadFinished();
    void loadEndedWithoutPage(const std::string &address, bool downloaded);
    void statusTextChanged(const std::string &text);
    // The long panel's text from the page's events, unless a notice holds it.
    void writeMessage(const std::string &text);
    void noticeEnded();
    void urlChanged();
    void titleChanged(const std::string &title);
    void showCaption(const std::string &title);
    bool clockTick();
    void showLoaded();
    void pageBlockingChanged();
    void downloadChanged(const PageView::Download &download);
    void zoomChanged();

    PageView &m_view;
    std::array<Gtk::Label, 3> &m_panels;
    Gtk::Window &m_captionWindow;
    AddressBar &m_addressBar;
    sigc::connection m_clock;
    std::string m_notice;
    // What the page's events last wrote in the long panel.
    std::string m_pageMessage;
    sigc::connection m_noticeClock;
    sigc::connection m_noticeShown;
    // The caption keeps its design text until the first page has loaded.
    bool m_pageLoaded = false;
    // A load is under way: its page's title has not arrived yet.
    bool m_loading = false;
    // The second panel shows the loaded page (not a link or a load's text).
    bool m_showingLoaded = false;
    // The files on their way, for the percentage after the page's address.
    std::map<unsigned, PageView::Download> m_downloads;
};
