#include "navigation/pagezoom.h"

#include "history/sitezoom.h"
#include "interfaces/pageview.h"
#include "util/urlinput.h"

#include <algorithm>
#include <iterator>

namespace {

// The levels a step goes through, as in other browsers.
constexpr double Steps[] = {0.3, 0.5, 0.67, 0.8, 0.9, 1.0, 1.1, 1.2, 1.33, 1.5, 1.7, 2.0, 2.4, 3.0, 4.0, 5.0};

} // namespace

PageZoom::PageZoom(PageView &view, SiteZoom &levels) : m_view(view), m_levels(levels)
{
    view.loadCommitted.connect(sigc::mem_fun(*this, &PageZoom::pageChanged));
}

void PageZoom::pageChanged()
{
    const std::string host = urlinput::hostOf(m_view.currentAddress());
    m_view.setZoomLevel(host.empty() ? 1.0 : m_levels.level(host));
}

void PageZoom::in()
{
    const double now = m_view.zoomLevel();
    const auto next = std::find_if(std::begin(Steps), std::end(Steps), [now](double s) { return s > now + 0.005; });
    if (next != std::end(Steps))
        choose(*next);
}

void PageZoom::out()
{
    const double now = m_view.zoomLevel();
    const auto next = std::find_if(std::rbegin(Steps), std::rend(Steps), [now](double s) { return s < now - 0.005; });
    if (next != std::rend(Steps))
        choose(*next);
}

void PageZoom::reset()
{
    choose(1.0);
}

void PageZoom::choose(double level)
{
    m_view.setZoomLevel(level);
    // A page without a host (a file, a blank page) zooms, and is not remembered.
    if (const std::string host = urlinput::hostOf(m_view.currentAddress()); !host.empty())
        m_levels.setLevel(host, level);
}
