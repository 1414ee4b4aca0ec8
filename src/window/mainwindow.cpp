#include "window/mainwindow.h"

#include "interfaces/pageview.h"
#include "util/appicon.h"
#include "util/later.h"
#include "util/windowplacement.h"
#include "window/gtkdialogs.h"
#include "window/toolbaricons.h"

#include <algorithm>
#include <cmath>

using windowplacement::pixels;

namespace {

using windowplacement::Place;

constexpr Place SearchLabelPlace{120, 720, 2055, 255};
constexpr Place SearchBoxPlace{2160, 720, 2415, 315};
constexpr Place SearchButtonPlace{4680, 720, 1215, 375};
constexpr Place AddressLabelPlace{6000, 720, 1095, 255};
constexpr Place AddressComboPlace{6960, 720, 4095, 315};
constexpr Place SurfButtonPlace{11160, 720, 735, 375};
constexpr int ToolbarHeight = 660;
constexpr int SearchRowHeight = 1200 - ToolbarHeight;
constexpr int ProgressToolbarHeight = 390;
constexpr int ClientWidth = 17160;
constexpr int ClientHeight = 7905;
constexpr int CentreRaise = 85;
constexpr int PanelWidths[3] = {1440, 9440, 1440};
constexpr int HomePageTab = 0;

// The toolbar's positions 1 to 23, each with the command its click runs; a
// null key is a separator.
struct ToolbarSlot { const char *key; const char *tooltip; Command command; int argument; };
constexpr ToolbarSlot ToolbarSlots[23] = {
    {"back", "Back", Command::Back, 0}, {"forward", "Forward", Command::Forward, 0},
    {"stop", "Stop", Command::Stop, 0}, {"refresh", "Refresh", Command::Refresh, 0},
    {"home", "Home", Command::Home, 0}, {}, {}, {}, {}, {}, {}, {}, {},
    {"one", "My favorite site", Command::OpenFavorite, 1},
    {"two", "My 2nd favorite site", Command::OpenFavorite, 2},
    {"three", "My 3rd favorite site", Command::OpenFavorite, 3},
    {"four", "My 4th favorite site", Command::OpenFavorite, 4},
    {"five", "My 5th favorite site", Command::OpenFavorite, 5},
    {"six", "My 6th favorite site", Command::OpenFavorite, 6},
    {"seven", "My 7th favorite site", Command::OpenFavorite, 7},
    {"eight", "My 8th favorite site", Command::OpenFavorite, 8},
    {"nine", "My 9th favorite site", Command::OpenFavorite, 9},
    {"ten", "My 10th favorite site", Command::OpenFavorite, 10},
};

Glib::RefPtr<Gtk::CssProvider> cssFor(Gtk::Widget &widget, const std::string &css)
{
    auto provider = Gtk::CssProvider::create();
    try {
        provider->load_from_data(css);
    } catch (const Glib::Error &) {
    }
    widget.get_style_context()->add_provider(provider, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    return provider;
}

// The bold labels' face runs wider here than the fonts the layout was drawn
// with: step the size down until the caption fits in front of its field.
double fittingPoints(Gtk::Label &label, double points, int width)
{
    auto layout = label.create_pango_layout(label.get_text());
    Pango::FontDescription font = label.get_style_context()->get_font();
    font.set_weight(Pango::WEIGHT_BOLD);
    const auto widthAt = [&](double size) {
        font.set_size(int(size * PANGO_SCALE));
        layout->set_font_description(font);
        int w = 0, h = 0;
        layout->get_pixel_size(w, h);
        return w;
    };
    // The largest quarter point that fits. Text grows about as its size
    // does: one measure says where to look, and only the sizes next to it
    // are measured (each size measured is a font the toolkit keeps).
    const double largest = points;
    const int full = widthAt(points);
    if (full <= width)
        return points;
    points = std::max(6.0, std::floor(points * width / full * 4) / 4);
    if (widthAt(points) <= width) {
        while (points + 0.25 < largest && widthAt(points + 0.25) <= width)
            points += 0.25;
        return points;
    }
    while (points > 6.0) {
        points -= 0.25;
        if (widthAt(points) <= width)
            break;
    }
    return points;
}

// A row that keeps its natural width in a window too narrow for it: cut at
// the window's edge, scrolled by the mouse, and by the keyboard's focus.
void scrollsSideways(Gtk::ScrolledWindow &view, Gtk::Widget &row)
{
    view.set_policy(Gtk::POLICY_AUTOMATIC, Gtk::POLICY_NEVER);
    view.set_overlay_scrolling(true);
    view.set_shadow_type(Gtk::SHADOW_NONE);
    view.set_propagate_natural_width(true);
    view.add(row);
    if (auto *viewport = dynamic_cast<Gtk::Viewport *>(view.get_child()))
        viewport->set_shadow_type(Gtk::SHADOW_NONE);
}

} // namespace

void FixedRow::on_size_allocate(Gtk::Allocation &allocation)
{
    Gtk::Fixed::on_size_allocate(allocation);
    if (get_direction() != Gtk::TEXT_DIR_RTL)
        return;
    // The places count from the right edge instead of the left.
    for (Gtk::Widget *child : get_children()) {
        if (!child->get_visible())
            continue;
        Gtk::Allocation box = child->get_allocation();
        box.set_x(allocation.get_x() + allocation.get_width() - (box.get_x() - allocation.get_x()) - box.get_width());
        child->size_allocate(box);
    }
}

void StatusPanels::addPanel(Gtk::Widget &panel, int width)
{
    m_panels.emplace_back(&panel, width);
    pack_start(panel, false, false);
}

void StatusPanels::get_preferred_width_vfunc(int &minimum, int &natural) const
{
    const int around = 2 * int(get_border_width()) + get_spacing() * std::max(0, int(m_panels.size()) - 1);
    minimum = natural = around;
    for (const auto &[panel, width] : m_panels) {
        int least = 0, wanted = 0;
        panel->get_preferred_width(least, wanted);
        minimum += least;
        natural += std::max(least, width);
    }
}

void StatusPanels::on_size_allocate(Gtk::Allocation &allocation)
{
    // The bar's own frame as a box has it; the panels' widths below.
    Gtk::Box::on_size_allocate(allocation);
    const int border = int(get_border_width());
    int room = allocation.get_width() - 2 * border - get_spacing() * std::max(0, int(m_panels.size()) - 1);
    std::vector<int> least(m_panels.size()), widths(m_panels.size());
    for (size_t i = 0; i < m_panels.size(); ++i) {
        int wanted = 0;
        m_panels[i].first->get_preferred_width(least[i], wanted);
        widths[i] = std::max(least[i], m_panels[i].second);
        room -= widths[i];
    }
    // Too little room: the widest panel gives way first, then the next.
    std::vector<size_t> order(m_panels.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&widths](size_t a, size_t b) { return widths[a] > widths[b]; });
    for (size_t i : order) {
        if (room >= 0)
            break;
        const int give = std::min(widths[i] - least[i], -room);
        widths[i] -= give;
        room += give;
    }
    const bool mirrored = get_direction() == Gtk::TEXT_DIR_RTL;
    int x = border;
    for (size_t i = 0; i < m_panels.size(); ++i) {
        Gtk::Widget &panel = *m_panels[i].first;
        const int left = mirrored ? allocation.get_width() - x - widths[i] : x;
        Gtk::Allocation box(allocation.get_x() + left, allocation.get_y() + border, widths[i],
                            std::max(1, allocation.get_height() - 2 * border));
        if (panel.get_visible())
            panel.size_allocate(box);
        x += widths[i] + get_spacing();
    }
}

MainWindow::MainWindow(PageView &pageView)
    : m_pageView(pageView),
      m_menus(m_menuBar, m_keys, [this](Command command, int argument) { runLater(command, argument); })
{
    set_title("Skimlark");
    set_icon_list(appicon::icons());
    add_accel_group(m_keys);
    set_default_size(pixels(ClientWidth), pixels(ClientHeight) + 22);
    add_events(Gdk::POINTER_MOTION_MASK);
    buildControls();
    bind(Command::Exit, [this](int) {
        // A box open holds every other window: GTK would drop the close.
        // The box is answered as closed (Cancel) first.
        if (GtkDialogs::anyOpen())
            GtkDialogs::closeAllThen([this] { close(); });
        else
            close();
    });
    bind(Command::FullScreen, [this](int) { toggleFullScreen(); });
}

MainWindow::~MainWindow()
{
    m_toolbarComponent.release();
}

void MainWindow::buildControls()
{
    add(m_layer);
    m_layer.add(m_layout);
    m_pageView.showQuestionsOver(m_layer);
    // Its menus are reached by their access keys and F10 where it is cut.
    scrollsSideways(m_menuBarView, m_menuBar);
    m_layout.pack_start(m_menuBarView, false, false);
    buildToolbar();

    // The search row keeps the design's places; the fields keep them too.
    const std::pair<Gtk::Widget *, Place> row[] = {
        {&m_searchLabel, SearchLabelPlace}, {&m_searchBox, SearchBoxPlace}, {&m_searchButton, SearchButtonPlace},
        {&m_addressLabel, AddressLabelPlace}, {&m_addressCombo, AddressComboPlace}, {&m_surfButton, SurfButtonPlace}};
    m_searchRow.set_size_request(-1, pixels(SearchRowHeight));
    // The design's fields are lower than the theme's: the row keeps them compact.
    static bool compactStyle = false;
    if (!compactStyle) {
        compactStyle = true;
        auto provider = Gtk::CssProvider::create();
        provider->load_from_data(
            ".skimlark-compact entry { min-height: 22px; padding-top: 0; padding-bottom: 0; }"
            ".skimlark-compact button { min-height: 22px; padding: 0 8px; }"
            ".skimlark-tabs tab { padding: 3px 10px; min-height: 0; }");
        Gtk::StyleContext::add_provider_for_screen(Gdk::Screen::get_default(), provider,
                                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    }
    m_searchRow.get_style_context()->add_class("skimlark-compact");
    m_engineTabs.get_style_context()->add_class("skimlark-tabs");
    for (const auto &[widget, place] : row) {
        widget->set_size_request(pixels(place.width), pixels(SearchButtonPlace.height));
        m_searchRow.put(*widget, pixels(place.left), pixels(place.top - ToolbarHeight) - 5);
    }
    scrollsSideways(m_searchRowView, m_searchRow);
    m_searchRow.set_focus_hadjustment(m_searchRowView.get_hadjustment());
    m_layout.pack_start(m_searchRowView, false, false);

    m_searchLabel.set_text("Search the Internet:");
    m_addressLabel.set_text("Location:");
    m_searchLabel.set_mnemonic_widget(m_searchBox);
    m_addressLabel.set_mnemonic_widget(*m_addressCombo.get_entry());
    for (Gtk::Label *label : {&m_searchLabel, &m_addressLabel}) {
        label->set_xalign(0);
    }
    const double points = std::min(
        fittingPoints(m_searchLabel, 9.75, pixels(SearchBoxPlace.left - SearchLabelPlace.left) - 4),
        fittingPoints(m_addressLabel, 9.75, pixels(AddressComboPlace.left - AddressLabelPlace.left) - 4));
    const std::string labelCss = "label { font-weight: bold; font-size: " + std::to_string(points) + "pt; }";
    cssFor(m_searchLabel, labelCss);
    cssFor(m_addressLabel, labelCss);

    m_searchBox.set_text("Enter your search keyword here");
    m_searchBox.get_accessible()->set_name("Search the Internet:");
    m_addressCombo.get_accessible()->set_name("Location:");
    m_addressCombo.get_entry()->get_accessible()->set_name("Location:");
    m_addressCombo.get_entry()->set_width_chars(1);
    // The list's arrow is a button inside the combo's own parts: name it for
    // what it shows.
    struct Arrow
    {
        static void name(GtkWidget *part, gpointer)
        {
            if (GTK_IS_TOGGLE_BUTTON(part))
                atk_object_set_name(gtk_widget_get_accessible(part), "Visited addresses");
            else if (GTK_IS_CONTAINER(part) && !GTK_IS_ENTRY(part))
                gtk_container_forall(GTK_CONTAINER(part), name, nullptr);
        }
    };
    gtk_container_forall(GTK_CONTAINER(m_addressCombo.gobj()), Arrow::name, nullptr);
    m_searchBox.set_width_chars(1);
    // A field whose whole text is selected as it takes the focus shows the
    // text's beginning, with the cursor there, not its end.
    for (Gtk::Entry *field : {&m_searchBox, m_addressCombo.get_entry()}) {
        field->signal_grab_focus().connect([field] {
            int start = 0, end = 0;
            if (field->get_selection_bounds(start, end) && start == 0 && end == field->get_text_length())
                field->select_region(end, 0);
        }, true);
    }
    m_searchButton.set_label("Search");
    m_surfButton.set_label("Surf");
    m_searchButton.get_accessible()->set_name("Search");
    m_surfButton.get_accessible()->set_name("Surf");
    for (Gtk::Button *button : {&m_searchButton, &m_surfButton})
        button->set_can_default(true);
    m_searchButton.signal_clicked().connect([this] { runLater(Command::Search, 0); });
    m_surfButton.signal_clicked().connect([this] { runLater(Command::Surf, 0); });

    m_engineTabs.get_accessible()->set_name("Search engines");
    m_engineTabs.addTab("");
    m_layout.pack_start(m_tabStrip, false, false);

    m_progressToolbar.set_toolbar_style(Gtk::TOOLBAR_ICONS);
    m_progressToolbar.set_size_request(-1, pixels(ProgressToolbarHeight));
    m_progressToolbar.get_accessible()->set_name("Page toolbar");
    m_progressToolbar.set_no_show_all(true);
    m_layout.pack_start(m_progressToolbar, false, false);

    m_pageArea.pack_start(m_pageView.widget(), true, true);
    m_layout.pack_start(m_pageArea, true, true);

    buildStatusBar();
    m_layout.show_all();
    m_layer.show();
}

void MainWindow::buildToolbar()
{
    m_toolbar.set_toolbar_style(Gtk::TOOLBAR_ICONS);
    m_toolbar.set_icon_size(Gtk::ICON_SIZE_LARGE_TOOLBAR);
    m_toolbar.set_size_request(-1, pixels(ToolbarHeight));
    m_toolbar.get_accessible()->set_name("Navigation");
    for (int position = 1; position <= 23; ++position) {
        const ToolbarSlot &slot = ToolbarSlots[position - 1];
        if (!slot.key) {
            auto *separator = Gtk::manage(new Gtk::SeparatorToolItem);
            // One visible divider between the navigation and the favorite groups.
            separator->set_no_show_all(position != 6);
            m_toolbar.append(*separator);
            continue;
        }
        auto *image = Gtk::manage(new Gtk::Image(toolbaricons::draw(toolbaricons::pictureFor(slot.key))));
        auto *button = Gtk::manage(new Gtk::ToolButton(*image, slot.tooltip));
        button->set_name(slot.key);
        button->signal_clicked().connect([this, slot] { runLater(slot.command, slot.argument); });
        m_toolbar.append(*button);
        m_toolbarButtons[position] = button;
        // A tool item's own accessible is a wrapper: name and describe the
        // button inside it. Its tooltip may be set on the item or (through
        // ToolItem::set_tooltip_text) on the inner button: keep both, and
        // the description, in step.
        Gtk::Widget *inner = button->get_child();
        inner->get_accessible()->set_name(slot.tooltip);
        auto follow = [button, inner](Gtk::Widget *from, Gtk::Widget *to) {
            const Glib::ustring text = from->get_tooltip_text();
            if (to->get_tooltip_text() != text)
                gtk_widget_set_tooltip_text(to->gobj(), text.c_str());
            inner->get_accessible()->set_description(text);
        };
        button->property_tooltip_text().signal_changed().connect([=] { follow(button, inner); });
        inner->property_tooltip_text().signal_changed().connect([=] { follow(inner, button); });
        button->set_tooltip_text(slot.tooltip);
    }
    m_layout.pack_start(m_toolbar, false, false);
}

void MainWindow::buildStatusBar()
{
    atk_object_set_role(m_statusBar.get_accessible()->gobj(), ATK_ROLE_STATUSBAR);
    m_statusBar.get_accessible()->set_name("Status");
    m_statusBar.set_spacing(4);
    m_statusBar.set_border_width(2);
    for (int i = 0; i < 3; ++i) {
        Gtk::Label &panel = m_panels[i];
        panel.set_xalign(0);
        // Long texts are cut, so the panels keep their widths.
        panel.set_ellipsize(Pango::ELLIPSIZE_END);
        panel.set_width_chars(1);
        panel.set_max_width_chars(1);
        cssFor(panel, "label { border: 1px solid; border-color: #a0a0a0 #ffffff #ffffff #a0a0a0;"
                      " padding: 1px 4px; }");
        m_statusBar.addPanel(panel, pixels(PanelWidths[i]));
    }
    m_layout.pack_end(m_statusBar, false, false);
}

Gtk::ToolButton *MainWindow::favoriteButton(int n) const
{
    return n >= 1 && n <= 10 ? m_toolbarButtons[13 + n] : nullptr;
}

void MainWindow::load()
{
    // The second toolbar shows the page's load progress.
    m_progressToolbar.show();
    m_toolbarComponent.attach(m_progressToolbar, m_pageView);
    m_firstActivation = true;
    m_engineTabs.setCaption(HomePageTab, "Home Page");
    // The toolbar's buttons come first in the Tab order; the window's first
    // focus is the search box all the same.
    m_searchBox.grab_focus();
    placeOnScreen();
}

void MainWindow::bind(Command command, std::function<void(int)> run)
{
    m_commands[command] = std::move(run);
}

void MainWindow::run(Command command, int argument)
{
    const auto found = m_commands.find(command);
    if (found != m_commands.end())
        found->second(argument);
}

void MainWindow::runLater(Command command, int argument)
{
    ::runLater(*this, [this, command, argument] { run(command, argument); });
}

void MainWindow::toggleFullScreen()
{
    if (m_fullScreen)
        unfullscreen();
    else
        fullscreen();
}

bool MainWindow::on_window_state_event(GdkEventWindowState *event)
{
    m_fullScreen = event->new_window_state & GDK_WINDOW_STATE_FULLSCREEN;
    return Gtk::Window::on_window_state_event(event);
}

bool MainWindow::on_key_press_event(GdkEventKey *event)
{
    // Ahead of the focused control: the keys below mean the same everywhere.
    const auto modifiers = GdkModifierType(event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK));
    const guint keyval = gdk_keyval_to_lower(event->keyval);
    for (const KeyRow &row : KeyRows) {
        for (const Key &key : row.keys) {
            if (!key.keyval || key.keyval != keyval || key.modifiers != modifiers || !isBound(row.command))
                continue;
            run(row.command, 0);
            if (!row.passOn)
                return true;
            return Gtk::Window::on_key_press_event(event);
        }
    }
    return Gtk::Window::on_key_press_event(event);
}

void MainWindow::placeOnScreen()
{
    placeNow();
    if (!m_placedByFrame) {
        m_placedByFrame = true;
        signal_map_event().connect([this](GdkEventAny *) {
            // The window manager adds its frame once the window is mapped.
            Glib::signal_timeout().connect_once(sigc::mem_fun(*this, &MainWindow::placeNow), 50);
            return false;
        }, false);
    }
}

void MainWindow::placeNow()
{
    // Centred by the outer size: until the frame is known that is the window's
    // own size, and once mapped the frame is taken into account.
    auto display = get_display();
    Glib::RefPtr<Gdk::Monitor> monitor = get_window() ? display->get_monitor_at_window(get_window())
                                                      : display->get_primary_monitor();
    if (!monitor)
        monitor = display->get_monitor(0);
    if (!monitor || is_maximized() || m_fullScreen)
        return;
    Gdk::Rectangle area;
    monitor->get_workarea(area);
    int inner = 0, innerHeight = 0;
    get_size(inner, innerHeight);
    int width = inner, height = innerHeight;
    if (get_window()) {
        Gdk::Rectangle frame;
        get_window()->get_frame_extents(frame);
        width = std::max(width, frame.get_width());
        height = std::max(height, frame.get_height());
    }
    // A screen smaller than the design's window gets a window that fits it.
    if (width > area.get_width() || height > area.get_height()) {
        const int fitWidth = std::min(inner, inner - (width - area.get_width()));
        const int fitHeight = std::min(innerHeight, innerHeight - (height - area.get_height()));
        resize(std::max(1, fitWidth), std::max(1, fitHeight));
        width = std::min(width, area.get_width());
        height = std::min(height, area.get_height());
    }
    const auto corner = windowplacement::centred(
        {area.get_x(), area.get_y(), area.get_width(), area.get_height()}, width, height, CentreRaise);
    move(corner.x, corner.y);
}

bool MainWindow::on_focus_in_event(GdkEventFocus *event)
{
    ensureFirstActivation();
    return Gtk::Window::on_focus_in_event(event);
}

bool MainWindow::on_motion_notify_event(GdkEventMotion *event)
{
    // The one-time operation on the first move over the window's own surface: a repaint.
    if (!m_firstMouseMove && event->window == get_window()->gobj()) {
        m_firstMouseMove = true;
        queue_draw();
    }
    return Gtk::Window::on_motion_notify_event(event);
}

void MainWindow::ensureFirstActivation()
{
    if (!m_firstActivation)
        return;
    m_firstActivation = false;
    m_firstActivated.emit();
}

bool MainWindow::on_delete_event(GdkEventAny *)
{
    // Never refused; nothing is saved, every setting was written when it changed.
    hide();
    if (m_unloaded)
        return true;
    m_unloaded = true;
    m_toolbarComponent.release();
    for (Gtk::Window *window : Gtk::Window::list_toplevels()) {
        if (window != this && window->get_visible() && window->get_window_type() == Gtk::WINDOW_TOPLEVEL)
            window->close();
    }
    m_closing.emit();
    return true;
}

