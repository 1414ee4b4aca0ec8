#include "navigation/pagestatus.h"

#include "interfaces/pageview.h"
#include "history/downloadrows.h"
#include "navigation/addressbar.h"
#include "pagerules/makersite.h"
#include "util/filename.h"

#include <cmath>
#include <glibmm/datetime.h>
#include <glibmm/main.h>

namespace {
enum Panel { Activity = 0, Message = 1, Clock = 2 };
}

PageStatus::PageStatus(PageView &view, std::array<Gtk::Label, 3> &panels,
                       Gtk::Window &captionWindow, AddressBar &addressBar)
    : m_view(view), m_panels(panels), m_captionWindow(captionWindow), m_addressBar(addressBar)
{
    view.loadStarted.connect(sigc::mem_fun(*this, &PageStatus::loadStarted));
    view.loadFinished.connect(sigc::hide(sigc::mem_fun(*this, &PageStatus::loadFinished)));
    view.loadEndedWithoutPage.connect(sigc::mem_fun(*this, &PageStatus::loadEndedWithoutPage));
    view.statusTextChanged.connect(sigc::mem_fun(*this, &PageStatus::statusTextChanged));
    view.urlChanged.connect(sigc::hide(sigc::mem_fun(*this, &PageStatus::urlChanged)));
    view.titleChanged.connect(sigc::mem_fun(*this, &PageStatus::titleChanged));
    // Requests blocked after the load (late trackers) still count.
    view.pageBlockingChanged.connect(sigc::mem_fun(*this, &PageStatus::pageBlockingChanged));
    view.downloadChanged.connect(sigc::mem_fun(*this, &PageStatus::downloadChanged));
    view.zoomChanged.connect(sigc::hide(sigc::mem_fun(*this, &PageStatus::zoomChanged)));

    m_clock = Glib::signal_timeout().connect(sigc::mem_fun(*this, &PageStatus::clockTick), 500);
    // Show the time at once rather than half a second after the window opens.
    clockTick();
}

PageStatus::~PageStatus()
{
    m_clock.disconnect();
    m_noticeClock.disconnect();
    m_noticeShown.disconnect();
}

void PageStatus::tell(const std::string &notice)
{
    m_notice = notice;
    m_panels[Message].set_text(notice);
    m_noticeClock.disconnect();
    m_noticeShown.disconnect();
    auto hold = [this] {
        m_noticeClock = Glib::signal_timeout().connect_seconds(
            [this] {
                noticeEnded();
                return false;
            },
            NoticeSeconds);
    };
    // Told while the program starts, it is held from when the window shows.
    if (m_captionWindow.get_mapped()) {
        hold();
        return;
    }
    m_noticeShown = m_captionWindow.signal_map().connect([this, hold] {
        m_noticeShown.disconnect();
        hold();
    });
}

void PageStatus::noticeEnded()
{
    m_notice.clear();
    m_panels[Message].set_text(m_pageMessage);
}

void PageStatus::writeMessage(const std::string &text)
{
    m_pageMessage = text;
    if (m_notice.empty())
        m_panels[Message].set_text(text);
}

void PageStatus::loadStarted()
{
    m_panels[Activity].set_text("Getting Page...");
    writeMessage("Skimlark is receiving packets...");
    m_showingLoaded = false;
    m_loading = true;
}

void PageStatus::loadEndedWithoutPage(const std::string &address, bool downloaded)
{
    // The address typed or handed over is not what is on screen.
    const std::string shown = m_view.currentAddress();
    m_addressBar.showPageAddress(shown);
    m_loading = false;
    // The page on screen stays, with what it said; the file shows after its address.
    if (downloaded) {
        if (m_pageLoaded)
            m_panels[Activity].set_text("Got it");
        showLoaded();
        return;
    }
    m_panels[Activity].set_text("Stopped");
    writeMessage("Stopped loading " + address + (shown.empty() ? "" : "; the page shown is " + shown));
    m_showingLoaded = false;
}

void PageStatus::loadFinished()
{
    m_panels[Activity].set_text("Got it");
    showLoaded();
    m_loading = false;
    m_pageLoaded = true;
    showCaption(m_view.currentTitle());
    if (const auto next = makersite::leadsOn(m_view.currentAddress()))
        m_view.replacePage(*next);
}

void PageStatus::titleChanged(const std::string &title)
{
    // The engine may learn the title only after the load has finished, and a
    // script may change it later: once a page has loaded, the caption follows.
    // A new load clears the title until the new one arrives: the caption
    // keeps the last one meanwhile.
    if (m_pageLoaded && !(m_loading && title.empty()))
        showCaption(title);
}

void PageStatus::showCaption(const std::string &title)
{
    // A page without a title (a picture, a PDF) is named by its address.
    m_captionWindow.set_title("Skimlark - " + (title.empty() ? m_view.currentAddress() : title));
}

void PageStatus::statusTextChanged(const std::string &text)
{
    // A link's address shows over a notice; the notice comes back after it.
    m_pageMessage = text;
    m_panels[Message].set_text(text.empty() && !m_notice.empty() ? m_notice : text);
    m_showingLoaded = false;
}

void PageStatus::pageBlockingChanged()
{
    if (m_showingLoaded)
        showLoaded();
}

void PageStatus::downloadChanged(const PageView::Download &download)
{
    if (download.state == PageView::Download::State::Running)
        m_downloads[download.id] = download;
    else
        m_downloads.erase(download.id);
    if (m_showingLoaded)
        showLoaded();
}

void PageStatus::zoomChanged()
{
    if (m_showingLoaded)
        showLoaded();
}

void PageStatus::showLoaded()
{
    std::vector<downloadrows::Running> running;
    for (const auto &[id, download] : m_downloads)
        running.push_back({fileNameOf(download.path), download.received, download.size});
    writeMessage(withNotes(m_view.currentAddress(),
                           {blockingNote(m_view.pageBlocking()), zoomNote(m_view.zoomLevel()),
                            downloadrows::statusNote(running)}));
    m_showingLoaded = true;
}

std::string PageStatus::withNotes(std::string text, const std::vector<std::string> &notes)
{
    for (const std::string &note : notes) {
        if (!note.empty())
            text += (text.empty() ? "" : " \u2014 ") + note;
    }
    return text;
}

std::string PageStatus::zoomNote(double level)
{
    const int percent = int(std::lround(level * 100));
    return percent == 100 ? std::string() : "zoom " + std::to_string(percent) + "%";
}

std::string PageStatus::blockingNote(const PageView::PageBlocking &blocking)
{
    if (blocking.allowedHere)
        return "ads allowed on this site";
    if (blocking.blocking && blocking.blocked > 0)
        return std::to_string(blocking.blocked) + " blocked";
    return std::string();
}

void PageStatus::urlChanged()
{
    m_addressBar.showPageAddress(m_view.currentAddress());
}

bool PageStatus::clockTick()
{
    m_panels[Clock].set_text(Glib::DateTime::create_now_local().format("%X"));
    return true;
}
