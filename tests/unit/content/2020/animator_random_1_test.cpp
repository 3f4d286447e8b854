#include "visualization/content/2020/animator_random_1.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/sound_frames.h"

namespace {

using content2020::AnimatorRandom_1;
using testsupport::kRest;
using testsupport::SoundHistories;

}  // namespace

TEST(AnimatorRandom_1, BeatsSpawnDisjointDiscsThatGrowPushAndDie) {
    AnimatorRandom_1 a(1920, 1080);
    EXPECT_EQ(a.getNumPalettes(), 10u);
    SoundHistories sound;
    a.update(0.01f, kRest, sound.frame(SoundClass::Moderate));
    a.update(0.01f, kRest, sound.frame(SoundClass::Moderate));
    EXPECT_TRUE(a.getParticles().empty());
    EXPECT_EQ(a.getFrameCounter(), 2u);

    // Only the maximum history crosses its trigger: one strong burst, born in frame 2.
    sound.max.assign(240, 1.0f);
    a.update(0.01f, kRest, sound.frame(SoundClass::Moderate));
    const auto& particles = a.getParticles();
    ASSERT_GT(particles.size(), 5u);
    EXPECT_LE(particles.size(), 140u);
    for (size_t i = 0; i < particles.size(); ++i) {
        const auto& e = particles[i];
        EXPECT_EQ(e.group, 2u);
        EXPECT_LE(std::abs(e.originX), 960.0f);
        EXPECT_LE(std::abs(e.originY), 960.0f);
        ASSERT_GE(e.radius, 15.0f);
        ASSERT_LE(e.radius, 100.0f);
        EXPECT_NEAR(e.life, e.lifetime - 0.02f, 1e-5f);
        for (size_t j = 0; j < i; ++j) {
            const auto& o = particles[j];
            EXPECT_GT(std::hypot(e.originX - o.originX, e.originY - o.originY),
                      e.radius + o.radius);
        }
    }
    EXPECT_FALSE(a.getRenderState().instances.empty());

    // The trigger stays active while the level holds: no second burst.
    const size_t count = particles.size();
    a.update(0.01f, kRest, sound.frame(SoundClass::Moderate));
    EXPECT_EQ(particles.size(), count);
    // Life runs at two units per second: after 5.25 s every disc is gone.
    for (int i = 0; i < 53; ++i) {
        a.update(0.1f, kRest, sound.frame(SoundClass::Moderate));
    }
    EXPECT_TRUE(particles.empty());
    EXPECT_TRUE(a.getRenderState().instances.empty());
}

TEST(AnimatorRandom_1, APausedFieldSpawnsNothingButCountsFrames) {
    SoundHistories sound;
    sound.fill(1.0f);
    // Paused: no burst, nothing ages, the frame counter still runs.
    AnimatorRandom_1 b(1920, 1080);
    b.setPaused(true);
    b.update(0.01f, kRest, sound.frame(SoundClass::Loud));
    EXPECT_TRUE(b.getParticles().empty());
    EXPECT_EQ(b.getFrameCounter(), 1u);
}
