#include "frmsplash.h"

#include "appicon.h"
#include "browser/frmbrowser.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QScreen>

frmSplash::frmSplash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setAccessibleName(QStringLiteral("Skimlark"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    setFixedSize(frmBrowser::px(4800), frmBrowser::px(975));
    setFocusPolicy(Qt::StrongFocus);

    const QPixmap icon = appicon::draw(32, devicePixelRatioF());
    for (int left : {120, 4200}) {
        auto *image = new QLabel(this);
        image->setPixmap(icon);
        image->setGeometry(frmBrowser::px(left), frmBrowser::px(120), frmBrowser::px(480),
                           frmBrowser::px(465));
        image->setFocusPolicy(Qt::NoFocus);
    }
    auto *title = new QLabel(QStringLiteral("Skimlark"), this);
    title->setObjectName(QStringLiteral("Label1"));
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPointSizeF(20.25);
    titleFont.setBold(true);
    titleFont.setItalic(true);
    title->setFont(titleFont);
    title->setGeometry(frmBrowser::px(720), frmBrowser::px(120), frmBrowser::px(3615),
                       frmBrowser::px(615));
    auto *maker = new QLabel(QStringLiteral("Developed by Velmora"), this);
    maker->setObjectName(QStringLiteral("Label2"));
    QFont makerFont(QStringLiteral("Arial"));
    makerFont.setPointSizeF(8.25);
    makerFont.setBold(true);
    maker->setFont(makerFont);
    maker->setGeometry(frmBrowser::px(1440), frmBrowser::px(720), frmBrowser::px(2175),
                       frmBrowser::px(255));

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.center() - rect().center());
    }
}

void frmSplash::runPasses(int passes)
{
    for (int pass = 0; pass < passes; ++pass)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void frmSplash::runSequence(frmSplash *splash, int passes,
                            const std::function<void()> &showMainWindow)
{
    // A key press may close (and delete) the splash during the wait.
    QPointer<frmSplash> guard(splash);
    splash->show();
    splash->activateWindow();
    runPasses(passes);
    showMainWindow();
    if (guard)
        guard->close();
}

void frmSplash::keyPressEvent(QKeyEvent *event)
{
    // Any key that produces a character, Enter and Escape included, closes the splash.
    if (!event->text().isEmpty() || event->key() == Qt::Key_Return
        || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
