#include "visualization/content/2020/animator_circular_1.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "visualization/util/color.h"

#include "support/sound_frames.h"

namespace {

using content2020::AnimatorCircular_1;
using testsupport::kRest;
using testsupport::SoundHistories;

}  // namespace

TEST(AnimatorCircular_1, LaysOutSixtyRingsOfFortyEightPoints) {
    AnimatorCircular_1 a(1920, 1080);
    const auto& rings = a.getRingEntities();
    ASSERT_EQ(rings.size(), 2880u);
    EXPECT_EQ(a.getBandEntities().size(), 2880u);
    EXPECT_EQ(a.getAmbientEntities().size(), 2880u);
    // Point 0 of ring 0 sits straight below the centre (y grows downwards), a quarter turn on
    // it lies to the right.
    EXPECT_FLOAT_EQ(rings[0].y, 100.0f);
    EXPECT_NEAR(rings[12].x, 100.0f, 1e-4f);
    EXPECT_EQ(rings[12].index, 12u);
    const auto& last = rings.back();
    EXPECT_EQ(last.ring, 59u);
    EXPECT_EQ(last.index, 47u);
    const float r = 100.0f + (59.0f / 60.0f) * 1920.0f * 0.75f;
    EXPECT_NEAR(std::hypot(last.x, last.y), r, 1e-2f);
    EXPECT_EQ(last.distance, 1.0f);
    EXPECT_FLOAT_EQ(rings[0].distance, 100.0f / 960.0f);
    EXPECT_EQ(a.getNumPalettes(), 10u);
    a.setPaletteIndex(10, false);
    EXPECT_EQ(a.getPaletteIndex(), 0u);
}

TEST(AnimatorCircular_1, SilenceDrawsNothingAndFullLevelsLightEveryVisibleRing) {
    AnimatorCircular_1 a(1920, 1080);
    SoundHistories sound;
    a.update(0.016f, kRest, sound.frame(SoundClass::Dynamic));
    EXPECT_TRUE(a.getRenderState().instances.empty());

    sound.fill(1.0f);
    a.update(0.016f, kRest, sound.frame(SoundClass::Dynamic));
    // Without the radial fade every ring reads level 1 from the peak history; ring 0 is halved.
    for (const auto& e : a.getRingEntities()) {
        if (e.ring < 6) {
            EXPECT_FLOAT_EQ(e.level, e.ring == 0 ? 0.5f : 1.0f) << e.ring << " " << e.index;
        }
    }
    const auto& instances = a.getRenderState().instances;
    EXPECT_GT(instances.size(), 0u);
    EXPECT_LE(instances.size(), 2880u + 2880u + 720u);
    // Soft music shrinks every layer and turns the band layer off.
    const size_t loud = instances.size();
    AnimatorCircular_1 soft(1920, 1080);
    soft.update(0.016f, kRest, sound.frame(SoundClass::Soft));
    EXPECT_LT(soft.getRenderState().instances.size(), loud);
}

TEST(AnimatorCircular_1, RadialFadeAndBandDecay) {
    SoundHistories sound;
    sound.fill(1.0f);
    AnimatorCircular_1 a(1920, 1080);
    a.update(0.016f, kRest, sound.frame(SoundClass::Moderate));
    // With the fade a point at the screen's side (distance 1) keeps an eighth of the peak,
    // below the ring layer's threshold; without it (Dynamic) it is fully lit.
    const size_t side = 36 * 48 + 12;
    const auto& rings = a.getRingEntities();
    EXPECT_EQ(rings[side].distance, 1.0f);
    EXPECT_EQ(rings[side].level, 0.0f);
    EXPECT_NEAR(rings[12 * 48].level, 0.9975f, 1e-4f);
    AnimatorCircular_1 dynamic(1920, 1080);
    dynamic.update(0.016f, kRest, sound.frame(SoundClass::Dynamic));
    EXPECT_EQ(dynamic.getRingEntities()[side].level, 1.0f);

    float peak = 0.0f;
    for (const auto& e : a.getBandEntities()) {
        peak = std::max(peak, e.level);
    }
    EXPECT_GT(peak, 0.9f);
    sound.fill(0.0f);
    for (int i = 0; i < 10; ++i) {
        a.update(0.1f, kRest, sound.frame(SoundClass::Moderate));
    }
    for (const auto& e : a.getBandEntities()) {
        EXPECT_LT(e.level, 1e-5f);
    }
    EXPECT_TRUE(a.getRenderState().instances.empty());
}

TEST(AnimatorCircular_1, SoundClassesBlendAndAODBlacksTheBackground) {
    SoundHistories sound;
    AnimatorCircular_1 a(640, 360);
    a.update(0.016f, kRest, sound.frame(SoundClass::Soft, SoundClass::Loud, 0.5f));
    EXPECT_FLOAT_EQ(a.getParameters().scale, 0.75f);
    EXPECT_FLOAT_EQ(a.getParameters().pointMix2, 0.5f);
    // Powerful folds onto one of the five records.
    a.update(0.016f, kRest, sound.frame(SoundClass::Powerful));
    EXPECT_FLOAT_EQ(a.getParameters().scale, 1.0f);

    // The first palette's background starts at its first colour.
    a.setPaletteIndex(0, true);
    a.update(0.016f, kRest, sound.frame(SoundClass::Soft));
    EXPECT_EQ(color_to_hex(a.getBackgroundColor()), "030F26");
    a.setDisplayModeBlend(1.0f);
    a.setPaletteIndex(0, true);
    a.update(0.016f, kRest, sound.frame(SoundClass::Dynamic));
    EXPECT_EQ(color_to_hex(a.getBackgroundColor()), "000000");
}
