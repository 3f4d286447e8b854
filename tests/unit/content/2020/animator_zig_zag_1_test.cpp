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
