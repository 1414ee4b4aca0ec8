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
class AboutBox : public Gtk::Window
{
public:
    // Placed on the screen of `mainWindow`; `engineText` names the page engine
    // and its version ("WebKitGTK 2.50.6").
    AboutBox(Gtk::Window &mainWindow, const std::string &engineText);
    ~AboutBox() override;

    // The name's colour from three numbers in [0, 1): each channel is the
    // number times 255, rounded half to even (a colour number, red lowest).
    static std::uint32_t colourFromRandoms(double r1, double r2, double r3);

    // One tick of the animation, as its timer runs it.
    void animate();
    // What a drop of the icon on OK does: hides the icon and starts the animation.
    void iconDropped();

    // One of the three links was used: the main window goes to the maker's site.
    sigc::signal<void()> visitRequested;

protected:
    bool on_key_press_event(GdkEventKey *event) override;
    bool on_delete_event(GdkEventAny *event) override;
    void on_hide() override;

private:
    static std::string versionText();
    // A new random colour for the maker's name.
    void recolourName();
    void buildControls();
    void centreOn(Gtk::Window &mainWindow);
    void placeByOuterSize(int width, int height);
    int innerHeightTwips() const;

    Gdk::Rectangle m_workArea;
    Gtk::Layout m_layout;
    Gtk::Label m_title;
    Gtk::Label m_version;
    Gtk::Label m_product;
    Gtk::Label m_developedBy;
    // The maker's name, a link to the maker's site.
    Gtk::EventBox m_nameBox;
    Gtk::Label m_makerName;
    Gtk::Label m_engine;
    // The maker's logo, a link too.
    Gtk::EventBox m_logoBox;
    Gtk::Image m_logo;
    Gtk::Button m_visitButton;
    Gtk::Button m_okButton;
    // The program's icon, which the user may drag onto OK.
    Gtk::EventBox m_iconBox;
    Gtk::Image m_icon;
    // The animation's picture, over the other controls, and its frames.
    Gtk::Image m_animationPicture;
    std::array<Glib::RefPtr<Gdk::Pixbuf>, AboutAnimation::FrameCount> m_animationFrames;
    sigc::connection m_nameColourTimer;
    sigc::connection m_animationTimer;
    Glib::RefPtr<Gtk::CssProvider> m_nameColour = Gtk::CssProvider::create();
    AboutAnimation m_animation;
    SoundPlayer m_sound;
};
