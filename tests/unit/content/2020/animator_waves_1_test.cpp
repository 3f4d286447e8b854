#include "visualization/content/2020/animator_waves_1.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/sound_frames.h"

namespace {

using content2020::AnimatorWaves_1;
using testsupport::kRest;
using testsupport::SoundHistories;

// Each history a different ramp over its 240 frames, so the index a point reads shows in its
// level.
SoundHistories ramps() {
    SoundHistories sound;
    for (size_t i = 0; i < 240; ++i) {
        sound.min[i] = 0.2f + 0.002f * i;
        sound.mid[i] = 0.9f - 0.003f * i;
        sound.max[i] = 0.5f + 0.002f * i;
    }
    return sound;
}

}  // namespace

TEST(AnimatorWaves_1, HoneycombRowsAndColourGroups) {
    AnimatorWaves_1 a(1920, 1080);
    const auto& entities = a.getEntities();
    // 37 rows over 1920 plus 8 on each side; even rows 33 points, odd rows 32.
    ASSERT_EQ(entities.size(), 27u * 33u + 26u * 32u);
    const float stepY = 1.5f * 1920.0f / std::sqrt(3.0f) / 32.0f;
    EXPECT_FLOAT_EQ(entities[0].restX, -960.0f);
    EXPECT_NEAR(entities[0].restY, -960.0f - 8.0f * stepY, 1e-3f);
    EXPECT_EQ(entities[0].group, 1u);  // row -8
    EXPECT_NEAR(entities[33].restX, -960.0f + 30.0f, 1e-3f);
    EXPECT_NEAR(entities[33].restY - entities[0].restY, stepY, 1e-3f);
    EXPECT_EQ(entities[33].group, 2u);
    EXPECT_NEAR(entities[33 + 31].restX, 960.0f - 30.0f, 1e-3f);
    EXPECT_EQ(entities.back().group, 2u);  // row 44
    EXPECT_FLOAT_EQ(entities.back().restX, 960.0f);
    EXPECT_EQ(a.getNumPalettes(), 10u);
}

TEST(AnimatorWaves_1, PushesSidewaysByTheHistoryReadFurtherOutwards) {
    AnimatorWaves_1 a(1920, 1080);
    SoundHistories sound = ramps();
    // Soft heading for Loud: floats blend, the two whole numbers come from Loud.
    a.update(0.25f, kRest, sound.frame(SoundClass::Soft, SoundClass::Loud, 0.3f));
    const auto& p = a.getParameters();
    EXPECT_FLOAT_EQ(p.reach2, 0.2f * 0.7f + 0.5f * 0.3f);
    EXPECT_FLOAT_EQ(p.sizeFactor0, 0.2f * 0.7f + 1.0f * 0.3f);
    EXPECT_EQ(p.patternA, 3);
    EXPECT_EQ(p.patternB, 4);

    // dt 0.25 makes both smoothings land on their targets in one frame.
    const std::vector<float>* histories[3] = {&sound.min, &sound.mid, &sound.max};
    const float sizeFactor[3] = {p.sizeFactor0, p.sizeFactor1, p.sizeFactor2};
    size_t checked = 0;
    for (const auto& e : a.getEntities()) {
        if (std::abs(e.restX) > 900.0f || std::abs(e.restY) > 500.0f) {
            continue;
        }
        const float t = std::abs(e.restX) / 1920.0f;
        const float reach = e.group == 2 ? p.reach2 : 0.2f;
        const float v = (*histories[e.group])[static_cast<size_t>(std::floor(240 * t * reach))];
        EXPECT_NEAR(e.level, std::pow(v, 1.15f), 1e-5f);
        const float angle = std::atan2(e.restY, e.restX);
        EXPECT_NEAR(e.x, e.restX + std::cos(angle) * e.level * 560.0f * t, 1e-3f);
        // First frame: no time has passed and the median peak has not been taken up yet.
        EXPECT_NEAR(e.y, e.restY + 64.0f * std::cos(e.restX * 0.0024f), 1e-3f);
        const float factor = e.group == 2 && e.random >= 0.5f ? 1.0f : sizeFactor[e.group];
        EXPECT_NEAR(e.size, 15.0f * v * factor, 1e-4f);
        ++checked;
    }
    EXPECT_GT(checked, 400u);
    EXPECT_FLOAT_EQ(a.getSmoothedPeak(), 0.9f);
    EXPECT_GE(a.getRenderState().instances.size(), checked);

    // Silence: every size is zero, nothing is drawn, and the field settles back.
    sound.fill(0.0f);
    for (int i = 0; i < 4; ++i) {
        a.update(0.25f, kRest, sound.frame(SoundClass::Loud));
    }
    EXPECT_TRUE(a.getRenderState().instances.empty());
    EXPECT_FLOAT_EQ(a.getSmoothedPeak(), 0.0f);
    for (const auto& e : a.getEntities()) {
        if (std::abs(e.restX) < 900.0f && std::abs(e.restY) < 500.0f) {
            EXPECT_FLOAT_EQ(e.x, e.restX);
            EXPECT_EQ(e.level, 0.0f);
        }
    }
}
