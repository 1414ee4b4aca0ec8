#include "about/aboutwidgets.h"
#include "about/frmabout.h"
#include "browser/makeraddresses.h"
#include "commands/toolscommands.h"
#include "support/testenv.h"
#include "support/testmain.h"

#include <QAction>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>
#include <cmath>

namespace {
// Drags `format` over the target and drops it there; true when the drop was taken.
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
    void nameColourRoundsHalvesToEven();
    void animationWaitsForTheIconDroppedOnOk();
    void linksNavigateTheMainWindow();
    void secondAboutCommandBringsTheSameDialogForward();
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
    QCOMPARE(about.Command1->text(), "Visit " + maker::Host);
    QCOMPARE(about.cmdOK->text(), QString("&OK"));
    QVERIFY(about.cmdOK->isDefault());
    QCOMPARE(about.Image1->toolTip(), QString("Velmora"));
    QCOMPARE(about.Timer1->interval(), 500);
    QCOMPARE(about.Timer2->interval(), 50);
    QVERIFY(about.Timer1->isActive() && about.Timer2->isActive());
    QCOMPARE(about.soundRequests(), 1);
    QVERIFY(QFile::exists(":/sounds/plink.wav"));
    const QPoint offCentre = about.geometry().center() - QGuiApplication::primaryScreen()->geometry().center();
    QVERIFY(qAbs(offCentre.x()) <= 1 && qAbs(offCentre.y()) <= 1);
    for (QWidget *control : std::initializer_list<QWidget *>{about.Picture1, about.Lblme, about.Image1,
                                                             about.Command1, about.cmdOK, about.Imgcurrentsei})
        QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
}

void tst_FrmAbout::nameColourRoundsHalvesToEven()
{
    // Products 2.5 and 3.5 of the random number and 255, found exactly.
    for (const auto &[product, channel] : {std::pair{2.5, 2}, std::pair{3.5, 4}}) {
        double r = product / 255.0;
        for (int i = 0; i < 8 && r * 255.0 != product; ++i)
            r = std::nextafter(r, r * 255.0 < product ? 1.0 : 0.0);
        QVERIFY(r * 255.0 == product && r < 1.0);
        QCOMPARE(frmAbout::colourFromRandoms(r, 0.0, 0.0), QColor(channel, 0, 0));
        QCOMPARE(frmAbout::colourFromRandoms(0.0, r, 0.0), QColor(0, channel, 0));
        QCOMPARE(frmAbout::colourFromRandoms(0.0, 0.0, r), QColor(0, 0, channel));
    }
}

void tst_FrmAbout::animationWaitsForTheIconDroppedOnOk()
{
    frmAbout about;
    about.show();
    const QRect before = about.Imgcurrentsei->geometry();
    about.animate();
    QVERIFY(!dropOnto(about.cmdOK, "text/plain"));
    about.animate();
    QCOMPARE(about.Imgcurrentsei->geometry(), before);
    QVERIFY(about.Imgcurrentsei->pixmap().isNull());
    QVERIFY(!about.Picture1->isHidden());
    QVERIFY(!about.animation().isRunning());

    QVERIFY(dropOnto(about.cmdOK, AboutIconMimeType));
    QVERIFY(about.Picture1->isHidden());
    about.animate();
    // Width and height 1 twip round to nothing on screen at first.
    QCOMPARE(about.Imgcurrentsei->geometry(), QRect(frmBrowser::px(240), frmBrowser::px(120), 0, 0));
    QCOMPARE(about.Imgcurrentsei->pixmap().toImage(), about.imgsei[0].toImage());
    for (int i = 0; i < 9; ++i)
        about.animate();
    // The tenth tick shows 91 twips at 330, 210 with frame 1.
    QCOMPARE(about.Imgcurrentsei->geometry(),
             QRect(frmBrowser::px(330), frmBrowser::px(210), frmBrowser::px(91), frmBrowser::px(91)));
    QCOMPARE(about.Imgcurrentsei->pixmap().toImage(), about.imgsei[1].toImage());
    // A second drop changes nothing.
    QVERIFY(dropOnto(about.cmdOK, AboutIconMimeType));
    QCOMPARE(about.animation().top(), 220);
}

void tst_FrmAbout::linksNavigateTheMainWindow()
{
    TestBrowser t;
    t.window->load();
    frmAbout *about = openAbout(*t.window);
    QVERIFY(about);
    for (QWidget *control : std::initializer_list<QWidget *>{about->Command1, about->Image1, about->Lblme}) {
        t.view->navigations.clear();
        QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
        QVERIFY2(t.view->navigations == QStringList{maker::OwnAddress}, qPrintable(control->objectName()));
        QVERIFY(about->isVisible());
    }
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

void tst_FrmAbout::okAndEscapeCloseAndTheNextAboutStartsAfresh()
{
    TestBrowser t;
    t.window->load();
    for (int round = 0; round < 3; ++round) {
        QPointer<frmAbout> about = openAbout(*t.window);
        QVERIFY(about && !about->animation().isRunning());
        QCOMPARE(about->animation().top(), 120);
        QVERIFY(!about->Picture1->isHidden());
        QCOMPARE(about->soundRequests(), 1);
        if (round == 2)
            break;
        about->startAnimation();
        about->animate();
        if (round == 0)
            QTest::mouseClick(about->cmdOK, Qt::LeftButton);
        else
            QTest::keyClick(about, Qt::Key_Escape);
        QTRY_VERIFY(about.isNull());
    }
}

SKIMLARK_TEST_MAIN(tst_FrmAbout)
#include "tst_frmabout.moc"
