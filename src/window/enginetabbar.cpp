#include "window/enginetabbar.h"

#include <gtkmm/box.h>
#include <gtkmm/label.h>

namespace {

// Whether a button event lands on the selected tab. The tab's box around its
// label is as wide as half the gap to each neighbour; the notebook only sees
// presses over its row of tabs, so the height needs no test.
bool onSelectedTab(Gtk::Notebook &notebook, const GdkEventButton *event)
{
    const int current = notebook.get_current_page();
    const int count = notebook.get_n_pages();
    auto label = [&notebook](int index) -> Gtk::Widget * {
        Gtk::Widget *page = notebook.get_nth_page(index);
        return page ? notebook.get_tab_label(*page) : nullptr;
    };
    Gtk::Widget *selected = current >= 0 ? label(current) : nullptr;
    if (!selected || !selected->get_mapped() || !notebook.get_window())
        return false;

    // The press in the coordinates that allocations use (the notebook has no
    // window of its own; its tabs have an input window above it).
    GdkWindow *target = notebook.get_window()->gobj();
    GdkWindow *window = event->window;
    double x = event->x, y = event->y;
    while (window && window != target) {
        gdk_window_coords_to_parent(window, x, y, &x, &y);
        window = gdk_window_get_parent(window);
    }
    if (!window)
        return false;

    const Gtk::Allocation box = selected->get_allocation();
    int before = 0, after = 0;
    if (Gtk::Widget *left = current > 0 ? label(current - 1) : nullptr) {
        const Gtk::Allocation a = left->get_allocation();
        before = (box.get_x() - (a.get_x() + a.get_width())) / 2;
    }
    if (Gtk::Widget *right = current + 1 < count ? label(current + 1) : nullptr)
        after = (right->get_allocation().get_x() - (box.get_x() + box.get_width())) / 2;
    before = before > 0 ? before : after;
    after = after > 0 ? after : before;
    return x >= box.get_x() - before && x < box.get_x() + box.get_width() + after;
}

} // namespace

EngineTabBar::EngineTabBar()
{
    set_show_border(false);
    set_scrollable(true);
    get_accessible()->set_name("Search engines");

    signal_switch_page().connect([this](Gtk::Widget *, guint page) {
        // Pages going away with the strip move the selection too.
        if (!m_selectingFromCode && !gtk_widget_in_destruction(GTK_WIDGET(gobj())))
            chosen.emit(int(page));
    });
    // A press on the tab already selected switches nothing, yet it is a choice.
    signal_button_press_event().connect(
        [this](GdkEventButton *event) {
            if (event->type == GDK_BUTTON_PRESS && event->button == GDK_BUTTON_PRIMARY
                && onSelectedTab(*this, event))
                chosen.emit(get_current_page());
            return false;
        },
        false);
    // The wheel passing over the strip chooses nothing.
    add_events(Gdk::SCROLL_MASK | Gdk::SMOOTH_SCROLL_MASK);
    signal_scroll_event().connect([](GdkEventScroll *) { return true; }, false);
}

void EngineTabBar::addTab(const std::string &caption)
{
    auto *page = Gtk::manage(new Gtk::Box);
    page->show();
    auto *label = Gtk::manage(new Gtk::Label(caption));
    label->show();
    // Adding the first tab selects it: that is no choice.
    m_selectingFromCode = true;
    append_page(*page, *label);
    m_selectingFromCode = false;
    m_tags.emplace_back();
    setCaption(count() - 1, caption);
}

int EngineTabBar::count() const
{
    return get_n_pages();
}

std::string EngineTabBar::caption(int index) const
{
    const Gtk::Widget *page = get_nth_page(index);
    return page ? std::string(get_tab_label_text(*const_cast<Gtk::Widget *>(page))) : std::string();
}

void EngineTabBar::setCaption(int index, const std::string &caption)
{
    Gtk::Widget *page = get_nth_page(index);
    if (!page)
        return;
    // Captions are shown as written, never as markup or with access keys.
    if (auto *label = dynamic_cast<Gtk::Label *>(get_tab_label(*page)))
        label->set_text(caption);
    if (auto tab = get_accessible()->get_accessible_child(index))
        tab->set_name(caption);
}

std::string EngineTabBar::tag(int index) const
{
    return index >= 0 && index < int(m_tags.size()) ? m_tags[index] : std::string();
}

void EngineTabBar::setTag(int index, const std::string &tag)
{
    if (index >= 0 && index < int(m_tags.size()))
        m_tags[index] = tag;
}

void EngineTabBar::select(int index)
{
    if (index < 0 || index >= count())
        return;
    m_selectingFromCode = true;
    set_current_page(index);
    m_selectingFromCode = false;
    chosen.emit(index);
}
