#include "visualization/content/2020/animator_random_1.h"

#include <gtest/gtest.h>

#include "support/sound_frames.h"

using content2020::AnimatorRandom_1;
using testsupport::kRest;
using testsupport::SoundHistories;

TEST(AnimatorRandom_1, ABeatSpawnsOneBurstOfDiscsThatDieUnlessPaused) {
    AnimatorRandom_1 a(1920, 1080);
    SoundHistories sound;
    a.update(0.01f, kRest, sound.frame());
    EXPECT_TRUE(a.getRenderState().instances.empty());

    // Only the maximum history crosses its trigger: one strong burst.
    sound.max.assign(240, 1.0f);
    a.update(0.01f, kRest, sound.frame());
    const size_t burst = a.getRenderState().instances.size();
    EXPECT_GT(burst, 5u);
    // The trigger stays active while the level holds: no second burst.
    a.update(0.01f, kRest, sound.frame());
    EXPECT_LE(a.getRenderState().instances.size(), burst);
    // Life runs at two units per second: after 5.25 s every disc is gone.
    for (int i = 0; i < 53; ++i) {
        a.update(0.1f, kRest, sound.frame());
    }
    EXPECT_TRUE(a.getRenderState().instances.empty());

    AnimatorRandom_1 paused(1920, 1080);
    paused.setPaused(true);
    sound.fill(1.0f);
    paused.update(0.01f, kRest, sound.frame(SoundClass::Loud));
    EXPECT_TRUE(paused.getRenderState().instances.empty());
}
