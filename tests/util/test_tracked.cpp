// Running later, and C code's pointers, never reach an object that is gone.
#include "util/later.h"
#include "util/tracked.h"
#include "testutil.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

struct Owner : sigc::trackable
{
};

TEST(Tracked, EveryCopyTurnsNullWhenItsObjectGoes)
{
    for (const bool goes : {false, true}) {
        SCOPED_TRACE(goes ? "destroyed" : "alive");
        auto owner = std::make_unique<Owner>();
        Owner *const address = owner.get();
        const Tracked<Owner> kept(*owner);
        const Tracked<Owner> copy = kept;
        gpointer held = Tracked<Owner>::hold(*owner);
        if (goes)
            owner.reset();
        Owner *const expected = goes ? nullptr : address;
        EXPECT_EQ(kept.get(), expected);
        EXPECT_EQ(copy.get(), expected);
        EXPECT_EQ(Tracked<Owner>::peek(held), expected);
        EXPECT_EQ(Tracked<Owner>::take(held), expected);
    }
}

TEST(RunLater, RunsOnceTheEventHasReturnedAndNotAtAllForAnObjectGone)
{
    for (const bool goes : {false, true}) {
        SCOPED_TRACE(goes ? "destroyed" : "alive");
        auto owner = std::make_unique<Owner>();
        int ran = 0;
        runLater(*owner, [&ran] { ++ran; });
        EXPECT_EQ(ran, 0);
        if (goes)
            owner.reset();
        testutil::spin();
        EXPECT_EQ(ran, goes ? 0 : 1);
    }
}

} // namespace
