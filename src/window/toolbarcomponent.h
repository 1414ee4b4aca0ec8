#pragma once

#include <gtkmm/progressbar.h>
#include <gtkmm/toolbar.h>
#include <gtkmm/toolitem.h>
#include <sigc++/connection.h>
#include <vector>

class PageView;

// What lives in the second toolbar: the page's load progress. The window
// relies on nothing it returns.
class ToolbarComponent
{
public:
    ToolbarComponent() = default;
    ~ToolbarComponent() { release(); }

    // Takes the second toolbar and the page view whose loads it shows.
    void attach(Gtk::Toolbar &toolbar, PageView &view);
    // Lets go of what attach() took.
    void release();

    bool attached() const { return !m_connections.empty(); }

private:
    Gtk::ToolItem m_item;
    Gtk::ProgressBar m_progress;
    std::vector<sigc::connection> m_connections;
};
