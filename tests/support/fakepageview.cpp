#include "fakepageview.h"

bool FakePageView::goBack()
{
    calls.push_back("back");
    if (m_index <= 0)
        return false;
    address = m_history.at(--m_index);
    urlChanged.emit(address);
    return true;
}

bool FakePageView::goForward()
{
    calls.push_back("forward");
    if (m_index < 0 || m_index + 1 >= int(m_history.size()))
        return false;
    address = m_history.at(++m_index);
    urlChanged.emit(address);
    return true;
}

void FakePageView::finishLoad(const std::string &pageTitle)
{
    const std::string target = navigations.empty() ? std::string() : navigations.back();
    loadStarted.emit();
    m_history.resize(m_index + 1);
    m_history.push_back(target);
    m_index = int(m_history.size()) - 1;
    address = target;
    title = pageTitle;
    urlChanged.emit(target);
    loadCommitted.emit();
    titleChanged.emit(pageTitle);
    loadFinished.emit(target);
}
