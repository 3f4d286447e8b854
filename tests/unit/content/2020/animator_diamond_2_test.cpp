#include "visualization/content/2020/animator_diamond_2.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/sound_frames.h"

namespace {

using content2020::AnimatorDiamond_2;
using testsupport::kRest;
using testsupport::SoundHistories;

}  // namespace

TEST(AnimatorDiamond_2, BeatsReverseTheRingsAndLightTwoFamiliesOfSquares) {
    SoundHistories sound;
    auto& max = sound.max;
    AnimatorDiamond_2 a(1920, 1080);
    a.update(1.0f, kRest, sound.frame(SoundClass::Loud));
    EXPECT_TRUE(a.getRenderState().instances.empty());
    // In silence the chase heads still creep around.
    EXPECT_NEAR(a.getChase(), 0.05f, 1e-6f);

    // Newest level 1, oldest 0: where a square reads the history shows in its level.
    for (size_t i = 0; i < max.size(); ++i) {
        max[i] = 1.0f - static_cast<float>(i) / 239.0f;
    }
    const auto& e = a.getEntities();
    const auto& inner = e[0];
    const auto& outer = e[8 * (1 + 5 + 9 + 13)];  // square 4, radius 408 / 1010
    ASSERT_EQ(outer.square, 4u);
    // The first beat flips the rings to run inwards: the centre reads far back (Loud reach 0.6).
    a.update(1.0f, kRest, sound.frame(SoundClass::Loud));
    EXPECT_EQ(a.getParity(), 1u);
    const auto expected = [&max](float w) { return max[static_cast<size_t>(w * 0.6f * 239.0f)]; };
    EXPECT_FLOAT_EQ(inner.level, expected(1.0f - inner.radius));
    EXPECT_FLOAT_EQ(outer.level, expected(1.0f - outer.radius));
    EXPECT_LT(inner.level, outer.level);
    for (int pattern : {a.getPatternA(), a.getPatternB()}) {
        EXPECT_GE(pattern, 1);
        EXPECT_LE(pattern, 6);
    }
    // The chosen families flare with the peak; every other square stays unlit.
    for (const auto& p : e) {
        if (std::abs(p.restX) < 900.0f && std::abs(p.restY) < 500.0f) {
            EXPECT_FLOAT_EQ(p.glow, a.isChosen(p.square) ? 1.0f : 0.0f) << p.square;
        }
    }
    EXPECT_TRUE(a.isChosen(static_cast<uint32_t>(a.getPatternA() - 1 + 6)));

    // After the level falls back to 0.35 the next beat turns the rings outwards again.
    max[0] = 0.3f;
    a.update(1.0f, kRest, sound.frame(SoundClass::Loud));
    EXPECT_EQ(a.getParity(), 1u);
    max[0] = 1.0f;
    a.update(1.0f, kRest, sound.frame(SoundClass::Loud));
    EXPECT_EQ(a.getParity(), 0u);
    EXPECT_FLOAT_EQ(inner.level, expected(inner.radius));
    EXPECT_GT(inner.level, outer.level);
    EXPECT_GT(a.getRenderState().instances.size(), 500u);
}
