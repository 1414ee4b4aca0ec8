#pragma once

#include <sigc++/trackable.h>
#include <string>

class PageView;
class SiteZoom;

// Ctrl+plus, Ctrl+minus and Ctrl+0 zoom the site on screen, and only it: the
// level is kept per host (across restarts, by SiteZoom) and each page takes
// its site's level as it replaces the last one.
class PageZoom : public sigc::trackable
{
public:
    PageZoom(PageView &view, SiteZoom &levels);

    void in();
    void out();
    void reset();

private:
    void pageChanged();
    void choose(double level);

    PageView &m_view;
    SiteZoom &m_levels;
};
