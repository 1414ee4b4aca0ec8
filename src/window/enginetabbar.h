#pragma once

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/notebook.h>
#include <gtkmm/scrolledwindow.h>
#include <sigc++/sigc++.h>
#include <string>
#include <vector>

// The tab strip: a row of tabs with captions and tags (the address a tab
// opens), over no pages of its own. A tab is chosen by a left click (also on
// the tab already selected), by the keyboard, or by select() from code; each
// choice is reported once through chosen. The mouse wheel, right and middle
// clicks choose nothing.
class EngineTabBar : public Gtk::Notebook
{
public:
    EngineTabBar();

    void addTab(const std::string &caption);
    int count() const;
    std::string caption(int index) const;
    void setCaption(int index, const std::string &caption);
    std::string tag(int index) const;
    void setTag(int index, const std::string &tag);
    // Selects the tab and reports the choice, as a user's click would.
    void select(int index);

    sigc::signal<void(int index)> chosen;

private:
    std::vector<std::string> m_tags;
    bool m_selectingFromCode = false;
    // The tab under the mouse button held down on the strip, -1 for none
    // (a scroll arrow), NotPressed while no button is held.
    static constexpr int NotPressed = -2;
    int m_pressedTab = NotPressed;
    bool m_switchedWhilePressed = false;
};

// The strip as the window shows it: as wide as the window lets it be, with
// arrows that scroll it when its tabs do not all fit. Scrolling leaves the
// selected tab as it is (the one whose page was opened); a tab chosen out of
// sight is scrolled into it.
class ScrollingTabStrip : public Gtk::Box
{
public:
    explicit ScrollingTabStrip(EngineTabBar &tabs);
    ~ScrollingTabStrip() override;

private:
    void step(int direction);
    void showTab(int index);
    void arrowsFollow();
    // Where each tab starts and ends along the strip.
    std::vector<std::pair<int, int>> tabSpans();

    EngineTabBar &m_tabs;
    Gtk::ScrolledWindow m_view;
    Gtk::Button m_back;
    Gtk::Button m_on;
    int m_shownWidth = 0;
    sigc::connection m_arrowsFollow;
};
