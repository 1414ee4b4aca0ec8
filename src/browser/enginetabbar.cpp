#include "enginetabbar.h"

#include <gtkmm/box.h>
#include <gtkmm/label.h>

// A plain tab strip: enough for the window to build and run.
EngineTabBar::EngineTabBar()
{
    set_scrollable(true);
    set_show_border(false);
    signal_switch_page().connect([this](Gtk::Widget *, guint page) {
        if (!m_selectingFromCode)
            chosen.emit(int(page));
    });
}

void EngineTabBar::addTab(const std::string &caption)
{
    auto *page = Gtk::manage(new Gtk::Box);
    auto *label = Gtk::manage(new Gtk::Label(caption));
    page->show();
    m_selectingFromCode = true;
    append_page(*page, *label);
    m_selectingFromCode = false;
    m_tags.emplace_back();
}

int EngineTabBar::count() const { return get_n_pages(); }

std::string EngineTabBar::caption(int index) const
{
    auto *page = const_cast<EngineTabBar *>(this)->get_nth_page(index);
    return page ? std::string(const_cast<EngineTabBar *>(this)->get_tab_label_text(*page)) : std::string();
}

void EngineTabBar::setCaption(int index, const std::string &text)
{
    if (auto *page = get_nth_page(index))
        set_tab_label_text(*page, text);
}

std::string EngineTabBar::tag(int index) const
{
    return index >= 0 && index < int(m_tags.size()) ? m_tags[index] : std::string();
}

void EngineTabBar::setTag(int index, const std::string &value)
{
    if (index >= 0 && index < int(m_tags.size()))
        m_tags[index] = value;
}

int EngineTabBar::selectedIndex() const { return get_current_page(); }

void EngineTabBar::select(int index)
{
    m_selectingFromCode = true;
    set_current_page(index);
    m_selectingFromCode = false;
    chosen.emit(index);
}
