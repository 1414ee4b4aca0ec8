#include "about/aboutanimation.h"
#include "support/testmain.h"

#include <QtTest>

using Placement = AboutAnimation::Placement;

namespace {
// Far below anything reached in the ticks these tests run: no bounce.
constexpr int TallDialog = 100000;
}

class tst_AboutAnimation : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void firstTickShowsTheLoadPlace();
    void sizesGrowTo801AndShrinkToOneWhileFramesCycle();
    void bouncesOffTheBottomAndTheTop();
};

void tst_AboutAnimation::firstTickShowsTheLoadPlace()
{
    AboutAnimation animation;
    QVERIFY(!animation.tick(200).has_value());
    animation.start();
    QCOMPARE(animation.tick(TallDialog), (Placement{0, 240.0f, 120, 1, 1}));
    // The state has moved on by one step.
    QCOMPARE(animation.frame(), 1);
    QCOMPARE(animation.left(), 250.0f);
    QCOMPARE(animation.top(), 130);
    QCOMPARE(animation.width(), 11);
    QCOMPARE(animation.height(), 11);
    QCOMPARE(animation.tick(TallDialog), (Placement{1, 250.0f, 130, 11, 11}));
}

void tst_AboutAnimation::sizesGrowTo801AndShrinkToOneWhileFramesCycle()
{
    AboutAnimation animation;
    animation.start();
    QList<int> shown;
    for (int i = 0; i < 163; ++i) {
        const std::optional<Placement> p = animation.tick(TallDialog);
        QVERIFY(p);
        QCOMPARE(p->height, p->width);
        QCOMPARE(p->frame, i % 8);
        shown << p->width;
    }
    QList<int> expected;
    for (int size = 1; size <= 801; size += 10)
        expected << size;
    for (int size = 791; size >= 1; size -= 10)
        expected << size;
    expected << 11 << 21;
    QCOMPARE(shown, expected);
}

void tst_AboutAnimation::bouncesOffTheBottomAndTheTop()
{
    AboutAnimation animation;
    animation.start();
    QList<int> tops;
    for (int i = 0; i < 80; ++i) {
        const Placement p = *animation.tick(200);
        // Left and top move together: the picture runs diagonally.
        QCOMPARE(p.left, float(p.top + 120));
        tops << p.top;
    }
    // The direction turns on the top just shown, after this tick's step:
    // down to 220, back up to -10, and again.
    QList<int> expected;
    for (int top = 120; top <= 220; top += 10)
        expected << top;
    for (int round = 0; round < 2; ++round) {
        for (int top = 210; top >= -10; top -= 10)
            expected << top;
        for (int top = 0; top <= 220 && expected.size() < 80; top += 10)
            expected << top;
    }
    QCOMPARE(tops, expected);
}

SKIMLARK_TEST_MAIN(tst_AboutAnimation)
#include "tst_aboutanimation.moc"
