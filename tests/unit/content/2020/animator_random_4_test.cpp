#include "visualization/content/2020/animator_random_4.h"

#include <gtest/gtest.h>

#include "support/sound_frames.h"

using content2020::AnimatorRandom_4;
using testsupport::kRest;
using testsupport::SoundHistories;

TEST(AnimatorRandom_4, BeatsBlowBatchesOfBubblesIntoAHundredSlotsAndTheBubblesDie) {
    AnimatorRandom_4 a(1920, 1080);
    SoundHistories sound;
    a.update(0.2f, kRest, sound.frame());
    EXPECT_TRUE(a.getRenderState().instances.empty());

    // Only the peak trigger fires: one batch of eight. A held level does not fire again, and
    // after the longest life every bubble is gone.
    sound.max.assign(240, 1.0f);
    a.update(0.2f, kRest, sound.frame());
    EXPECT_GT(a.getRenderState().instances.size(), 0u);
    for (int i = 0; i < 25; ++i) {
        EXPECT_LE(a.getRenderState().instances.size(), 8u);
        a.update(0.2f, kRest, sound.frame());
    }
    EXPECT_TRUE(a.getRenderState().instances.empty());

    // Dynamic music blows 16 per trigger, three triggers per beat: the 100 slots fill up and
    // later beats find no free slot.
    for (int beat = 0; beat < 6; ++beat) {
        sound.fill(1.0f);
        a.update(0.01f, kRest, sound.frame(SoundClass::Dynamic));
        sound.fill(0.0f);
        a.update(0.01f, kRest, sound.frame(SoundClass::Dynamic));
        EXPECT_LE(a.getRenderState().instances.size(), 100u);
    }
    EXPECT_GT(a.getRenderState().instances.size(), 50u);
}
