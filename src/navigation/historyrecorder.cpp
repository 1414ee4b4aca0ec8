#include "navigation/historyrecorder.h"

#include "history/historystore.h"
#include "interfaces/pageview.h"
#include "pagerules/makersite.h"
#include "util/urlinput.h"

HistoryRecorder::HistoryRecorder(PageView &view, HistoryStore &store) : m_view(view), m_store(store)
{
    view.loadStarted.connect(sigc::mem_fun(*this, &HistoryRecorder::loadStarted));
    view.urlChanged.connect(sigc::mem_fun(*this, &HistoryRecorder::urlChanged));
    view.loadCommitted.connect(sigc::mem_fun(*this, &HistoryRecorder::committed));
    view.titleChanged.connect(sigc::mem_fun(*this, &HistoryRecorder::titleChanged));
}

void HistoryRecorder::loadStarted()
{
    m_recordedThisLoad = false;
}

void HistoryRecorder::urlChanged(const std::string &address)
{
    // A new page's address arrives before its commit; a page's own change of
    // address (a script's) comes alone.
    if (address == m_address)
        return;
    record(address);
    m_recordedThisLoad = true;
}

void HistoryRecorder::committed()
{
    // The same address loaded again (Refresh, or surfed once more).
    if (!m_recordedThisLoad)
        record(m_view.currentAddress());
    m_recordedThisLoad = false;
}

void HistoryRecorder::titleChanged(const std::string &title)
{
    if (!m_visit || title.empty() || title == m_title)
        return;
    m_title = title;
    if (m_store.setTitle(m_visit, title))
        recorded.emit();
}

void HistoryRecorder::record(const std::string &address)
{
    m_address = address;
    m_visit = 0;
    m_title = m_view.currentTitle();
    const std::string scheme = urlinput::schemeOf(address);
    // The maker's referral is passed through on the way to its start page.
    if ((scheme != "http" && scheme != "https" && scheme != "file") || m_view.showingErrorPage()
        || makersite::leadsOn(address))
        return;
    m_visit = m_store.recordVisit(address, m_title);
    if (m_visit)
        recorded.emit();
}
