#include "app/splashwindow.h"

#include "util/appicon.h"
#include "util/windowplacement.h"

#include <gtkmm/cssprovider.h>
#include <gtkmm/main.h>

using windowplacement::pixels;

namespace {
void style(Gtk::Widget &widget, const std::string &css)
{
    auto provider = Gtk::CssProvider::create();
    provider->load_from_data(css);
    widget.get_style_context()->add_provider(provider, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}
} // namespace

SplashWindow::SplashWindow() : m_name("Skimlark"), m_maker("Developed by Velmora")
{
    set_title("");
    // A splash, not a frame a screen reader would take for the main window.
    get_accessible()->set_name("Skimlark");
    atk_object_set_role(get_accessible()->gobj(), ATK_ROLE_WINDOW);
    set_resizable(false);
    set_decorated(true);
    set_type_hint(Gdk::WINDOW_TYPE_HINT_DIALOG);
    set_skip_taskbar_hint(true);
    set_skip_pager_hint(true);
    set_position(Gtk::WIN_POS_CENTER);
    style(*this, "window { background-color: #ffffff; }");

    m_fixed.set_size_request(pixels(4800), pixels(975));
    // Pictures given as surfaces are painted without a conversion.
    const auto icon = appicon::drawSurface(32);
    // Kept off the task bar, the splash needs no large icons: drawing them
    // would only delay its first paint.
    set_icon(Gdk::Pixbuf::create(icon, 0, 0, icon->get_width(), icon->get_height()));
    for (auto [image, left] : {std::pair{&m_leftIcon, 120}, std::pair{&m_rightIcon, 4200}}) {
        image->set(icon);
        image->set_size_request(pixels(480), pixels(465));
        m_fixed.put(*image, pixels(left), pixels(120));
    }
    const char *face = "font-family: Arial, \"Liberation Sans\", Helvetica, sans-serif; color: #000000;";
    style(m_name, std::string("label { ") + face + " font-size: 20.25pt; font-weight: bold; font-style: italic; }");
    style(m_maker, std::string("label { ") + face + " font-size: 8.25pt; font-weight: bold; }");
    m_name.set_size_request(pixels(3615), pixels(615));
    m_maker.set_size_request(pixels(2175), pixels(255));
    m_name.set_xalign(0);
    m_maker.set_xalign(0);
    m_fixed.put(m_name, pixels(720), pixels(120));
    m_fixed.put(m_maker, pixels(1440), pixels(720));
    add(m_fixed);
    m_fixed.show_all();
}

void SplashWindow::runPasses(int passes)
{
    for (int pass = 0; pass < passes; ++pass)
        Gtk::Main::iteration(false);
}

void SplashWindow::runSequence(int passes, const std::function<void()> &showMainWindow,
                            const std::function<void()> &whileWaiting)
{
    show();
    // Keys go to the splash under a real window manager too.
    present();
    int done = 0;
    if (whileWaiting) {
        // The splash is painted before the work starts, which holds the loop
        // a while; the passes that wait for its first frame count.
        bool painted = false;
        sigc::connection drawn = signal_draw().connect(
            [&painted](const Cairo::RefPtr<Cairo::Context> &) {
                painted = true;
                return false;
            },
            true);
        for (; done < passes && !painted; ++done)
            Gtk::Main::iteration(false);
        drawn.disconnect();
        whileWaiting();
    }
    runPasses(passes - done);
    showMainWindow();
    hide();
}

bool SplashWindow::on_key_press_event(GdkEventKey *event)
{
    const guint key = event->keyval;
    if (gdk_keyval_to_unicode(key) != 0 || key == GDK_KEY_Return || key == GDK_KEY_KP_Enter
        || key == GDK_KEY_Escape) {
        hide();
        return true;
    }
    return Gtk::Window::on_key_press_event(event);
}
