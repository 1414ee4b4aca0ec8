#include "window/enginetabbar.h"

#include <gtkmm/box.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/viewport.h>
#include <glibmm/main.h>

#include <algorithm>
#include <cstring>

namespace {

// How far a tab reaches past its label on the left and on the right: the
// tab's padding and border in the strip's style. The label fills the rest.
std::pair<int, int> tabOverhang(Gtk::Notebook &notebook, bool selected)
{
    GtkWidget *widget = GTK_WIDGET(notebook.gobj());
    GtkWidgetPath *path = gtk_widget_path_copy(gtk_widget_get_path(widget));
    for (const char *node : {"header", "tabs", "tab"}) {
        const gint at = gtk_widget_path_append_type(path, G_TYPE_NONE);
        gtk_widget_path_iter_set_object_name(path, at, node);
        if (std::strcmp(node, "header") == 0)
            gtk_widget_path_iter_add_class(path, at, "top");
    }
    GtkStyleContext *style = gtk_style_context_new();
    gtk_style_context_set_screen(style, gtk_widget_get_screen(widget));
    gtk_style_context_set_path(style, path);
    const GtkStateFlags state = selected ? GTK_STATE_FLAG_CHECKED : GTK_STATE_FLAG_NORMAL;
    gtk_style_context_set_state(style, state);
    GtkBorder padding{}, border{};
    gtk_style_context_get_padding(style, state, &padding);
    gtk_style_context_get_border(style, state, &border);
    g_object_unref(style);
    gtk_widget_path_unref(path);
    return {padding.left + border.left, padding.right + border.right};
}

// The tab under a button event, or -1 (the gaps between tabs). The notebook only
// sees presses over its row of tabs, so the height needs no test.
int tabAt(Gtk::Notebook &notebook, const GdkEventButton *event)
{
    if (!notebook.get_window())
        return -1;
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
        return -1;

    for (int index = 0; index < notebook.get_n_pages(); ++index) {
        Gtk::Widget *label = notebook.get_tab_label(*notebook.get_nth_page(index));
        if (!label || !label->get_mapped())
            continue;
        const Gtk::Allocation box = label->get_allocation();
        const auto [before, after] = tabOverhang(notebook, index == notebook.get_current_page());
        if (x >= box.get_x() - before && x < box.get_x() + box.get_width() + after)
            return index;
    }
    return -1;
}

} // namespace

EngineTabBar::EngineTabBar()
{
    set_show_border(false);
    // The strip around it scrolls: the notebook's own arrows would change
    // the selected tab as they scroll.
    set_scrollable(false);
    get_accessible()->set_name("Search engines");

    signal_switch_page().connect([this](Gtk::Widget *, guint page) {
        // Pages going away with the strip move the selection too. While a
        // button is held, only a switch to the tab pressed is a choice.
        if (m_pressedTab != NotPressed)
            m_switchedWhilePressed = true;
        if (!m_selectingFromCode && (m_pressedTab == NotPressed || m_pressedTab == int(page))
            && !gtk_widget_in_destruction(GTK_WIDGET(gobj())))
            chosen.emit(int(page));
    });
    signal_button_press_event().connect(
        [this](GdkEventButton *event) {
            if (event->type == GDK_BUTTON_PRESS) {
                m_pressedTab = tabAt(*this, event);
                m_switchedWhilePressed = false;
            }
            return false;
        },
        false);
    // A click on the tab already selected switches nothing, yet it is a
    // choice. It is known at the release: an arrow beside the tab may have
    // taken the press.
    signal_button_release_event().connect(
        [this](GdkEventButton *event) {
            const int tab = m_pressedTab;
            m_pressedTab = NotPressed;
            if (event->button == GDK_BUTTON_PRIMARY && tab >= 0 && !m_switchedWhilePressed
                && tab == get_current_page())
                chosen.emit(tab);
            return false;
        },
        false);
    signal_grab_broken_event().connect([this](GdkEventGrabBroken *) {
        m_pressedTab = NotPressed;
        return false;
    }, false);
    // Going away, the strip hides its tabs before its pages go: a screen
    // reader told of each page leaving would ask for its tab, gone by then.
    g_signal_connect(gobj(), "destroy", G_CALLBACK(+[](GtkWidget *strip, gpointer) {
        gtk_notebook_set_show_tabs(GTK_NOTEBOOK(strip), FALSE);
    }), nullptr);
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

ScrollingTabStrip::ScrollingTabStrip(EngineTabBar &tabs) : Gtk::Box(Gtk::ORIENTATION_HORIZONTAL), m_tabs(tabs)
{
    m_view.set_policy(Gtk::POLICY_EXTERNAL, Gtk::POLICY_NEVER);
    m_view.set_shadow_type(Gtk::SHADOW_NONE);
    m_view.add(m_tabs);
    if (auto *viewport = dynamic_cast<Gtk::Viewport *>(m_view.get_child()))
        viewport->set_shadow_type(Gtk::SHADOW_NONE);
    pack_start(m_view, true, true);
    const std::pair<Gtk::Button *, std::pair<const char *, const char *>> arrows[] = {
        {&m_back, {"pan-start-symbolic", "Scroll the tabs back"}},
        {&m_on, {"pan-end-symbolic", "Scroll the tabs on"}}};
    for (const auto &[button, look] : arrows) {
        button->set_image_from_icon_name(look.first, Gtk::ICON_SIZE_MENU);
        button->set_relief(Gtk::RELIEF_NONE);
        // The keyboard moves along the tabs themselves.
        button->set_can_focus(false);
        button->set_tooltip_text(look.second);
        button->get_accessible()->set_name(look.second);
        button->set_no_show_all(true);
        pack_start(*button, false, false);
    }
    m_back.signal_clicked().connect([this] { step(-1); });
    m_on.signal_clicked().connect([this] { step(1); });
    auto adjustment = m_view.get_hadjustment();
    // The arrows show or hide once the strip is laid out, not while it is.
    auto follow = [this] {
        if (!m_arrowsFollow.connected())
            m_arrowsFollow = Glib::signal_idle().connect([this] {
                arrowsFollow();
                return false;
            });
    };
    adjustment->signal_changed().connect(follow);
    adjustment->signal_value_changed().connect(follow);
    m_tabs.signal_switch_page().connect([this](Gtk::Widget *, guint page) { showTab(int(page)); }, true);
    // A window made narrower keeps the selected tab in sight.
    m_view.signal_size_allocate().connect([this](Gtk::Allocation &box) {
        if (box.get_width() != m_shownWidth) {
            m_shownWidth = box.get_width();
            showTab(m_tabs.get_current_page());
        }
    });
}

ScrollingTabStrip::~ScrollingTabStrip()
{
    m_arrowsFollow.disconnect();
}

std::vector<std::pair<int, int>> ScrollingTabStrip::tabSpans()
{
    std::vector<std::pair<int, int>> spans;
    // The strip's own widget may be gone before this object is.
    if (!m_tabs.gobj() || gtk_widget_in_destruction(GTK_WIDGET(m_tabs.gobj())))
        return spans;
    for (int index = 0; index < m_tabs.get_n_pages(); ++index) {
        Gtk::Widget *label = m_tabs.get_tab_label(*m_tabs.get_nth_page(index));
        int x = 0, y = 0;
        if (!label || !label->translate_coordinates(m_tabs, 0, 0, x, y))
            return {};
        const auto [before, after] = tabOverhang(m_tabs, index == m_tabs.get_current_page());
        spans.emplace_back(x - before, x + label->get_allocated_width() + after);
    }
    return spans;
}

void ScrollingTabStrip::step(int direction)
{
    // On to the next tab's start, or back to the start of the one before;
    // right to left, on is leftwards.
    if (get_direction() == Gtk::TEXT_DIR_RTL)
        direction = -direction;
    auto adjustment = m_view.get_hadjustment();
    const double now = adjustment->get_value();
    double to = direction > 0 ? adjustment->get_upper() : 0;
    for (const auto &[start, end] : tabSpans()) {
        if (direction > 0 && start > now + 1 && start < to)
            to = start;
        if (direction < 0 && start < now - 1)
            to = start;
    }
    adjustment->set_value(std::clamp(to, adjustment->get_lower(),
                                     adjustment->get_upper() - adjustment->get_page_size()));
}

void ScrollingTabStrip::showTab(int index)
{
    const auto spans = tabSpans();
    if (index < 0 || index >= int(spans.size()))
        return;
    m_view.get_hadjustment()->clamp_page(spans[index].first, spans[index].second);
}

void ScrollingTabStrip::arrowsFollow()
{
    auto adjustment = m_view.get_hadjustment();
    const double value = adjustment->get_value();
    const bool scrolls = adjustment->get_upper() - adjustment->get_lower() > adjustment->get_page_size() + 0.5;
    for (Gtk::Button *arrow : {&m_back, &m_on})
        arrow->set_visible(scrolls);
    m_back.set_sensitive(value > adjustment->get_lower() + 0.5);
    m_on.set_sensitive(value + adjustment->get_page_size() < adjustment->get_upper() - 0.5);
}
