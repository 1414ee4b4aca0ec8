#pragma once

#include <functional>
#include <gtkmm/fixed.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/window.h>

// The splash window shown while the program starts: a small fixed framed
// window with no title text. Any key that types a character, Enter or Esc
// closes it at once.
class SplashWindow : public Gtk::Window
{
public:
    SplashWindow();

    // Keeps the event loop going for `passes` passes, each handling what is pending.
    static void runPasses(int passes);

    // The splash's load: show it and take the keyboard focus, wait `passes`
    // passes, run `showMainWindow`, then close the splash (unless a key
    // closed it already). `whileWaiting` runs once the splash is on screen,
    // inside the wait, so that work needed later overlaps it.
    void runSequence(int passes, const std::function<void()> &showMainWindow,
                     const std::function<void()> &whileWaiting = {});

protected:
    bool on_key_press_event(GdkEventKey *event) override;

private:
    Gtk::Fixed m_fixed;
    Gtk::Image m_leftIcon, m_rightIcon;
    Gtk::Label m_name, m_maker;
};
