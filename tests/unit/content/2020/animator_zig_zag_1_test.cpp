#include "visualization/content/2020/animator_zig_zag_1.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/sound_frames.h"

namespace {

using content2020::AnimatorZigZag_1;
using testsupport::kRest;
using testsupport::SoundHistories;

}  // namespace

TEST(AnimatorZigZag_1, HoneycombCutToAFlatRibbon) {
    AnimatorZigZag_1 a(1920, 1080);
    const auto& e = a.getEntities();
    EXPECT_EQ(a.getNumPalettes(), 10u);
    // 40 columns over the 2715-pixel diagonal square: neighbours 69.6 apart in every direction.
    const float step = std::sqrt(2.0f) * 1920.0f / 39.0f;
    ASSERT_GT(e.size(), 400u);
    EXPECT_LT(e.size(), 700u);
    size_t neighbours = 0;
    for (size_t i = 0; i < e.size(); ++i) {
        // Everything kept lies inside the weighted ellipse; its height is far below its width.
        EXPECT_LE(e[i].restX * e[i].restX * 0.06f + e[i].restY * e[i].restY * 1.56f,
                  480.0f * 480.0f * 1.0001f);
        EXPECT_LT(std::abs(e[i].restY), 400.0f);
        if (i > 0 && e[i].row == e[i - 1].row) {
            EXPECT_NEAR(e[i].restX - e[i - 1].restX, step, 1e-2f);
            ++neighbours;
        }
    }
    EXPECT_GT(neighbours, 300u);
    float left = 0.0f;
    float right = 0.0f;
    for (const auto& p : e) {
        left = std::min(left, p.restX);
        right = std::max(right, p.restX);
    }
    // The ribbon runs past both screen edges.
    EXPECT_LT(left, -1000.0f);
    EXPECT_GT(right, 1000.0f);
}

TEST(AnimatorZigZag_1, PeakLiftsTheZigzagAndTheHistorySizesTheDots) {
    SoundHistories sound;
    auto& max = sound.max;
    AnimatorZigZag_1 a(1920, 1080);
    a.update(0.1f, kRest, sound.frame(SoundClass::Loud));
    EXPECT_TRUE(a.getRenderState().instances.empty());
    EXPECT_NEAR(a.getPhase(), 0.3f, 1e-6f);

    AnimatorZigZag_1 b(1920, 1080);
    max.assign(240, 0.5f);
    // dt = 0.1 makes the size smoothing jump to its target (factor min(16 dt, 1) = 1).
    b.update(0.1f, kRest, sound.frame(SoundClass::Soft));
    const float v = std::pow(0.5f, 1.15f);
    size_t centre = 0;
    for (const auto& p : b.getEntities()) {
        if (std::abs(p.restX) > 1000.0f) {
            continue;  // beyond the pre-test margin
        }
        // Soft music leaves the odd rows out and shrinks the even ones to 0.75.
        EXPECT_NEAR(p.size, (p.row & 1) != 0 ? 0.0f : v * 22.0f * 0.75f, 1e-4f);
        if (std::abs(p.restX) < 1e-3f) {
            // At x = 0 the zigzag is at its top; soft music does not lift it with the peak.
            EXPECT_NEAR(p.y, p.restY + 100.0f, 1e-3f);
            ++centre;
        }
    }
    EXPECT_GT(centre, 0u);

    AnimatorZigZag_1 c(1920, 1080);
    // The phase advances after the frame, so the second frame shows phase 1.
    c.update(0.1f, kRest, sound.frame(SoundClass::Dynamic));
    c.update(0.1f, kRest, sound.frame(SoundClass::Dynamic));
    EXPECT_NEAR(c.getPhase(), 2.0f, 1e-6f);
    for (const auto& p : c.getEntities()) {
        if (std::abs(p.restX) < 1e-3f) {
            // Phase 1 moves the triangle wave: s = 0.1 / pi, lifted by 1 + 0.5 x 0.1.
            const float z = 1.0f - 2.0f * (0.1f / 3.1415927f);
            EXPECT_NEAR(p.y, p.restY + 100.0f * z * 1.05f, 1e-3f);
        }
        // Odd rows are back at full size.
        if (std::abs(p.restX) < 900.0f) {
            EXPECT_NEAR(p.size, v * 22.0f * 1.125f, 1e-4f);
        }
    }
}
