#include "visualization/content/2020/animator_random_5.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/sound_frames.h"

namespace {

using content2020::AnimatorRandom_5;
using content2020::PointMode;
using testsupport::kRest;
using testsupport::SoundHistories;

}  // namespace

TEST(AnimatorRandom_5, ThreeStreamsFlowThroughTheirBandsAndBreatheWithTheirHistory) {
    AnimatorRandom_5 a(1920, 1080);
    EXPECT_EQ(a.getNumPalettes(), 10u);
    const auto& entities = a.getEntities();
    // The glows behind, the middle band, the spray on top.
    ASSERT_EQ(entities.size(), 5u + 10u + 30u);
    EXPECT_EQ(entities[4].group, 0u);
    EXPECT_EQ(entities[5].group, 1u);
    EXPECT_EQ(entities[14].group, 1u);
    EXPECT_EQ(entities[15].group, 2u);
    for (const auto& e : entities) {
        const auto& emitter = a.getEmitter(e.group);
        EXPECT_GE(e.baseSize / 0.75f, emitter.sizeMin - 1e-4f);
        EXPECT_LE(e.baseSize / 0.75f, emitter.sizeMax + 1e-4f);
    }

    SoundHistories sound;
    a.update(0.25f, kRest, sound.frame());
    EXPECT_EQ(a.getRenderState().pointMode, PointMode::CIRCLE_LARGE);
    EXPECT_TRUE(a.getRenderState().instances.empty());

    // Every history full: each disc sits in its band of the landscape ellipse (960 x 540) and,
    // at the full level of a quarter-second frame, is its base size times the swell of the beat
    // and the envelope over its trip.
    sound.fill(1.0f);
    a.update(0.25f, kRest, sound.frame());
    size_t drawn = 0;
    for (const auto& e : entities) {
        const auto& emitter = a.getEmitter(e.group);
        const float reach = std::hypot(e.x / 960.0f, e.y / 540.0f);
        EXPECT_GE(reach, emitter.inner - 1e-4f);
        EXPECT_LE(reach, emitter.outer + 1e-4f);
        if (e.size > 0.0f) {
            EXPECT_NEAR(e.size, e.baseSize * 1.35f * std::sin(3.1415927f * e.phase), 1e-3f);
            ++drawn;
        }
    }
    EXPECT_GT(drawn, 20u);
    EXPECT_LE(a.getRenderState().instances.size(), drawn);
    for (uint32_t g = 0; g < 3; ++g) {
        EXPECT_FLOAT_EQ(a.getPulse(g), 0.75f);
    }
}

TEST(AnimatorRandom_5, APeakBeatHurriesOnlyTheSpray) {
    AnimatorRandom_5 a(1920, 1080);
    SoundHistories sound;
    sound.min.assign(240, 0.3f);
    sound.mid.assign(240, 0.3f);
    a.update(0.01f, kRest, sound.frame());
    std::vector<float> before;
    for (const auto& e : a.getEntities()) {
        before.push_back(e.phase);
    }

    sound.max.assign(240, 1.0f);
    a.update(0.01f, kRest, sound.frame());
    EXPECT_EQ(a.getPulse(0), 0.0f);
    EXPECT_EQ(a.getPulse(1), 0.0f);
    EXPECT_FLOAT_EQ(a.getPulse(2), 0.99f);
    const auto& entities = a.getEntities();
    for (size_t i = 0; i < entities.size(); ++i) {
        const float step = entities[i].phase - before[i];
        if (step < 0.0f) {
            continue;  // re-emitted at the inner edge
        }
        // The quiet streams keep their pace; the spray travels five times as fast.
        const float rest = i < 5 ? 0.01f / 14.0f : i < 15 ? 0.01f / 9.0f : 0.01f / 5.0f;
        EXPECT_NEAR(step, entities[i].group == 2 ? 5.0f * rest : rest, 1e-5f) << i;
    }
}
