#include "visualization/content/2020/animator_waves_2.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/sound_frames.h"

namespace {

using content2020::AnimatorWaves_2;
using testsupport::kRest;
using testsupport::SoundHistories;

}  // namespace

TEST(AnimatorWaves_2, GridSwingsTurnsAndSizesRowsByKind) {
    AnimatorWaves_2 a(1920, 1080);
    const auto& entities = a.getEntities();
    // 56 + 2 x 4 columns by 25 + 2 x 14 rows.
    ASSERT_EQ(entities.size(), 64u * 53u);
    EXPECT_EQ(entities.front().row, -14);
    EXPECT_FLOAT_EQ(entities.front().restX, (-4.0f / 55.0f - 0.5f) * 1920.0f);
    EXPECT_FLOAT_EQ(entities.front().restY, (-14.0f / 24.0f - 0.5f) * 1080.0f);
    EXPECT_EQ(entities.back().row, 38);
    EXPECT_FLOAT_EQ(entities.back().u, 59.0f / 55.0f);
    for (size_t i = 1; i < entities.size(); ++i) {
        if (entities[i].row == entities[i - 1].row) {
            EXPECT_EQ(entities[i].group, entities[i - 1].group);
        }
        EXPECT_LE(entities[i].group, 2u);
    }
    EXPECT_EQ(a.getNumPalettes(), 10u);

    SoundHistories sound;
    a.update(0.1f, kRest, sound.frame(SoundClass::Loud));
    EXPECT_TRUE(a.getRenderState().instances.empty());

    sound.fill(1.0f);
    AnimatorWaves_2 b(1920, 1080);
    b.update(0.1f, kRest, sound.frame(SoundClass::Loud));
    const float turn = 0.085f * 3.1415927f;
    size_t checked = 0;
    for (const auto& e : b.getEntities()) {
        if (e.row < 0 || e.row > 24 || e.u < 0.0f || e.u > 1.0f) {
            continue;
        }
        const bool odd = (e.row & 1) != 0;
        // Landscape turns the swung grid by 0.085 half turns.
        const float c = std::cos(2.0f * 3.1415927f * e.u + 3.1415927f * e.v);
        const float y = e.restY + (odd ? 100.0f : 200.0f) * c;
        EXPECT_NEAR(e.x, e.restX * std::cos(turn) - y * std::sin(turn), 1e-2f);
        EXPECT_NEAR(e.y, e.restX * std::sin(turn) + y * std::cos(turn), 1e-2f);
        if (std::abs(e.x) < 700.0f && std::abs(e.y) < 400.0f) {
            // Odd rows 5 x 0.75; even rows 10 x 2 x 0.75, every eighth one 1.4 times that.
            const float expected = odd ? 3.75f : e.row % 8 == 0 ? 21.0f : 15.0f;
            EXPECT_NEAR(e.size, expected, 1e-4f) << e.row;
            ++checked;
        }
    }
    EXPECT_GT(checked, 100u);
    EXPECT_GT(b.getRenderState().instances.size(), checked);
}
