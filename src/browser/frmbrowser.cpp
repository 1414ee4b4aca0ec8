#include "frmbrowser.h"

#include "app/appicon.h"
#include "commands/colournumber.h"
#include "commands/commandswiring.h"
#include "dialogs.h"
#include "favorites/favoriteswiring.h"
#include "makeraddresses.h"
#include "navigation/navigationwiring.h"
#include "pageview.h"
#include "search/enginemenuitems.h"
#include "search/searchwiring.h"
#include "settings/settingskeys.h"
#include "settings/settingsstore.h"
#include "shelluihelper.h"
#include "shortcutswiring.h"
#include "toolbarcomponent.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace {
constexpr int TwipsPerPixel = 15;

// Design places in twips: left, top, width, height.
struct Place { int left, top, width, height; };
constexpr Place Label1Place{120, 720, 2055, 255};
constexpr Place Text1Place{2160, 720, 2415, 315};
constexpr Place Command1Place{4680, 720, 1215, 375};
constexpr Place Label2Place{6000, 720, 1095, 255};
constexpr Place Combo1Place{6960, 720, 4095, 315};
constexpr Place Command2Place{11160, 720, 735, 375};
constexpr Place TabStrip1Place{0, 1200, 6675, 375};
constexpr Place UCmoreToolbarPlace{0, 1560, 19080, 390};
constexpr Place Picture1Place{0, 1980, 8355, 7335};
constexpr int Toolbar1Height = 660;
constexpr int StatusBarHeight = 405;
constexpr int ClientWidth = 17160;
constexpr int ClientHeight = 7905;
constexpr int CentreRaise = 85;

const char *const EngineTabCaptions[] = {
    "  DMOZ - Open Directory Project  ", "  Yahoo  ", "  Google  ",     "  MSN  ",
    "  Lycos  ",                         "  HotBot  ", "  WebCrawler  ", "  Alta Vista  ",
    "  All The Web  ",
};
} // namespace

int frmBrowser::px(int twips)
{
    return qRound(double(twips) / TwipsPerPixel);
}

static void place(QWidget *widget, const Place &p)
{
    widget->setGeometry(frmBrowser::px(p.left), frmBrowser::px(p.top), frmBrowser::px(p.width),
                        frmBrowser::px(p.height));
}

// The labels' bold 9.75 point face runs wider here than the fonts the layout
// was drawn with; step the size down until the whole caption fits in front of
// the control that follows it.
static QFont fittingFont(QFont font, const QString &text, int width)
{
    constexpr qreal Smallest = 6.0;
    while (font.pointSizeF() > Smallest && QFontMetrics(font).horizontalAdvance(text) > width)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    return font;
}

frmBrowser::frmBrowser(SettingsStore &settings, Dialogs &dialogs, PageView *pageView,
                       QWidget *parent)
    : QMainWindow(parent), m_settings(settings), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmBrowser"));
    setWindowTitle(QStringLiteral("Skimlark"));
    setWindowIcon(appicon::icon());
    WebBrowser1 = pageView;
    buildControls();
    buildMenus();
    resize(px(ClientWidth), px(ClientHeight) + menuBar()->sizeHint().height());
    connect(&m_settings, &SettingsStore::writeFailed, this, &frmBrowser::reportWriteFailure);

    wireSearch(*this);
    wireNavigation(*this);
    wireFavorites(*this);
    wireCommands(*this);
    wireShortcuts(*this);
}

frmBrowser::~frmBrowser() = default;

void frmBrowser::buildControls()
{
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("clientArea"));
    m_client->setMouseTracking(true);
    m_client->installEventFilter(this);
    setCentralWidget(m_client);

    buildToolbar();

    UCmoreToolbar = new QToolBar(m_client);
    UCmoreToolbar->setObjectName(QStringLiteral("UCmoreToolbar"));
    UCmoreToolbar->setAccessibleName(tr("Page toolbar"));
    UCmoreToolbar->setMovable(false);
    UCmoreToolbar->hide();
    place(UCmoreToolbar, UCmoreToolbarPlace);

    QFont labelFont = font();
    labelFont.setPointSizeF(9.75);
    labelFont.setBold(true);

    Label1 = new QLabel(tr("Search the Internet:"), m_client);
    Label1->setObjectName(QStringLiteral("Label1"));
    place(Label1, Label1Place);

    Text1 = new QLineEdit(tr("Enter your search keyword here"), m_client);
    Text1->setObjectName(QStringLiteral("Text1"));
    // Show the invitation from its start, not scrolled to its end.
    Text1->setCursorPosition(0);
    Text1->setAccessibleName(tr("Search the Internet:"));
    Label1->setBuddy(Text1);
    place(Text1, Text1Place);

    Command1 = new QPushButton(tr("Search"), m_client);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAccessibleName(tr("Search"));
    place(Command1, Command1Place);

    Label2 = new QLabel(tr("Location:"), m_client);
    Label2->setObjectName(QStringLiteral("Label2"));
    place(Label2, Label2Place);

    Combo1 = new QComboBox(m_client);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setAccessibleName(tr("Location:"));
    Combo1->lineEdit()->setAccessibleName(tr("Location:"));
    Label2->setBuddy(Combo1);
    place(Combo1, Combo1Place);

    // Each label's place runs under the field after it, which would hide the
    // caption's end; both labels share the size that fits the tighter one.
    constexpr int LabelGap = 30;
    const QFont fitted1 = fittingFont(labelFont, Label1->text(),
                                      px(Text1Place.left - Label1Place.left - LabelGap));
    const QFont fitted2 = fittingFont(labelFont, Label2->text(),
                                      px(Combo1Place.left - Label2Place.left - LabelGap));
    labelFont.setPointSizeF(qMin(fitted1.pointSizeF(), fitted2.pointSizeF()));
    Label1->setFont(labelFont);
    Label2->setFont(labelFont);

    Command2 = new QPushButton(tr("Surf"), m_client);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setAccessibleName(tr("Surf"));
    place(Command2, Command2Place);

    TabStrip1 = new EngineTabBar(m_client);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    TabStrip1->setAccessibleName(tr("Search engines"));
    TabStrip1->addTab(QString());
    place(TabStrip1, TabStrip1Place);

    Picture1 = new QWidget(m_client);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    place(Picture1, Picture1Place);
    WebBrowser1->setParent(Picture1);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->move(0, 0);
    WebBrowser1->show();

    buildStatusBar();

    Timer1 = new QTimer(this);
    Timer2 = new QTimer(this);
    Timer3 = new QTimer(this);
    for (QTimer *timer : {Timer1, Timer2, Timer3})
        timer->setInterval(500);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer3->setObjectName(QStringLiteral("Timer3"));
    Timer3->start();

    m_shell = new ShellUIHelper(&m_dialogs, this, this);
    m_toolbarComponent = new ToolbarComponent(this);
}

void frmBrowser::buildStatusBar()
{
    StatusBar1 = new QStatusBar(m_client);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setAccessibleName(tr("Status"));
    StatusBar1->setSizeGripEnabled(false);
    const int widths[] = {1440, 9440, 1440};
    for (int i = 0; i < 3; ++i) {
        auto *panel = new QLabel(StatusBar1);
        panel->setObjectName(QStringLiteral("panel%1").arg(i + 1));
        // No accessible name of its own: a screen reader reads the panel's text.
        panel->setMinimumWidth(px(widths[i]));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        StatusBar1->addWidget(panel, i == 1 ? 1 : 0);
        panels[i] = panel;
    }
}

QAction *frmBrowser::toolbarButton(const QString &key) const
{
    for (QAction *action : m_toolbarButtons) {
        if (action && action->objectName() == key)
            return action;
    }
    return nullptr;
}

QAction *frmBrowser::menuItem(const QString &name) const
{
    return m_menuItems.value(name);
}

void frmBrowser::load()
{
    // Steps 1 to 3: the shell object exists already; the second toolbar is
    // shown and handed to the toolbar component.
    UCmoreToolbar->show();
    m_toolbarComponent->attach(UCmoreToolbar, WebBrowser1);
    m_toolbarComponent->setMode(1);

    // Step 4: check marks of the stored engine.
    const QString engine = m_settings.read(keys::App, keys::Home, keys::Engine,
                                           QStringLiteral("google"));
    for (const EngineMark &mark : StartupEngineMarks) {
        if (engine == QLatin1String(mark.engineId)) {
            if (QAction *item = menuItem(QLatin1String(mark.item)))
                item->setChecked(true);
        }
    }

    // Step 5: favorite tooltips.
    for (int n = 1; n <= 10; ++n) {
        const QString tip = m_settings.read(
            keys::App, keys::Home, keys::favoriteSlot(n),
            QStringLiteral("Click here to add current website to favorite #%1").arg(n));
        favoriteButton(n)->setToolTip(tip);
    }

    // Step 6: the home address as the "Search" button's tooltip.
    Command1->setToolTip(m_settings.read(keys::App, keys::Home, keys::Address, QString()));

    // Steps 7 and 8: from here a failing step is skipped.
    applyStoredColours();

    // Steps 9 and 10.
    m_visitedCounter = 0;
    m_firstActivation = true;

    // Step 11: the Home Page tab.
    const QString home = m_settings.read(keys::App, keys::Home, keys::Address,
                                         maker::ReferralAddress);
    TabStrip1->setTabText(0, tr("Home Page"));
    TabStrip1->setTag(0, home);

    // Step 12: the nine engine tabs, no tags yet.
    const QSignalBlocker blocker(TabStrip1);
    for (const char *caption : EngineTabCaptions)
        TabStrip1->addTab(QString::fromLatin1(caption));

    // Step 13.
    centreOnScreen();

    // Step 14: the visited-address list's one entry; the bar's own text stays empty.
    const QString last = m_settings.read(keys::App, keys::MRURL,
                                         QString::number(m_visitedCounter), QString());
    {
        const QSignalBlocker comboBlocker(Combo1);
        Combo1->addItem(last);
        Combo1->setCurrentIndex(-1);
        Combo1->setEditText(QString());
    }

    if (!m_settings.isWritable(keys::App))
        QTimer::singleShot(0, this, [this] { reportWriteFailure(m_settings.filePath(keys::App)); });
}

void frmBrowser::applyStoredColours()
{
    const QString picker = colournumber::textFromColor(commonDialogColour);
    struct Rule { QWidget *widget; const QString &key; const char *keep; QPalette::ColorRole role; };
    const Rule rules[] = {
        {Combo1, keys::AddressbarFontColor, "16777215", QPalette::Text},
        {Combo1, keys::AddressbarBackgroundColor, "0", QPalette::Base},
        {Text1, keys::SearchboxFontColor, "16777215", QPalette::Text},
        {Text1, keys::SearchboxBackgroundColor, "0", QPalette::Base},
    };
    for (const Rule &rule : rules) {
        const QString value = m_settings.read(keys::App, keys::Home, rule.key, picker);
        if (value == QLatin1String(rule.keep))
            continue;
        const std::optional<QColor> colour = colournumber::colorFromText(value);
        if (!colour)
            continue;
        setFieldColour(rule.widget, rule.role, *colour);
    }
}

void frmBrowser::setFieldColour(QWidget *field, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = field->palette();
    palette.setColor(role, colour);
    field->setPalette(palette);
    if (auto *combo = qobject_cast<QComboBox *>(field); combo && combo->lineEdit())
        combo->lineEdit()->setPalette(palette);
}

void frmBrowser::centreOnScreen()
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen || isMaximized())
        return;
    // In twips, as the design has it: 85 twips above the vertical centre.
    const QSize frame = frameGeometry().size();
    const double left = (screen->geometry().width() - frame.width()) / 2.0;
    const double top = (screen->geometry().height() - frame.height()) / 2.0
                       - double(CentreRaise) / TwipsPerPixel;
    move(screen->geometry().x() + qRound(left), screen->geometry().y() + qRound(top));
}

void frmBrowser::layoutControls()
{
    if (!m_client)
        return;
    const int innerWidth = m_client->width() * TwipsPerPixel;
    const int innerHeight = m_client->height() * TwipsPerPixel;

    // Docked controls follow the window.
    Toolbar1->setGeometry(0, 0, m_client->width(), px(Toolbar1Height));
    StatusBar1->setGeometry(0, m_client->height() - px(StatusBarHeight), m_client->width(),
                            px(StatusBarHeight));
    StatusBar1->raise();

    // The resize steps, each skipped when the window is too small for it.
    const int pictureLeft = Picture1->x() * TwipsPerPixel;
    const int pictureTop = Picture1->y() * TwipsPerPixel;
    const int pictureHeight = innerHeight - pictureTop - 50;
    if (pictureHeight >= 0)
        Picture1->resize(Picture1->width(), px(pictureHeight));
    const int pictureWidth = innerWidth - 2 * pictureLeft;
    if (pictureWidth >= 0)
        Picture1->resize(px(pictureWidth), Picture1->height());
    const int viewHeight = Picture1->height() * TwipsPerPixel - StatusBarHeight;
    if (viewHeight >= 0)
        WebBrowser1->resize(WebBrowser1->width(), px(viewHeight));
    WebBrowser1->resize(Picture1->width(), WebBrowser1->height());
    TabStrip1->resize(Picture1->width(), TabStrip1->height());
}

bool frmBrowser::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        ensureFirstActivation();
    return QMainWindow::event(event);
}

void frmBrowser::ensureFirstActivation()
{
    if (!m_firstActivation)
        return;
    m_firstActivation = false;
    Q_EMIT firstActivated();
    TabStrip1->select(0);
}

bool frmBrowser::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_client) {
        if (event->type() == QEvent::Resize) {
            layoutControls();
        } else if (event->type() == QEvent::MouseMove && !m_firstMouseMove) {
            // Only a move over the window's own surface counts, not one that a
            // child control passed on.
            const auto *move = static_cast<QMouseEvent *>(event);
            if (!m_client->childAt(move->position().toPoint())) {
                // The one-time operation on the first mouse movement: a repaint.
                update();
                m_firstMouseMove = true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmBrowser::closeEvent(QCloseEvent *event)
{
    // The request is never refused; nothing is saved, every setting was written
    // when it changed.
    event->accept();
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_toolbarComponent->release();
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window != this && window->isVisible())
            window->close();
    }
    Q_EMIT closing();
}

void frmBrowser::reportWriteFailure(const QString &path)
{
    if (m_writeFailureReported)
        return;
    m_writeFailureReported = true;
    m_dialogs.message(this,
                      tr("Settings cannot be saved to %1. Changes made now will be lost "
                         "when Skimlark closes.")
                          .arg(path),
                      QStringLiteral("Skimlark"));
}
