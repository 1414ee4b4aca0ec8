#include "about/aboutbox.h"

#include "about/aboutpictures.h"
#include "pagerules/makersite.h"
#include "util/appicon.h"
#include "util/windowplacement.h"

#include <cmath>
#include <cstdio>
#include <gio/gio.h>

// Generated with the library's resources (compiled as C++).
void skimlark_register_resource(void);

namespace {
using windowplacement::Place;
using windowplacement::TwipsPerPixel;

constexpr Place DialogSize{0, 0, 6300, 4080};
constexpr Place IconPlace{240, 120, 495, 495};
constexpr Place AnimationPlace{240, 120, 735, 615};
constexpr Place TitlePlace{1050, 120, 5000, 480};
constexpr Place VersionPlace{1050, 600, 5000, 300};
constexpr Place ProductPlace{1050, 960, 5000, 360};
constexpr Place DevelopedByPlace{240, 1620, 1560, 300};
constexpr Place MakerNamePlace{1860, 1620, 2400, 300};
constexpr Place LogoPlace{240, 2040, 2250, 600};
constexpr Place EnginePlace{240, 2700, 5820, 600};
constexpr Place VisitButtonPlace{240, 3360, 3600, 435};
constexpr Place OkButtonPlace{4560, 3360, 1500, 435};

const char *const IconTarget = "application/x-skimlark-about-icon";
const char *const SoundAddress = "resource:///org/velmora/skimlark/sounds/plink.wav";

int px(double twips) { return int(std::lround(twips / TwipsPerPixel)); }

void ensureResources()
{
    // main() registers them; a test program may not have.
    if (!g_resources_get_info("/org/velmora/skimlark/sounds/plink.wav",
                              G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr, nullptr, nullptr))
        skimlark_register_resource();
}

Pango::AttrList attributes(bool bold, double scale, bool underline, const char *family)
{
    Pango::AttrList list;
    if (bold) {
        auto weight = Pango::Attribute::create_attr_weight(Pango::WEIGHT_BOLD);
        list.insert(weight);
    }
    if (scale != 1.0) {
        auto size = Pango::Attribute::create_attr_scale(scale);
        list.insert(size);
    }
    if (underline) {
        auto line = Pango::Attribute::create_attr_underline(Pango::UNDERLINE_SINGLE);
        list.insert(line);
    }
    if (family) {
        auto face = Pango::Attribute::create_attr_family(family);
        list.insert(face);
    }
    return list;
}

void setCursorOnRealize(Gtk::Widget &widget, std::function<Glib::RefPtr<Gdk::Cursor>()> make)
{
    widget.signal_realize().connect([&widget, make] {
        if (auto window = widget.get_window())
            window->set_cursor(make());
    }, true);
}
} // namespace

AboutBox::AboutBox(Gtk::Window &mainWindow, const std::string &engineText)
    : m_animation(float(AnimationPlace.left), AnimationPlace.top)
{
    set_title("About Skimlark");
    get_accessible()->set_name("About Skimlark");
    set_type_hint(Gdk::WINDOW_TYPE_HINT_DIALOG);
    set_resizable(false);
    set_icon_list(appicon::icons());
    buildControls();
    m_engine.set_text("Pages are shown by " + engineText
                       + ". Its security updates come from your system's packages.");

    // Load.
    m_version.set_text(versionText());
    centreOn(mainWindow);
    m_title.set_text("Skimlark");
    ensureResources();
    m_sound.play(SoundAddress);

    m_nameColourTimer = Glib::signal_timeout().connect([this] { recolourName(); return true; }, 500);
    m_animationTimer = Glib::signal_timeout().connect([this] { animate(); return true; }, 50);
}

AboutBox::~AboutBox()
{
    m_nameColourTimer.disconnect();
    m_animationTimer.disconnect();
}

std::string AboutBox::versionText()
{
    return std::string("Version ") + SKIMLARK_VERSION;
}

std::uint32_t AboutBox::colourFromRandoms(double r1, double r2, double r3)
{
    // nearbyint under the default rounding mode rounds halves to the even neighbour.
    auto channel = [](double r) { return std::uint32_t(std::nearbyint(r * 255.0)); };
    return channel(r1) | (channel(r2) << 8) | (channel(r3) << 16);
}

void AboutBox::buildControls()
{
    auto place = [this](Gtk::Widget &widget, const Place &p) {
        widget.set_size_request(px(p.width), px(p.height));
        m_layout.put(widget, px(p.left), px(p.top));
    };
    auto text = [&place](Gtk::Label &label, const Place &p) {
        label.set_xalign(0);
        place(label, p);
    };
    m_layout.set_size_request(px(DialogSize.width), px(DialogSize.height));
    add(m_layout);

    m_icon.set(aboutpictures::icon(px(IconPlace.width)));
    m_iconBox.add(m_icon);
    m_iconBox.set_visible_window(false);
    m_iconBox.get_accessible()->set_name("Skimlark icon");
    place(m_iconBox, IconPlace);

    Pango::AttrList titleFont = attributes(true, 1.6, false, nullptr);
    m_title.set_attributes(titleFont);
    text(m_title, TitlePlace);
    text(m_version, VersionPlace);
    m_product.set_text("Skimlark");
    Pango::AttrList arial = attributes(false, 1.0, false, "Arial");
    m_product.set_attributes(arial);
    text(m_product, ProductPlace);
    m_developedBy.set_text("Developed by:");
    text(m_developedBy, DevelopedByPlace);

    m_makerName.set_text(makersite::Name);
    m_makerName.set_xalign(0);
    Pango::AttrList linkFont = attributes(true, 1.0, true, nullptr);
    m_makerName.set_attributes(linkFont);
    m_makerName.get_style_context()->add_provider(m_nameColour, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    m_nameBox.add(m_makerName);
    m_nameBox.set_tooltip_text("Check out our other software!");
    m_makerName.get_accessible()->set_name(makersite::Name);
    m_makerName.get_accessible()->set_description("Check out our other software!");
    place(m_nameBox, MakerNamePlace);

    m_logo.set(aboutpictures::logo());
    m_logo.set_halign(Gtk::ALIGN_START);
    m_logoBox.add(m_logo);
    m_logoBox.set_tooltip_text(makersite::Name);
    m_logoBox.get_accessible()->set_name(makersite::Name + " logo");
    place(m_logoBox, LogoPlace);

    m_engine.set_line_wrap(true);
    m_engine.set_valign(Gtk::ALIGN_START);
    text(m_engine, EnginePlace);

    m_visitButton.set_label("Visit " + makersite::Host);
    m_visitButton.get_accessible()->set_name(m_visitButton.get_label());
    // Enter on this button visits, as a click does; the default stays OK's
    // only while the focus is elsewhere.
    m_visitButton.set_receives_default(true);
    place(m_visitButton, VisitButtonPlace);

    m_okButton.set_label("_OK");
    m_okButton.set_use_underline(true);
    m_okButton.get_accessible()->set_name("OK");
    m_okButton.set_can_default(true);
    place(m_okButton, OkButtonPlace);

    // Drawn over the other controls; it has no window of its own, so clicks
    // pass through to them.
    m_animationPicture.get_accessible()->set_name("Animation");
    m_layout.put(m_animationPicture, px(AnimationPlace.left), px(AnimationPlace.top));
    for (int i = 0; i < AboutAnimation::FrameCount; ++i)
        m_animationFrames[i] = aboutpictures::frame(i);

    for (Gtk::EventBox *link : {&m_nameBox, &m_logoBox}) {
        link->signal_button_release_event().connect([this](GdkEventButton *event) {
            if (event->button != 1)
                return false;
            visitRequested.emit();
            return true;
        });
    }
    const Glib::RefPtr<Gdk::Pixbuf> pointer = aboutpictures::pointer();
    setCursorOnRealize(m_nameBox, [this, pointer] {
        return Gdk::Cursor::create(get_display(), pointer, 1, 1);
    });
    setCursorOnRealize(m_logoBox, [this] { return Gdk::Cursor::create(get_display(), "pointer"); });
    m_visitButton.signal_clicked().connect([this] { visitRequested.emit(); });
    m_okButton.signal_clicked().connect([this] { close(); });

    // The icon is what the user drags onto OK; nothing else is taken there.
    const std::vector<Gtk::TargetEntry> targets{Gtk::TargetEntry(IconTarget, Gtk::TARGET_SAME_APP)};
    m_iconBox.drag_source_set(targets, Gdk::BUTTON1_MASK, Gdk::ACTION_MOVE);
    m_iconBox.drag_source_set_icon(m_icon.get_pixbuf());
    m_iconBox.signal_drag_data_get().connect(
        [](const Glib::RefPtr<Gdk::DragContext> &, Gtk::SelectionData &data, guint, guint) {
            static const guint8 payload[] = {'1'};
            data.set(data.get_target(), 8, payload, sizeof payload);
        });
    m_okButton.drag_dest_set(targets, Gtk::DEST_DEFAULT_ALL, Gdk::ACTION_MOVE);
    m_okButton.signal_drag_data_received().connect(
        [this](const Glib::RefPtr<Gdk::DragContext> &, int, int, const Gtk::SelectionData &,
               guint, guint) { iconDropped(); });

    m_layout.show_all();
    set_default(m_okButton);
    m_okButton.grab_focus();
}

void AboutBox::centreOn(Gtk::Window &mainWindow)
{
    Glib::RefPtr<Gdk::Display> display = mainWindow.get_display();
    Glib::RefPtr<Gdk::Monitor> monitor;
    if (Glib::RefPtr<Gdk::Window> window = mainWindow.get_window())
        monitor = display->get_monitor_at_window(window);
    if (!monitor)
        monitor = display->get_primary_monitor();
    if (!monitor && display->get_n_monitors() > 0)
        monitor = display->get_monitor(0);
    if (!monitor)
        return;
    monitor->get_workarea(m_workArea);
    placeByOuterSize(px(DialogSize.width), px(DialogSize.height));
    // The frame is known once the box is on screen: place it again by its outer size.
    signal_map_event().connect([this](GdkEventAny *) {
        Gdk::Rectangle outer;
        if (Glib::RefPtr<Gdk::Window> window = get_window()) {
            window->get_frame_extents(outer);
            placeByOuterSize(outer.get_width(), outer.get_height());
        }
        return false;
    }, false);
}

void AboutBox::placeByOuterSize(int width, int height)
{
    // A screen smaller than the box shows its top-left corner, not a part off screen.
    move(m_workArea.get_x() + std::max(0, (m_workArea.get_width() - width) / 2),
         m_workArea.get_y() + std::max(0, (m_workArea.get_height() - height) / 2));
}

int AboutBox::innerHeightTwips() const
{
    const int height = m_layout.get_allocated_height();
    return (height > 1 ? height : px(DialogSize.height)) * TwipsPerPixel;
}

void AboutBox::recolourName()
{
    const std::uint32_t colour = colourFromRandoms(g_random_double(), g_random_double(),
                                                   g_random_double());
    char css[64];
    std::snprintf(css, sizeof css, "label { color: #%02x%02x%02x; }", colour & 0xFF,
                  (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    m_nameColour->load_from_data(css);
}

void AboutBox::animate()
{
    const std::optional<AboutAnimation::Placement> shown = m_animation.tick(innerHeightTwips());
    if (!shown)
        return;
    const int width = px(shown->width);
    const int height = px(shown->height);
    // The picture is stretched to the size of the moment.
    if (width > 0 && height > 0)
        m_animationPicture.set(m_animationFrames[shown->frame]->scale_simple(width, height, Gdk::INTERP_BILINEAR));
    else
        m_animationPicture.clear();
    m_layout.move(m_animationPicture, px(std::lround(shown->left)), px(shown->top));
}

void AboutBox::iconDropped()
{
    m_animation.start();
    m_iconBox.hide();
}

bool AboutBox::on_key_press_event(GdkEventKey *event)
{
    // OK is the cancel button too.
    if (event->keyval == GDK_KEY_Escape) {
        close();
        return true;
    }
    return Gtk::Window::on_key_press_event(event);
}

bool AboutBox::on_delete_event(GdkEventAny *)
{
    // Hidden, not destroyed: the owner builds a new box for the next About.
    hide();
    return true;
}

void AboutBox::on_hide()
{
    // Closed: nothing runs on until the next About builds the box afresh.
    m_nameColourTimer.disconnect();
    m_animationTimer.disconnect();
    m_sound.stop();
    Gtk::Window::on_hide();
}
