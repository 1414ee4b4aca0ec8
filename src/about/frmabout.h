#pragma once

#include "about/aboutanimation.h"
#include "about/soundplayer.h"

#include <gtkmm.h>
#include <array>
#include <cstdint>
#include <string>

// The About box: title, version, the page engine, the maker's name and logo,
// three links to the maker's site, a sound on opening, a name that changes
// colour twice a second, and a hidden animation started by dropping the icon
// onto OK. Not modal and without an owner; OK, Esc or the close box hide it.
class frmAbout : public Gtk::Window
{
public:
    // Placed on the screen of `mainWindow`; `engineText` names the page engine
    // and its version ("WebKitGTK 2.50.6").
    frmAbout(Gtk::Window &mainWindow, const std::string &engineText);
    ~frmAbout() override;

    static std::string versionText();
    // The name's colour from three numbers in [0, 1): each channel is the
    // number times 255, rounded half to even (a colour number, red lowest).
    static std::uint32_t colourFromRandoms(double r1, double r2, double r3);

    // Timer1: a new random colour for the maker's name.
    void recolourName();
    // Timer2: one animation tick.
    void animate();
    // A drop on OK: hides the icon and starts the animation.
    void iconDropped();

    const AboutAnimation &animation() const { return m_animation; }
    int soundRequests() const { return m_sound.requests(); }

    // One of the three links was used: the main window goes to the maker's site.
    sigc::signal<void()> visitRequested;

    Gtk::Label lblTitle;
    Gtk::Label lblVersion;
    Gtk::Label Label3;
    Gtk::Label Label1;
    Gtk::Label Lblme;
    Gtk::Label lblEngine;
    Gtk::EventBox Image1;
    Gtk::Button Command1;
    Gtk::Button cmdOK;
    Gtk::EventBox Picture1;
    Gtk::Image Imgcurrentsei;
    std::array<Glib::RefPtr<Gdk::Pixbuf>, AboutAnimation::FrameCount> imgsei;
    sigc::connection Timer1;
    sigc::connection Timer2;

protected:
    bool on_key_press_event(GdkEventKey *event) override;
    bool on_delete_event(GdkEventAny *event) override;
    void on_hide() override;

private:
    void buildControls();
    void centreOn(Gtk::Window &mainWindow);
    void placeByOuterSize(int width, int height);
    int innerHeightTwips() const;

    Gdk::Rectangle m_workArea;
    Gtk::Layout m_layout;
    Gtk::EventBox m_nameBox;
    Gtk::Image m_logo;
    Gtk::Image m_icon;
    Glib::RefPtr<Gtk::CssProvider> m_nameColour = Gtk::CssProvider::create();
    AboutAnimation m_animation;
    SoundPlayer m_sound;
};
