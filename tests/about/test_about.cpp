#include "about/aboutanimation.h"
#include "about/aboutbox.h"
#include "findwidget.h"
#include "testutil.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <gtkmm.h>

namespace {

using Placement = AboutAnimation::Placement;

// What the user sees once the icon is dropped on OK, in boxes of two
// heights: a square picture that runs diagonally, a step at a time, and
// turns at the box's top and bottom, grows to its largest and shrinks back
// again and again, and shows its eight frames in turn. Nothing moves before.
TEST(AboutAnimation, RunsWithinTheBoxGrowingAndShrinkingThroughItsFrames)
{
    constexpr int Step = AboutAnimation::Step;
    for (const int height : {200, 1500}) {
        SCOPED_TRACE(height);
        AboutAnimation animation;
        EXPECT_FALSE(animation.tick(height).has_value());
        animation.start();
        std::vector<Placement> shown;
        for (int i = 0; i < 1000; ++i)
            shown.push_back(*animation.tick(height));
        int turnsDown = 0, turnsUp = 0, largest = 0, smallest = 1 << 30, shrinks = 0, grows = 0;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const Placement &p = shown[i];
            EXPECT_EQ(p.width, p.height);
            EXPECT_GE(p.top, -Step);
            EXPECT_LE(p.top, height + 2 * Step);
            largest = std::max(largest, p.width);
            smallest = std::min(smallest, p.width);
            if (i == 0)
                continue;
            const Placement &before = shown[i - 1];
            EXPECT_EQ(p.frame, (before.frame + 1) % AboutAnimation::FrameCount);
            EXPECT_EQ(std::abs(p.top - before.top), Step);
            EXPECT_EQ(p.left - before.left, float(p.top - before.top));
            EXPECT_EQ(std::abs(p.width - before.width), Step);
            if (i < 2)
                continue;
            const Placement &earlier = shown[i - 2];
            turnsDown += before.top > earlier.top && p.top < before.top;
            turnsUp += before.top < earlier.top && p.top > before.top;
            shrinks += before.width > earlier.width && p.width < before.width;
            grows += before.width < earlier.width && p.width > before.width;
        }
        EXPECT_GE(turnsDown, 2);
        EXPECT_GE(turnsUp, 2);
        EXPECT_EQ(largest, 801);
        EXPECT_EQ(smallest, 1);
        EXPECT_GE(shrinks, 2);
        EXPECT_GE(grows, 2);
    }
}

TEST(AboutAnimation, NameColourRoundsHalvesToEven)
{
    // Products 2.5 and 3.5 of the random number and 255, found exactly.
    for (const auto &[product, channel] : {std::pair{2.5, 2u}, std::pair{3.5, 4u}}) {
        double r = product / 255.0;
        for (int i = 0; i < 8 && r * 255.0 != product; ++i)
            r = std::nextafter(r, r * 255.0 < product ? 1.0 : 0.0);
        ASSERT_TRUE(r * 255.0 == product);
        EXPECT_EQ(AboutBox::colourFromRandoms(r, 0.0, 0.0), channel);
        EXPECT_EQ(AboutBox::colourFromRandoms(0.0, r, 0.0), channel << 8);
        EXPECT_EQ(AboutBox::colourFromRandoms(0.0, 0.0, r), channel << 16);
    }
}

class About : public testing::Test
{
protected:
    AboutBox &open()
    {
        m_about.present();
        EXPECT_TRUE(testutil::spinUntil([this] { return m_about.get_mapped(); }));
        return m_about;
    }
    // Returns once the widget has handled the release. The events travel
    // through the X server and may wait out a frame the box is drawing, so
    // running what is pending now is not enough.
    static void click(Gtk::Widget &widget)
    {
        bool released = false;
        sigc::connection seen = widget.signal_event().connect([&released](GdkEvent *event) {
            released = released || event->type == GDK_BUTTON_RELEASE;
            return false;
        }, false);
        for (GdkEventType type : {GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE})
            gdk_test_simulate_button(widget.get_window()->gobj(), 2, 2, 1, GdkModifierType(0), type);
        EXPECT_TRUE(testutil::spinUntil([&released] { return released; }));
        seen.disconnect();
        testutil::spin();
    }
    // A key sent through the X server, then the main loop run until `done`.
    static void key(Gtk::Widget &widget, guint keyval, const std::function<bool()> &done)
    {
        ASSERT_TRUE(gtk_test_widget_send_key(widget.gobj(), keyval, GdkModifierType(0)));
        EXPECT_TRUE(testutil::spinUntil(done));
    }
    // A control of the box, by the name a screen reader reads.
    template <class W = Gtk::Widget> static W &control(AboutBox &about, const std::string &name)
    {
        W *found = findwidget::named<W>(about, name);
        EXPECT_TRUE(found) << name;
        return *found;
    }
    // Where the animation's picture is in the box, from its top.
    static int animationTop(AboutBox &about)
    {
        Gtk::Image &picture = control<Gtk::Image>(about, "Animation");
        int top = 0;
        gtk_container_child_get(GTK_CONTAINER(picture.get_parent()->gobj()), GTK_WIDGET(picture.gobj()), "y", &top,
                                nullptr);
        return top;
    }

    Gtk::Window m_mainWindow;
    AboutBox m_about{m_mainWindow, "WebKitGTK 2.50.6"};
    // Each time a link asked for the maker's site.
    int m_visits = 0;
    sigc::connection m_visited = m_about.visitRequested.connect([this] { ++m_visits; });
};

// The box names the program's version, is free of the main window, sits in
// the middle of the screen and gives its hidden animation away nowhere.
TEST_F(About, VersionPlaceAndNothingGivenAway)
{
    AboutBox &about = open();
    EXPECT_TRUE(findwidget::named<Gtk::Label>(about, "Version 1.3.3"));
    // Nothing hints at what the icon does when dropped on OK.
    Gtk::Widget &icon = control(about, "Skimlark icon");
    EXPECT_FALSE(icon.get_has_tooltip());
    EXPECT_EQ(std::string(icon.get_accessible()->get_description()), "");
    EXPECT_FALSE(about.get_modal());
    EXPECT_EQ(about.get_transient_for(), nullptr);
    // Every control is read out by a name of its own.
    for (const char *name : {"Velmora", "Velmora logo", "Visit www.velmora.example", "OK", "Animation"})
        control(about, name);
    EXPECT_EQ(control(about, "Velmora").get_accessible()->get_description(), "Check out our other software!");

    // Centred on the work area of the screen the main window is on.
    Gdk::Rectangle area;
    about.get_display()->get_primary_monitor()->get_workarea(area);
    int x = 0, y = 0, width = 0, height = 0;
    about.get_position(x, y);
    about.get_size(width, height);
    EXPECT_NEAR(x + width / 2, area.get_x() + area.get_width() / 2, 1);
    EXPECT_NEAR(y + height / 2, area.get_y() + area.get_height() / 2, 1);
}

TEST_F(About, LinksAndEnterOnVisitVisitAndTheBoxStays)
{
    AboutBox &about = open();
    auto &visit = control<Gtk::Button>(about, "Visit www.velmora.example");
    visit.grab_focus();
    key(visit, GDK_KEY_Return, [this] { return m_visits == 1; });
    EXPECT_TRUE(about.get_visible());

    visit.clicked();
    click(control(about, "Velmora logo"));
    click(*control(about, "Velmora").get_parent());
    EXPECT_EQ(m_visits, 4);
    EXPECT_TRUE(about.get_visible());

    // Enter elsewhere is OK's, the default button: it closes the box, and so does Esc.
    auto &ok = control<Gtk::Button>(about, "OK");
    ok.grab_focus();
    key(ok, GDK_KEY_Return, [&about] { return !about.get_visible(); });
    open();
    key(ok, GDK_KEY_Escape, [&about] { return !about.get_visible(); });
    EXPECT_EQ(m_visits, 4);
}

TEST_F(About, AnimationWaitsForTheIconDroppedOnOk)
{
    AboutBox &about = open();
    auto &picture = control<Gtk::Image>(about, "Animation");
    const int start = animationTop(about);
    for (int i = 0; i < 3; ++i)
        about.animate();
    EXPECT_FALSE(picture.get_pixbuf());
    EXPECT_TRUE(control(about, "Skimlark icon").get_visible());

    about.iconDropped();
    EXPECT_FALSE(control(about, "Skimlark icon").get_visible());
    about.animate();
    // One twip rounds to nothing on screen at first.
    EXPECT_FALSE(picture.get_pixbuf());
    for (int i = 0; i < 9; ++i)
        about.animate();
    // The tenth tick shows frame 1 at 91 twips, moved down the box.
    ASSERT_TRUE(picture.get_pixbuf());
    EXPECT_EQ(picture.get_pixbuf()->get_width(), 6);
    EXPECT_GT(animationTop(about), start);
}

} // namespace
