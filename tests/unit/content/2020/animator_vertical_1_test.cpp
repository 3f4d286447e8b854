#include "visualization/content/2020/animator_vertical_1.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/sound_frames.h"

namespace {

using content2020::AnimatorVertical_1;
using testsupport::kRest;
using testsupport::SoundHistories;

bool onScreen(const AnimatorVertical_1::Entity& e) {
    return std::abs(e.x) < 900.0f && std::abs(e.y) < 480.0f;
}

}  // namespace

TEST(AnimatorVertical_1, HoneycombOverTheDiagonalSquareInTenStripes) {
    AnimatorVertical_1 a(1920, 1080);
    const auto& entities = a.getEntities();
    // 57 rows over a side of sqrt(2) x 1920: 29 rows of 50 points, 28 of 49.
    ASSERT_EQ(entities.size(), 29u * 50u + 28u * 49u);
    const float half = std::sqrt(2.0f) * 960.0f;
    EXPECT_NEAR(entities[0].restX, -half, 1e-3f);
    EXPECT_NEAR(entities[0].restY, -half, 1e-3f);
    EXPECT_NEAR(entities[49].restX, half, 1e-2f);
    EXPECT_NEAR(entities[50].restY - entities[0].restY, a.getRowStep(), 1e-4f);
    EXPECT_NEAR(a.getPeriod(), 57.0f * a.getRowStep(), 1e-3f);
    // Five columns to a stripe; the shifted rows' fifth point still belongs to the first.
    EXPECT_EQ(entities[4].stripe, 0u);
    EXPECT_EQ(entities[5].stripe, 1u);
    EXPECT_EQ(entities[50 + 4].stripe, 0u);
    EXPECT_EQ(entities[50 + 5].stripe, 1u);
    EXPECT_EQ(entities[49].stripe, 9u);
    EXPECT_EQ(entities[49].group, 0u);
    EXPECT_EQ(entities[25].group, 2u);
    EXPECT_EQ(a.getNumPalettes(), 10u);
}

TEST(AnimatorVertical_1, StripesSlideApartAndRingsPushOutwards) {
    AnimatorVertical_1 a(1920, 1080);
    SoundHistories sound;
    // Silence: nothing drawn, each stripe slides by 2.5 rows a second (Loud), neighbours in
    // opposite directions, wrapping after the period.
    for (int i = 0; i < 3; ++i) {
        a.update(0.125f, kRest, sound.frame(SoundClass::Loud));
    }
    EXPECT_TRUE(a.getRenderState().instances.empty());
    const float step = 0.125f * 2.5f * a.getRowStep();
    EXPECT_NEAR(a.getScroll(), 3 * step, 1e-3f);
    // The frame draws with the slide reached before its own step.
    const float scroll = 2 * step;
    size_t checked = 0;
    for (const auto& e : a.getEntities()) {
        if (onScreen(e)) {
            EXPECT_EQ(e.x, e.restX);
            EXPECT_NEAR(e.y, e.restY + ((e.stripe & 1) != 0 ? scroll : -scroll), 1e-3f);
            ++checked;
        }
    }
    EXPECT_GT(checked, 300u);
    for (int i = 0; i < 200; ++i) {
        a.update(0.125f, kRest, sound.frame(SoundClass::Loud));
        ASSERT_LT(a.getScroll(), a.getPeriod());
    }

    // Each history a ramp falling from 1 at the newest frame: the centre reads the newest,
    // louder values; the push moves every point straight away from the centre, half as far
    // sideways as up and down.
    sound.fillFalling();
    AnimatorVertical_1 b(1920, 1080);
    b.update(0.125f, kRest, sound.frame(SoundClass::Loud));
    const float halfDiagonal = 0.5f * std::hypot(1920.0f, 1080.0f);
    checked = 0;
    for (const auto& e : b.getEntities()) {
        const float d = std::hypot(e.restX, e.restY);
        if (!onScreen(e) || d < 1.0f) {
            continue;
        }
        const float t = d / halfDiagonal;
        // One frame of slack for rounding at the index boundaries.
        EXPECT_NEAR(e.level, 1.0f - std::floor(t * t * 239.0f) / 240.0f, 1.01f / 240.0f);
        const float push = e.level * 400.0f * 0.65f * t;
        EXPECT_NEAR(e.x, e.restX + e.restX / d * push * 0.5f, 1e-3f);
        EXPECT_NEAR(e.y, e.restY + e.restY / d * push, 1e-3f);
        // Near the centre the newest peak adds to the size; at the corners only the level counts.
        const float centre = (1.0f - t) * (1.0f - t);
        EXPECT_NEAR(e.size, 12.0f * (std::pow(e.level, 0.9f) + 0.5f * centre), 1e-4f);
        ++checked;
    }
    EXPECT_GT(checked, 300u);
}
