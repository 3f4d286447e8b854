#include "visualization/content/2020/animator_random_2.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "support/sound_frames.h"

namespace {

using content2020::AnimatorRandom_2;
using testsupport::kRest;
using testsupport::SoundHistories;

}  // namespace

TEST(AnimatorRandom_2, TriggersFlashTheirLayerAndPeaksKickEverySparkByLayerSpeed) {
    AnimatorRandom_2 a(1920, 1080);
    SoundHistories sound;
    for (int i = 0; i < 60; ++i) {
        a.update(0.05f, kRest, sound.frame(SoundClass::Moderate));
    }
    for (const auto& e : a.getEntities()) {
        ASSERT_EQ(e.vx, 0.0f);
    }

    // The quiet level alone flashes the small sparks; no kick.
    sound.min.assign(240, 1.0f);
    a.update(0.05f, kRest, sound.frame(SoundClass::Moderate));
    EXPECT_FLOAT_EQ(a.getFlashes()[0], 0.9f);
    EXPECT_EQ(a.getFlashes()[2], 0.0f);
    EXPECT_EQ(a.getEntities().front().vx, 0.0f);

    // A peak kicks: each component within the layer's speed (4, 2, 1) times 60 px/s, then one
    // frame of drag (2 per second).
    sound.max.assign(240, 1.0f);
    a.update(0.05f, kRest, sound.frame(SoundClass::Moderate));
    EXPECT_FLOAT_EQ(a.getFlashes()[2], 0.9f);
    const float speeds[3] = {4.0f, 2.0f, 1.0f};
    std::array<float, 3> fastest{{0.0f, 0.0f, 0.0f}};
    for (const auto& e : a.getEntities()) {
        const float limit = speeds[e.group] * 60.0f * 0.9f;
        EXPECT_LE(std::abs(e.vx), limit + 1e-3f);
        EXPECT_LE(std::abs(e.vy), limit + 1e-3f);
        fastest[e.group] = std::max({fastest[e.group], std::abs(e.vx), std::abs(e.vy)});
        // Full level of the peak history for the large sparks, drawn with their flash.
        if (e.group == 2 && e.growth == 1.0f) {
            EXPECT_NEAR(e.size, 100.0f * 0.2f * 0.4f * 1.75f, 1e-3f);
        }
    }
    for (size_t g = 0; g < 3; ++g) {
        EXPECT_GT(fastest[g], speeds[g] * 60.0f * 0.5f) << g;
    }
    // Moving sparks draw streaks behind them.
    EXPECT_GT(a.getRenderState().instances.size(), 40u * 2);
}
