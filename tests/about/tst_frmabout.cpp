#include "about/aboutwidgets.h"
#include "about/frmabout.h"
#include "browser/makeraddresses.h"
#include "commands/toolscommands.h"
#include "support/testenv.h"
#include "support/testmain.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <cmath>

namespace {
// Sends a drag of `format` over the button and drops it there; true when the drop was taken.
bool dropOnto(QWidget *target, const QString &format)
{
    QMimeData data;
    data.setData(format, QByteArray());
    const QPoint centre = target->rect().center();
    QDragEnterEvent enter(centre, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(centre), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

// A number in [0, 1) whose product with 255 is exactly `product`, or -1.
double exactFactor(double product)
{
    double r = product / 255.0;
    for (int i = 0; i < 8 && r * 255.0 != product; ++i)
        r = std::nextafter(r, r * 255.0 < product ? 1.0 : 0.0);
    return r * 255.0 == product ? r : -1.0;
}

frmAbout *openAbout(frmBrowser &window)
{
    window.menuItem("mnuaboutquendle")->trigger();
    return window.findChild<ToolsCommands *>()->aboutDialog();
}
} // namespace

class tst_FrmAbout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void loadShowsTitleVersionAndMaker();
    void everyControlHasAnAccessibleName();
    void nameColourRoundsHalvesToEven_data();
    void nameColourRoundsHalvesToEven();
    void animationWaitsForTheIconOnOk();
    void droppingTheIconOnOkStartsTheAnimation();
    void otherDropsAreRefused();
    void linksNavigateTheMainWindow_data();
    void linksNavigateTheMainWindow();
    void secondAboutCommandBringsTheSameDialogForward();
    void okAndEscapeCloseAndTheNextAboutStartsAfresh_data();
    void okAndEscapeCloseAndTheNextAboutStartsAfresh();
};

void tst_FrmAbout::loadShowsTitleVersionAndMaker()
{
    frmAbout about;
    QCOMPARE(about.windowTitle(), QString("About Skimlark"));
    QCOMPARE(about.lblVersion->text(), QString("Version 1.3.3"));
    QCOMPARE(about.lblTitle->text(), QString("Skimlark"));
    QCOMPARE(about.Label1->text(), QString("Developed by:"));
    QCOMPARE(about.Lblme->text(), QString("Velmora"));
    QCOMPARE(about.Lblme->toolTip(), QString("Check out our other software!"));
    QCOMPARE(about.Lblme->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(about.Command1->text(), "Visit " + maker::Host);
    QCOMPARE(about.cmdOK->text(), QString("&OK"));
    QVERIFY(about.cmdOK->isDefault());
    QCOMPARE(about.Image1->pixmap().size(), QSize(150, 40));
    QCOMPARE(about.Image1->toolTip(), QString("Velmora"));
    for (const QPixmap &frame : about.imgsei)
        QVERIFY(!frame.isNull());
    QCOMPARE(about.Timer1->interval(), 500);
    QCOMPARE(about.Timer2->interval(), 50);
    QVERIFY(about.Timer1->isActive() && about.Timer2->isActive());
    QCOMPARE(about.soundRequests(), 1);
    // The sound ships inside the program.
    QVERIFY(QFile::exists(":/sounds/plink.wav"));
    // Centred on the screen.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY(qAbs(about.geometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(about.geometry().center().y() - screen.center().y()) <= 1);
}

void tst_FrmAbout::everyControlHasAnAccessibleName()
{
    frmAbout about;
    const QList<QWidget *> controls = {about.Picture1, about.Lblme, about.Image1, about.Command1,
                                       about.cmdOK, about.Imgcurrentsei};
    for (QWidget *control : controls)
        QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
}

void tst_FrmAbout::nameColourRoundsHalvesToEven_data()
{
    QTest::addColumn<double>("product");
    QTest::addColumn<int>("channel");
    QTest::newRow("zero") << 0.0 << 0;
    QTest::newRow("2.5 goes down to the even 2") << 2.5 << 2;
    QTest::newRow("3.5 goes up to the even 4") << 3.5 << 4;
    QTest::newRow("127.5 goes up to 128") << 127.5 << 128;
    QTest::newRow("254.4 rounds to 254") << 254.4 << 254;
}

void tst_FrmAbout::nameColourRoundsHalvesToEven()
{
    QFETCH(double, product);
    QFETCH(int, channel);
    const double r = exactFactor(product);
    QVERIFY2(r >= 0.0 && r < 1.0, "no number in [0, 1) gives this product exactly");
    QCOMPARE(frmAbout::colourFromRandoms(r, 0.0, 0.0), QColor(channel, 0, 0));
    QCOMPARE(frmAbout::colourFromRandoms(0.0, r, 0.0), QColor(0, channel, 0));
    QCOMPARE(frmAbout::colourFromRandoms(0.0, 0.0, r), QColor(0, 0, channel));
}

void tst_FrmAbout::animationWaitsForTheIconOnOk()
{
    frmAbout about;
    const QRect before = about.Imgcurrentsei->geometry();
    for (int i = 0; i < 3; ++i)
        about.animate();
    QCOMPARE(about.Imgcurrentsei->geometry(), before);
    QVERIFY(about.Imgcurrentsei->pixmap().isNull());
    QVERIFY(!about.Picture1->isHidden());
}

void tst_FrmAbout::droppingTheIconOnOkStartsTheAnimation()
{
    frmAbout about;
    about.show();
    QVERIFY(dropOnto(about.cmdOK, AboutIconMimeType));
    QVERIFY(about.Picture1->isHidden());
    QVERIFY(about.animation().isRunning());
    about.animate();
    // Width and height 1 twip round to nothing on screen at first.
    QCOMPARE(about.Imgcurrentsei->geometry(),
             QRect(frmBrowser::px(240), frmBrowser::px(120), 0, 0));
    QCOMPARE(about.Imgcurrentsei->pixmap().toImage(), about.imgsei[0].toImage());
    for (int i = 0; i < 9; ++i)
        about.animate();
    // The tenth tick shows 91 twips at 330, 210 with frame 1.
    QCOMPARE(about.Imgcurrentsei->geometry(),
             QRect(frmBrowser::px(330), frmBrowser::px(210), frmBrowser::px(91),
                   frmBrowser::px(91)));
    QCOMPARE(about.Imgcurrentsei->pixmap().toImage(), about.imgsei[1].toImage());
    // A second drop changes nothing.
    QVERIFY(dropOnto(about.cmdOK, AboutIconMimeType));
    QCOMPARE(about.animation().top(), 220);
}

void tst_FrmAbout::otherDropsAreRefused()
{
    frmAbout about;
    QVERIFY(!dropOnto(about.cmdOK, "text/plain"));
    QVERIFY(!about.animation().isRunning());
    QVERIFY(!about.Picture1->isHidden());
}

void tst_FrmAbout::linksNavigateTheMainWindow_data()
{
    QTest::addColumn<QString>("link");
    QTest::newRow("visit button") << "Command1";
    QTest::newRow("logo") << "Image1";
    QTest::newRow("maker's name") << "Lblme";
}

void tst_FrmAbout::linksNavigateTheMainWindow()
{
    QFETCH(QString, link);
    TestBrowser t;
    t.window->load();
    frmAbout *about = openAbout(*t.window);
    QVERIFY(about);
    QWidget *control = about->findChild<QWidget *>(link);
    QVERIFY(control);
    QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
    QCOMPARE(t.view->navigations, QStringList{maker::OwnAddress});
    QVERIFY(about->isVisible());
}

void tst_FrmAbout::secondAboutCommandBringsTheSameDialogForward()
{
    TestBrowser t;
    t.window->load();
    frmAbout *about = openAbout(*t.window);
    QVERIFY(about && about->isVisible());
    QVERIFY(!about->parentWidget());
    about->startAnimation();
    for (int i = 0; i < 5; ++i)
        about->animate();
    const int top = about->animation().top();

    QCOMPARE(openAbout(*t.window), about);
    QCOMPARE(about->soundRequests(), 1);
    QCOMPARE(about->animation().top(), top);
    QVERIFY(about->animation().isRunning());
    QVERIFY(about->Picture1->isHidden());
    int dialogs = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        dialogs += qobject_cast<frmAbout *>(widget) ? 1 : 0;
    QCOMPARE(dialogs, 1);
}

void tst_FrmAbout::okAndEscapeCloseAndTheNextAboutStartsAfresh_data()
{
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("OK button") << false;
    QTest::newRow("Esc key") << true;
}

void tst_FrmAbout::okAndEscapeCloseAndTheNextAboutStartsAfresh()
{
    QFETCH(bool, byEscape);
    TestBrowser t;
    t.window->load();
    QPointer<frmAbout> about = openAbout(*t.window);
    about->startAnimation();
    about->animate();
    if (byEscape)
        QTest::keyClick(about, Qt::Key_Escape);
    else
        QTest::mouseClick(about->cmdOK, Qt::LeftButton);
    QTRY_VERIFY(about.isNull());

    frmAbout *fresh = openAbout(*t.window);
    QVERIFY(fresh);
    QVERIFY(!fresh->animation().isRunning());
    QCOMPARE(fresh->animation().top(), 120);
    QVERIFY(!fresh->Picture1->isHidden());
    QCOMPARE(fresh->soundRequests(), 1);
}

SKIMLARK_TEST_MAIN(tst_FrmAbout)
#include "tst_frmabout.moc"
