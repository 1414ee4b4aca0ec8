#include "window/toolbarcomponent.h"

#include "interfaces/pageview.h"

#include <algorithm>

void ToolbarComponent::attach(Gtk::Toolbar &toolbar, PageView &view)
{
    if (attached())
        return;
    m_progress.get_accessible()->set_name("Page load progress");
    m_progress.set_size_request(200, -1);
    m_progress.set_valign(Gtk::ALIGN_CENTER);
    m_item.add(m_progress);
    m_item.set_margin_start(6);
    m_item.show();
    toolbar.append(m_item);
    m_connections.push_back(view.loadStarted.connect([this] {
        m_progress.set_fraction(0);
        m_progress.show();
    }));
    m_connections.push_back(view.progressChanged.connect([this](int percent) {
        m_progress.set_fraction(std::clamp(percent, 0, 100) / 100.0);
    }));
    m_connections.push_back(view.loadFinished.connect([this](const std::string &) { m_progress.hide(); }));
}

void ToolbarComponent::release()
{
    for (sigc::connection &connection : m_connections)
        connection.disconnect();
    m_connections.clear();
    m_progress.hide();
    if (auto *parent = m_item.get_parent())
        static_cast<Gtk::Container *>(parent)->remove(m_item);
}
