#include "frmabout.h"

#include "aboutpictures.h"
#include "aboutwidgets.h"
#include "app/appicon.h"
#include "browser/frmbrowser.h"
#include "browser/makeraddresses.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMediaDevices>
#include <QAudioDevice>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <cmath>

namespace {
constexpr int TwipsPerPixel = 15;

struct Place { int left, top, width, height; };
constexpr Place DialogSize{0, 0, 6300, 4080};
constexpr Place Picture1Place{240, 120, 495, 495};
constexpr Place ImgcurrentseiPlace{240, 120, 735, 615};
constexpr Place lblTitlePlace{1050, 120, 5000, 480};
constexpr Place lblVersionPlace{1050, 600, 5000, 300};
constexpr Place Label3Place{1050, 960, 5000, 360};
constexpr Place Label1Place{240, 1620, 1560, 300};
constexpr Place LblmePlace{1860, 1620, 2400, 300};
constexpr Place Image1Place{240, 2040, 2250, 600};
constexpr Place Command1Place{240, 3360, 3600, 435};
constexpr Place cmdOKPlace{4560, 3360, 1500, 435};

void place(QWidget *widget, const Place &p)
{
    widget->setGeometry(frmBrowser::px(p.left), frmBrowser::px(p.top), frmBrowser::px(p.width),
                        frmBrowser::px(p.height));
}

const QUrl SoundSource(QStringLiteral("qrc:/sounds/plink.wav"));
} // namespace

// The resources live in a static library: make sure they are linked and registered.
static void ensureResources()
{
    Q_INIT_RESOURCE(resources);
}

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent), m_animation(float(ImgcurrentseiPlace.left), ImgcurrentseiPlace.top)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About Skimlark"));
    setWindowIcon(appicon::icon());
    setFixedSize(frmBrowser::px(DialogSize.width), frmBrowser::px(DialogSize.height));
    buildControls();

    // Load.
    lblVersion->setText(versionText());
    centreOnScreen();
    lblTitle->setText(QStringLiteral("Skimlark"));
    playSound();
    m_animation = AboutAnimation(float(ImgcurrentseiPlace.left), ImgcurrentseiPlace.top);
    Imgcurrentsei->setScaledContents(true);

    Timer1->start();
    Timer2->start();
}

frmAbout::~frmAbout() = default;

QString frmAbout::versionText()
{
    return QStringLiteral("Version %1.%2.%3")
        .arg(SKIMLARK_VERSION_MAJOR)
        .arg(SKIMLARK_VERSION_MINOR)
        .arg(SKIMLARK_VERSION_PATCH);
}

QColor frmAbout::colourFromRandoms(double r1, double r2, double r3)
{
    // nearbyint under the default rounding mode rounds halves to the even neighbour.
    auto channel = [](double r) { return int(std::nearbyint(r * 255.0)); };
    return QColor(channel(r1), channel(r2), channel(r3));
}

void frmAbout::buildControls()
{
    Picture1 = new DraggableIcon(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(aboutpictures::icon(frmBrowser::px(Picture1Place.width)));
    Picture1->setAccessibleName(tr("Skimlark icon"));
    place(Picture1, Picture1Place);

    QFont titleFont = font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setFont(titleFont);
    place(lblTitle, lblTitlePlace);

    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    place(lblVersion, lblVersionPlace);

    Label3 = new QLabel(QStringLiteral("Skimlark"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setFont(QFont(QStringLiteral("Arial"), font().pointSize()));
    place(Label3, Label3Place);

    Label1 = new QLabel(tr("Developed by:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    place(Label1, Label1Place);

    Lblme = new ClickableLabel(maker::Name, this);
    Lblme->setObjectName(QStringLiteral("Lblme"));
    Lblme->setToolTip(tr("Check out our other software!"));
    Lblme->setAccessibleName(maker::Name);
    Lblme->setAccessibleDescription(tr("Check out our other software!"));
    Lblme->setCursor(aboutpictures::pointer());
    QFont nameFont = font();
    nameFont.setBold(true);
    nameFont.setUnderline(true);
    Lblme->setFont(nameFont);
    place(Lblme, LblmePlace);

    Image1 = new ClickableLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(aboutpictures::logo());
    Image1->setToolTip(maker::Name);
    Image1->setAccessibleName(tr("%1 logo").arg(maker::Name));
    Image1->setCursor(Qt::PointingHandCursor);
    place(Image1, Image1Place);

    Command1 = new QPushButton(tr("Visit %1").arg(maker::Host), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAccessibleName(Command1->text());
    Command1->setAutoDefault(false);
    place(Command1, Command1Place);

    cmdOK = new IconDropButton(tr("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setAccessibleName(tr("OK"));
    cmdOK->setDefault(true);
    place(cmdOK, cmdOKPlace);

    Imgcurrentsei = new QLabel(this);
    Imgcurrentsei->setObjectName(QStringLiteral("Imgcurrentsei"));
    Imgcurrentsei->setAccessibleName(tr("Animation"));
    // Drawn over the other controls, but never in the way of a click.
    Imgcurrentsei->setAttribute(Qt::WA_TransparentForMouseEvents);
    place(Imgcurrentsei, ImgcurrentseiPlace);
    Imgcurrentsei->raise();

    for (int i = 0; i < AboutAnimation::FrameCount; ++i)
        imgsei[i] = aboutpictures::frame(i);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(50);

    connect(Timer1, &QTimer::timeout, this, &frmAbout::recolourName);
    connect(Timer2, &QTimer::timeout, this, &frmAbout::animate);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdOK, &IconDropButton::iconDropped, this, &frmAbout::startAnimation);
    connect(Command1, &QPushButton::clicked, this, &frmAbout::visitRequested);
    connect(Image1, &ClickableLabel::clicked, this, &frmAbout::visitRequested);
    connect(Lblme, &ClickableLabel::clicked, this, &frmAbout::visitRequested);
}

void frmAbout::centreOnScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void frmAbout::playSound()
{
    ++m_soundRequests;
    ensureResources();
    // Without an output device there is nothing to play on: stay silent.
    if (QMediaDevices::defaultAudioOutput().isNull())
        return;
    m_sound = new QSoundEffect(this);
    m_sound->setSource(SoundSource);
    m_sound->play();
}

int frmAbout::innerHeightTwips() const
{
    return height() * TwipsPerPixel;
}

void frmAbout::recolourName()
{
    QRandomGenerator *random = QRandomGenerator::global();
    const QColor colour = colourFromRandoms(random->generateDouble(), random->generateDouble(),
                                            random->generateDouble());
    QPalette palette = Lblme->palette();
    palette.setColor(QPalette::WindowText, colour);
    Lblme->setPalette(palette);
}

void frmAbout::animate()
{
    const std::optional<AboutAnimation::Placement> shown = m_animation.tick(innerHeightTwips());
    if (!shown)
        return;
    Imgcurrentsei->setPixmap(imgsei[shown->frame]);
    Imgcurrentsei->setGeometry(frmBrowser::px(qRound(shown->left)), frmBrowser::px(shown->top),
                               frmBrowser::px(shown->width), frmBrowser::px(shown->height));
}

void frmAbout::startAnimation()
{
    m_animation.start();
    Picture1->hide();
}
