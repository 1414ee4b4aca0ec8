#pragma once

#include "aboutanimation.h"

#include <QDialog>
#include <QPixmap>
#include <array>

class ClickableLabel;
class DraggableIcon;
class IconDropButton;
class QLabel;
class QPushButton;
class QSoundEffect;
class QTimer;

// The About box: title, version, the maker's name and logo, three links to the
// maker's site, a sound on opening, a name that changes colour twice a second,
// and a hidden animation started by dropping the icon onto OK.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);
    ~frmAbout() override;

    static QString versionText();
    // The name's colour from three numbers in [0, 1): each channel is the
    // number times 255, rounded half to even.
    static QColor colourFromRandoms(double r1, double r2, double r3);

    const AboutAnimation &animation() const { return m_animation; }
    // The dialog's inner height in twips: where the animated picture turns back up.
    int innerHeightTwips() const;
    // How often load asked for the sound (it may still stay silent).
    int soundRequests() const { return m_soundRequests; }

    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label1 = nullptr;
    ClickableLabel *Lblme = nullptr;
    ClickableLabel *Image1 = nullptr;
    QPushButton *Command1 = nullptr;
    IconDropButton *cmdOK = nullptr;
    DraggableIcon *Picture1 = nullptr;
    QLabel *Imgcurrentsei = nullptr;
    std::array<QPixmap, AboutAnimation::FrameCount> imgsei;
    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;

public Q_SLOTS:
    // Timer1: a new random colour for the maker's name.
    void recolourName();
    // Timer2: one animation tick.
    void animate();
    // A drop on OK: hides the icon and starts the animation.
    void startAnimation();

Q_SIGNALS:
    // One of the three links was clicked: the main window goes to the maker's site.
    void visitRequested();

private:
    void buildControls();
    void centreOnScreen();
    void playSound();

    AboutAnimation m_animation;
    QSoundEffect *m_sound = nullptr;
    int m_soundRequests = 0;
};
