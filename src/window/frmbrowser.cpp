#include "window/frmbrowser.h"

#include "util/appicon.h"
#include "util/colournumber.h"
#include "commands/commandswiring.h"
#include "interfaces/dialogs.h"
#include "favorites/favoritetexts.h"
#include "favorites/favoriteswiring.h"
#include "util/makeraddresses.h"
#include "navigation/navigationwiring.h"
#include "interfaces/pageview.h"
#include "search/enginecatalogue.h"
#include "search/enginemenuitems.h"
#include "search/searchwiring.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"
#include "window/shortcutswiring.h"
#include "window/toolbaricons.h"
#include "util/windowplacement.h"

using windowplacement::pixels;

namespace {

// Design places in twips: left, top, width, height.
struct Place { int left, top, width, height; };
constexpr Place Label1Place{120, 720, 2055, 255};
constexpr Place Text1Place{2160, 720, 2415, 315};
constexpr Place Command1Place{4680, 720, 1215, 375};
constexpr Place Label2Place{6000, 720, 1095, 255};
constexpr Place Combo1Place{6960, 720, 4095, 315};
constexpr Place Command2Place{11160, 720, 735, 375};
constexpr int Toolbar1Height = 660;
constexpr int SearchRowHeight = 1200 - Toolbar1Height;
constexpr int UCmoreToolbarHeight = 390;
constexpr int ClientWidth = 17160;
constexpr int ClientHeight = 7905;
constexpr int CentreRaise = 85;
constexpr int PanelWidths[3] = {1440, 9440, 1440};

// Toolbar1 positions 1 to 23; a null key is a separator.
struct ToolbarSlot { const char *key; const char *tooltip; };
constexpr ToolbarSlot ToolbarSlots[23] = {
    {"back", "Back"}, {"forward", "Forward"}, {"stop", "Stop"}, {"refresh", "Refresh"},
    {"home", "Home"}, {}, {}, {}, {}, {}, {}, {}, {},
    {"one", "My favorite site"}, {"two", "My 2nd favorite site"},
    {"three", "My 3rd favorite site"}, {"four", "My 4th favorite site"},
    {"five", "My 5th favorite site"}, {"six", "My 6th favorite site"},
    {"seven", "My 7th favorite site"}, {"eight", "My 8th favorite site"},
    {"nine", "My 9th favorite site"}, {"ten", "My 10th favorite site"},
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
    for (; points > 6.0; points -= 0.25) {
        Pango::FontDescription font = label.get_style_context()->get_font();
        font.set_weight(Pango::WEIGHT_BOLD);
        font.set_size(int(points * PANGO_SCALE));
        layout->set_font_description(font);
        int w = 0, h = 0;
        layout->get_pixel_size(w, h);
        if (w <= width)
            break;
    }
    return points;
}

} // namespace

frmBrowser::frmBrowser(SettingsStore &settings, Dialogs &dialogs, PageView &pageView)
    : WebBrowser1(pageView), m_settings(settings), m_dialogs(dialogs)
{
    set_title("Skimlark");
    set_icon_list(appicon::icons());
    add_accel_group(accelGroup);
    set_default_size(pixels(ClientWidth), pixels(ClientHeight) + 22);
    add_events(Gdk::POINTER_MOTION_MASK);
    buildControls();
    buildMenus();
    m_settings.writeFailed.connect(sigc::mem_fun(*this, &frmBrowser::reportWriteFailure));
    m_settings.damaged.connect(sigc::mem_fun(*this, &frmBrowser::reportDamage));
}

frmBrowser::~frmBrowser()
{
    m_toolbarComponent.release();
}

void frmBrowser::buildControls()
{
    add(m_layout);
    m_layout.pack_start(menuBar, false, false);
    buildToolbar();

    // The search row keeps the design's places; the fields keep them too.
    const std::pair<Gtk::Widget *, Place> row[] = {
        {&Label1, Label1Place}, {&Text1, Text1Place}, {&Command1, Command1Place},
        {&Label2, Label2Place}, {&Combo1, Combo1Place}, {&Command2, Command2Place}};
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
    TabStrip1.get_style_context()->add_class("skimlark-tabs");
    for (const auto &[widget, place] : row) {
        widget->set_size_request(pixels(place.width), pixels(Command1Place.height));
        m_searchRow.put(*widget, pixels(place.left), pixels(place.top - Toolbar1Height) - 5);
    }
    m_layout.pack_start(m_searchRow, false, false);

    Label1.set_text("Search the Internet:");
    Label2.set_text("Location:");
    Label1.set_mnemonic_widget(Text1);
    Label2.set_mnemonic_widget(*Combo1.get_entry());
    for (Gtk::Label *label : {&Label1, &Label2}) {
        label->set_xalign(0);
    }
    const double points = std::min(
        fittingPoints(Label1, 9.75, pixels(Text1Place.left - Label1Place.left) - 4),
        fittingPoints(Label2, 9.75, pixels(Combo1Place.left - Label2Place.left) - 4));
    const std::string labelCss = "label { font-weight: bold; font-size: " + std::to_string(points) + "pt; }";
    cssFor(Label1, labelCss);
    cssFor(Label2, labelCss);

    Text1.set_text("Enter your search keyword here");
    Text1.get_accessible()->set_name("Search the Internet:");
    Combo1.get_accessible()->set_name("Location:");
    Combo1.get_entry()->get_accessible()->set_name("Location:");
    Combo1.get_entry()->set_width_chars(1);
    Text1.set_width_chars(1);
    // Both fields carry their own colours, so a dark desktop theme never gives black on dark.
    for (Gtk::Widget *field : {static_cast<Gtk::Widget *>(&Text1), static_cast<Gtk::Widget *>(&Combo1)}) {
        setFieldColour(*field, false, 0);
        setFieldColour(*field, true, 0xFFFFFF);
    }
    Command1.set_label("Search");
    Command2.set_label("Surf");
    Command1.get_accessible()->set_name("Search");
    Command2.get_accessible()->set_name("Surf");
    for (Gtk::Button *button : {&Command1, &Command2})
        button->set_can_default(true);

    TabStrip1.get_accessible()->set_name("Search engines");
    TabStrip1.addTab("");
    m_layout.pack_start(TabStrip1, false, false);

    UCmoreToolbar.set_toolbar_style(Gtk::TOOLBAR_ICONS);
    UCmoreToolbar.set_size_request(-1, pixels(UCmoreToolbarHeight));
    UCmoreToolbar.get_accessible()->set_name("Page toolbar");
    UCmoreToolbar.set_no_show_all(true);
    m_layout.pack_start(UCmoreToolbar, false, false);

    Picture1.pack_start(WebBrowser1.widget(), true, true);
    m_layout.pack_start(Picture1, true, true);

    buildStatusBar();
    m_layout.show_all();
}

void frmBrowser::buildToolbar()
{
    Toolbar1.set_toolbar_style(Gtk::TOOLBAR_ICONS);
    Toolbar1.set_icon_size(Gtk::ICON_SIZE_LARGE_TOOLBAR);
    Toolbar1.set_size_request(-1, pixels(Toolbar1Height));
    Toolbar1.get_accessible()->set_name("Navigation");
    for (int position = 1; position <= 23; ++position) {
        const ToolbarSlot &slot = ToolbarSlots[position - 1];
        if (!slot.key) {
            auto *separator = Gtk::manage(new Gtk::SeparatorToolItem);
            // One visible divider between the navigation and the favorite groups.
            separator->set_no_show_all(position != 6);
            Toolbar1.append(*separator);
            continue;
        }
        auto *image = Gtk::manage(new Gtk::Image(toolbaricons::draw(toolbaricons::pictureFor(slot.key))));
        auto *button = Gtk::manage(new Gtk::ToolButton(*image, slot.tooltip));
        button->set_name(slot.key);
        Toolbar1.append(*button);
        m_toolbarButtons[position] = button;
        // A tool item's own accessible is a wrapper: name and describe the
        // button inside it. Its tooltip may be set on the item or (through
        // ToolItem::set_tooltip_text) on the inner button: keep both, and
        // the description, in step.
        Gtk::Widget *inner = button->get_child();
        // Toolbar buttons are clicked, not tabbed to: the window's first
        // focus goes to the search box, and Enter there never means Back.
        inner->set_can_focus(false);
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
    m_layout.pack_start(Toolbar1, false, false);
}

void frmBrowser::buildStatusBar()
{
    atk_object_set_role(StatusBar1.get_accessible()->gobj(), ATK_ROLE_STATUSBAR);
    StatusBar1.get_accessible()->set_name("Status");
    StatusBar1.set_spacing(4);
    StatusBar1.set_border_width(2);
    for (int i = 0; i < 3; ++i) {
        Gtk::Label &panel = panels[i];
        panel.set_xalign(0);
        panel.set_size_request(pixels(PanelWidths[i]), -1);
        // Long texts are cut, so the panels keep their widths.
        panel.set_ellipsize(Pango::ELLIPSIZE_END);
        panel.set_width_chars(1);
        panel.set_max_width_chars(1);
        cssFor(panel, "label { border: 1px solid; border-color: #a0a0a0 #ffffff #ffffff #a0a0a0;"
                      " padding: 1px 4px; }");
        StatusBar1.pack_start(panel, false, false);
    }
    m_layout.pack_end(StatusBar1, false, false);
}

Gtk::ToolButton *frmBrowser::toolbarButton(int position) const
{
    return position >= 1 && position <= 23 ? m_toolbarButtons[position] : nullptr;
}

Gtk::ToolButton *frmBrowser::toolbarButton(const std::string &key) const
{
    for (Gtk::ToolButton *button : m_toolbarButtons) {
        if (button && button->get_name() == key)
            return button;
    }
    return nullptr;
}

void frmBrowser::load()
{
    // The second toolbar shows the page's load progress.
    UCmoreToolbar.show();
    m_toolbarComponent.attach(UCmoreToolbar, WebBrowser1);
    m_toolbarComponent.setMode(1);

    const std::string engine = m_settings.read(keys::App, keys::Home, keys::Engine, "google");
    for (const EngineMark &mark : StartupEngineMarks) {
        if (engine == mark.engineId) {
            if (Gtk::CheckMenuItem *item = checkItem(mark.item))
                item->set_active(true);
        }
    }

    for (int n = 1; n <= favoritetexts::Count; ++n) {
        favoriteButton(n)->set_tooltip_text(
            m_settings.read(keys::App, keys::Home, keys::favoriteSlot(n), favoritetexts::invitation(n)));
    }
    Command1.set_tooltip_text(m_settings.read(keys::App, keys::Home, keys::Address, ""));

    applyStoredColours();

    m_visitedCounter = 0;
    m_firstActivation = true;

    TabStrip1.setCaption(0, "Home Page");
    TabStrip1.setTag(0, m_settings.read(keys::App, keys::Home, keys::Address, maker::ReferralAddress));
    for (const std::string &caption : enginecatalogue::tabCaptions())
        TabStrip1.addTab(caption);

    placeOnScreen();

    Combo1.append(m_settings.read(keys::App, keys::MRURL, std::to_string(m_visitedCounter), ""));
    Combo1.get_entry()->set_text("");

    // The behaviour goes on after the load: a check mark set from code reads
    // to GTK as a click, and the load's marks are no user's choice.
    wireSearch(*this);
    wireNavigation(*this);
    wireFavorites(*this);
    wireCommands(*this);
    wireShortcuts(*this);

    if (!m_settings.isWritable(keys::App)) {
        const std::string path = m_settings.filePath(keys::App);
        Glib::signal_idle().connect_once([this, path] { reportWriteFailure(path); });
    }
}

void frmBrowser::applyStoredColours()
{
    // A stored colour is the user's choice, white and black included; a
    // missing key leaves the field's own colours, and a text that names no
    // colour is skipped.
    struct Rule { Gtk::Widget *field; const std::string &key; bool background; };
    const Rule rules[] = {
        {&Combo1, keys::AddressbarFontColor, false},
        {&Combo1, keys::AddressbarBackgroundColor, true},
        {&Text1, keys::SearchboxFontColor, false},
        {&Text1, keys::SearchboxBackgroundColor, true},
    };
    for (const Rule &rule : rules) {
        if (!m_settings.contains(keys::App, keys::Home, rule.key))
            continue;
        if (auto colour = colournumber::fromText(m_settings.read(keys::App, keys::Home, rule.key, "")))
            setFieldColour(*rule.field, rule.background, *colour);
    }
}

void frmBrowser::setFieldColour(Gtk::Widget &field, bool background, std::uint32_t colour)
{
    Gtk::Widget *target = &field;
    if (auto *combo = dynamic_cast<Gtk::ComboBox *>(&field); combo && combo->get_has_entry())
        target = combo->get_entry();
    GObject *object = G_OBJECT(target->gobj());
    // Both colours live on the widget, so one provider can carry them.
    g_object_set_data(object, background ? "skimlark-background" : "skimlark-text",
                      GUINT_TO_POINTER(colour | 0x1000000u));
    auto *provider = static_cast<GtkCssProvider *>(g_object_get_data(object, "skimlark-colours"));
    if (!provider) {
        provider = gtk_css_provider_new();
        gtk_style_context_add_provider(target->get_style_context()->gobj(), GTK_STYLE_PROVIDER(provider),
                                       GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
        g_object_set_data_full(object, "skimlark-colours", provider, g_object_unref);
    }
    std::string css = "entry {";
    for (const char *key : {"skimlark-text", "skimlark-background"}) {
        const guint stored = GPOINTER_TO_UINT(g_object_get_data(object, key));
        if (!stored)
            continue;
        const std::string rgb = colournumber::toRgba(stored & 0xFFFFFF).to_string();
        css += std::string(key == std::string("skimlark-text") ? " color: " : " background-color: ")
               + rgb + ";";
        if (key != std::string("skimlark-text"))
            css += " background-image: none;";
    }
    css += " }";
    gtk_css_provider_load_from_data(provider, css.c_str(), -1, nullptr);
}

void frmBrowser::placeOnScreen()
{
    // Centred by the outer size: until the frame is known that is the window's
    // own size, and once mapped the frame is taken into account.
    auto place = [this] {
        auto display = get_display();
        Glib::RefPtr<Gdk::Monitor> monitor = get_window() ? display->get_monitor_at_window(get_window())
                                                          : display->get_primary_monitor();
        if (!monitor)
            monitor = display->get_monitor(0);
        if (!monitor || is_maximized())
            return;
        Gdk::Rectangle area;
        monitor->get_workarea(area);
        int width = 0, height = 0;
        get_size(width, height);
        if (get_window()) {
            Gdk::Rectangle frame;
            get_window()->get_frame_extents(frame);
            width = std::max(width, frame.get_width());
            height = std::max(height, frame.get_height());
        }
        const auto corner = windowplacement::centred(
            {area.get_x(), area.get_y(), area.get_width(), area.get_height()}, width, height, CentreRaise);
        move(corner.x, corner.y);
    };
    place();
    if (!m_placedByFrame) {
        m_placedByFrame = true;
        signal_map_event().connect([this, place](GdkEventAny *) {
            // The window manager adds its frame once the window is mapped.
            Glib::signal_timeout().connect_once(place, 50);
            return false;
        }, false);
    }
}

bool frmBrowser::on_focus_in_event(GdkEventFocus *event)
{
    ensureFirstActivation();
    return Gtk::Window::on_focus_in_event(event);
}

bool frmBrowser::on_motion_notify_event(GdkEventMotion *event)
{
    // The one-time operation on the first move over the window's own surface: a repaint.
    if (!m_firstMouseMove && event->window == get_window()->gobj()) {
        m_firstMouseMove = true;
        queue_draw();
    }
    return Gtk::Window::on_motion_notify_event(event);
}

void frmBrowser::ensureFirstActivation()
{
    if (!m_firstActivation)
        return;
    m_firstActivation = false;
    firstActivated.emit();
    TabStrip1.select(0);
}

bool frmBrowser::on_delete_event(GdkEventAny *)
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
    closing.emit();
    return true;
}

void frmBrowser::showLater(const std::string &text)
{
    Glib::signal_idle().connect_once([this, text] { m_dialogs.message(this, text, "Skimlark"); });
}

void frmBrowser::reportWriteFailure(const std::string &path)
{
    if (m_writeFailureReported)
        return;
    m_writeFailureReported = true;
    m_dialogs.message(this, "Settings cannot be saved to " + path
                                + ". Changes made now are not kept: they are lost when Skimlark closes.",
                      "Skimlark");
}

void frmBrowser::reportDamage(const std::string &path, const std::string &keptAside)
{
    if (m_damageReported)
        return;
    m_damageReported = true;
    showLater("The settings file " + path + " was damaged. What could be read was kept; the damaged file "
              "was kept as " + keptAside + ".");
}
