#pragma once

#include <cstddef>
#include <functional>
#include <sigc++/sigc++.h>
#include <string>

#include "util/heldsignal.h"

namespace Gtk { class Overlay; class Widget; }

// The one page view of the main window. Rendering, history and networking
// belong to the engine behind it; the program only calls these operations and
// listens to these events. Tests use a recording fake.
class PageView
{
    // Declared first: the events below wait in it.
    SignalHold m_events;

public:
    virtual ~PageView() = default;

    // From now on the events below wait, in order, until handOverEvents():
    // a page can be on its way before the window that shows it is built.
    void holdEvents() { m_events.hold(); }
    // The events that waited reach their handlers, in order, as if they
    // came now; later ones then go straight through.
    void handOverEvents() { m_events.handOver(); }

    // The widget to place in the window (the page with its own bars around it).
    virtual Gtk::Widget &widget() = 0;
    // Where the page's questions are drawn: `layer` lies over the whole
    // window, and a question reaches from the page up across its top edge,
    // over the window's own controls, where no page can draw.
    virtual void showQuestionsOver(Gtk::Overlay &layer) = 0;
    // The user moves the keyboard into the page's question (F6): false when
    // the page asks none. Nothing else gives a question the keyboard.
    virtual bool focusQuestion() = 0;

    // Starts loading an address and returns at once; a second navigate
    // replaces a load in progress. Text the user typed is turned into an
    // address where it is typed (urlinput.h), never here.
    virtual void navigate(const std::string &address) = 0;
    // An address the user typed without a scheme, as its https:// form: it
    // opens over https, and over http when no secure connection can be made
    // (refused, no TLS, a certificate the engine does not accept, or no
    // answer within a few seconds). A host seen to work over https in this
    // run is never fetched over http this way.
    virtual void navigateSecureFirst(const std::string &httpsAddress) = 0;
    // Where a page cannot be opened because its host does not exist, the
    // explanation offers to search for the host's name: `queryFor` gives the
    // address that searches for some words.
    virtual void offerSearch(std::function<std::string(const std::string &words)> queryFor) = 0;
    // Goes to an address in place of the page now shown: the page's entry in
    // the history becomes the new one, so Back never returns to it.
    virtual void replacePage(const std::string &address) = 0;
    // Shows generated HTML under the given address (used for local listings).
    virtual void showHtml(const std::string &html, const std::string &baseAddress) = 0;
    // False when there is no step to take: the caller reports it.
    virtual bool goBack() = 0;
    virtual bool goForward() = 0;
    virtual void stop() = 0;
    virtual void refresh() = 0;
    // The address and title of the page now shown, as the user should read
    // them (look-alike hosts in their xn-- form).
    virtual std::string currentAddress() const = 0;
    virtual std::string currentTitle() const = 0;
    // The page shown is one of ours explaining why the address could not be
    // opened, not the address's own page.
    virtual bool showingErrorPage() const { return false; }
    // False when the view cannot start the job; the outcome otherwise arrives later.
    virtual bool print() = 0;
    virtual bool printPreview() = 0;
    virtual bool saveAs() = 0;
    virtual void takeFocus() = 0;
    // The page's zoom (1.0 is 100%); zoomChanged tells a change.
    virtual double zoomLevel() const = 0;
    virtual void setZoomLevel(double level) = 0;
    // Find, for the keys users expect.
    virtual void findText(const std::string &text, bool backward) = 0;
    // The Internet settings panel's choices for the page engine.
    virtual void setJavaScriptEnabled(bool enabled) = 0;
    virtual void setImagesEnabled(bool enabled) = 0;
    // Deletes cookies, cache, site storage, saved sign-ins, certificate
    // exceptions and the history, with the page left meanwhile and loaded
    // again after; `done` gets what was deleted, or an error, once it was.
    virtual void clearBrowsingData(std::function<void(bool ok, const std::string &what)> done) = 0;

    // How the page on screen reached the user.
    struct Security
    {
        // Unknown: no page from the web (a blank page, a file, the program's
        // own pages, an explanation of a failed load).
        enum class Level { Unknown, Secure, NotSecure };
        Level level = Level::Unknown;
        std::string host;
        // Why a page is not secure, in words; empty for a secure one.
        std::string problem;
        // The certificate of an https page, as it names them.
        std::string issuedTo, issuedBy, validFrom, validUntil;
    };
    virtual Security security() const = 0;

    // Blocking trackers and ads, with the lists on this system.
    struct Blocking
    {
        enum class Lists { Unused, Missing, Preparing, Ready, Failed };
        Lists lists = Lists::Unused;
        std::size_t rulesUsed = 0;
        std::size_t rulesSkipped = 0;
        // Why the lists could not be made ready.
        std::string problem;
    };
    // What blocking does on the page shown.
    struct PageBlocking
    {
        // Requests of the page are blocked (on, ready, and no exception).
        bool blocking = false;
        // The user lets trackers and ads load on the page's site.
        bool allowedHere = false;
        // Requests blocked since the page replaced the last one.
        int blocked = 0;
    };
    // Blocking on or off for the pages from now on; the first time on
    // readies the lists, in the background.
    virtual void setBlockingEnabled(bool on) = 0;
    // Asked with a page's host as it loads: whether the user lets trackers
    // and ads load there.
    virtual void setAdsAllowed(std::function<bool(const std::string &host)> allowed) = 0;
    virtual Blocking blocking() const = 0;
    virtual PageBlocking pageBlocking() const = 0;

    // A file on its way to where the user said it goes.
    struct Download
    {
        enum class State { Running, Finished, Failed, Cancelled };
        // Names it from the user's answer to its end, a fetch again included.
        unsigned id = 0;
        // Where it goes; once finished, where it landed (a taken name gets a number).
        std::string path;
        // The address it comes from.
        std::string source;
        long long received = 0;
        // Bytes in all, -1 while unknown.
        long long size = -1;
        State state = State::Running;
    };
    // Stops a running download; what came of it goes.
    virtual void cancelDownload(unsigned id) = 0;

    // The events. Each is a HeldSignal on m_events, so that while the view
    // holds its events none overtakes another: a new one is declared so too.

    // A load began (the status bar says "Getting Page...").
    HeldSignal<> loadStarted{m_events};
    // The main frame's new page replaced the old one on screen.
    HeldSignal<> loadCommitted{m_events};
    // The main frame's load ended; the address is the one now shown.
    HeldSignal<const std::string &> loadFinished{m_events};
    // A load the program started for the user ended without its page: it was
    // stopped (by the user, by the page or by another load) or, when
    // `downloaded`, its file went to the downloads. The page on screen stays;
    // the address is the one that was being loaded. Follows loadFinished.
    HeldSignal<const std::string &, bool> loadEndedWithoutPage{m_events};
    // The address shown changed: a new page replaced the old one on screen
    // (a load on its way changes nothing yet), or the page changed its own.
    HeldSignal<const std::string &> urlChanged{m_events};
    HeldSignal<const std::string &> titleChanged{m_events};
    // Text for the status bar (a link's address under the pointer, or empty).
    HeldSignal<const std::string &> statusTextChanged{m_events};
    // Progress of the current load, 0 to 100.
    HeldSignal<int> progressChanged{m_events};
    // What the last find came to: the match now shown, counted from 1, and
    // how many there are; 0 and 0 when the text is not on the page.
    HeldSignal<int, int> findResult{m_events};
    // The lists' state changed (blocking()).
    HeldSignal<> blockingChanged{m_events};
    // What blocking does on the page shown changed (pageBlocking()).
    HeldSignal<> pageBlockingChanged{m_events};
    // The page's security changed (security()): a new page, or insecure
    // content on the one shown.
    HeldSignal<> securityChanged{m_events};
    HeldSignal<double> zoomChanged{m_events};
    // The user chose, in the page's menu, to let trackers and ads load on
    // the page's site (true) or to block them there again.
    HeldSignal<const std::string &, bool> adsChoice{m_events};
    // The user said where a file goes, more of it came (a few times a
    // second at most), or it ended.
    HeldSignal<const Download &> downloadChanged{m_events};
};
