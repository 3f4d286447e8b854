#include "visualization/content/2020/animator_diamond_1.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/sound_frames.h"

namespace {

using content2020::AnimatorDiamond_1;
using testsupport::kRest;
using testsupport::SoundHistories;

// Index of entry at square j, edge q, place c: squares k = 2j have 8(k + 1) points.
size_t indexOf(uint32_t j, uint32_t q, uint32_t c) {
    size_t index = 0;
    for (uint32_t i = 0; i < j; ++i) {
        index += 8 * (2 * i + 1);
    }
    return index + q * 2 * (2 * j + 1) + c;
}

}  // namespace

TEST(AnimatorDiamond_1, FifteenTurnedSquaresThirtyApart) {
    AnimatorDiamond_1 a(1920, 1080);
    const auto& entities = a.getEntities();
    ASSERT_EQ(entities.size(), 1800u);
    EXPECT_EQ(a.getNumPalettes(), 10u);
    // The innermost square's first corner (-30, -30) stands on its tip after the turn.
    EXPECT_NEAR(entities[0].x, 0.0f, 1e-4f);
    EXPECT_NEAR(entities[0].y, -30.0f * std::sqrt(2.0f), 1e-4f);
    // The outermost square (k = 28, side 1740, 58 points per edge): last point of the left edge.
    const auto& last = entities.back();
    EXPECT_EQ(last.square, 14u);
    EXPECT_FLOAT_EQ(last.t, 14.0f / 15.0f);
    EXPECT_EQ(last.perimeterIndex, 3u * 58u + 57u);
    EXPECT_FLOAT_EQ(last.edgeFraction, 57.0f / 58.0f);
    EXPECT_FLOAT_EQ(last.nx, 0.0f);
    EXPECT_FLOAT_EQ(last.ny, 30.0f / 1740.0f);
    const float r = std::sqrt(0.5f);
    EXPECT_NEAR(last.restX, (-870.0f - -840.0f) * r, 1e-3f);
    EXPECT_NEAR(last.restY, (-870.0f + -840.0f) * r, 1e-3f);
    const auto& neighbour = entities[entities.size() - 2];
    EXPECT_NEAR(std::hypot(last.x - neighbour.x, last.y - neighbour.y), 30.0f, 1e-3f);
}

TEST(AnimatorDiamond_1, LevelsPushTheSquaresOutAndSizeTheDots) {
    SoundHistories sound;
    auto& max = sound.max;
    AnimatorDiamond_1 a(1920, 1080);
    a.update(0.1f, kRest, sound.frame(SoundClass::Moderate));
    EXPECT_TRUE(a.getRenderState().instances.empty());

    // A steady level below the trigger; dt = 2 makes every smoothing step jump to its target.
    max.assign(240, 0.6f);
    a.update(2.0f, kRest, sound.frame(SoundClass::Soft));
    EXPECT_FLOAT_EQ(a.getPush(), 0.15f);
    EXPECT_EQ(a.getPatternA(), 0);
    const auto& e = a.getEntities();
    const auto& outer = e[indexOf(5, 0, 3)];
    EXPECT_NEAR(outer.x, outer.restX * (1.0f + 0.15f * 0.6f * outer.t), 1e-3f);
    // Square 1 beats with the newest peak; square 0 is lit by level x level; without fill
    // (soft music) even outer squares stay dark and odd ones keep their size.
    EXPECT_FLOAT_EQ(e[indexOf(1, 2, 1)].size, 15.0f * 0.6f * 1.25f);
    EXPECT_FLOAT_EQ(e[indexOf(0, 1, 0)].size, 0.6f * 0.6f * 15.0f * 1.75f);
    EXPECT_FLOAT_EQ(e[indexOf(4, 3, 2)].size, 0.0f);
    EXPECT_FLOAT_EQ(e[indexOf(5, 3, 2)].size, 0.6f * 0.6f * 15.0f * 1.75f);
    EXPECT_FALSE(a.getRenderState().instances.empty());
}

TEST(AnimatorDiamond_1, BeatsFlipTheMirrorAndChooseTwoGlowingSquares) {
    // A ramp makes the mirrored read visible: newest level 1, oldest 0.
    SoundHistories sound;
    auto& max = sound.max;
    for (size_t i = 0; i < max.size(); ++i) {
        max[i] = 1.0f - static_cast<float>(i) / 239.0f;
    }
    AnimatorDiamond_1 a(1920, 1080);
    const auto& e = a.getEntities();
    const auto& probe = e[indexOf(3, 1, 2)];
    const auto expectedLevel5 = [&max](float u) {
        const float tri = u < 0.5f ? 2.0f * u : 2.0f - 2.0f * u;
        return max[static_cast<size_t>((1.0f - tri) * 239.0f)];
    };

    a.update(2.0f, kRest, sound.frame(SoundClass::Loud));
    EXPECT_EQ(a.getParity(), 1u);
    EXPECT_GE(a.getPatternA(), 1);
    EXPECT_LE(a.getPatternA(), 6);
    EXPECT_GE(a.getPatternB(), 1);
    EXPECT_LE(a.getPatternB(), 6);
    EXPECT_FLOAT_EQ(probe.level5, expectedLevel5(probe.ny));
    // Loud music glows the chosen squares along their edges, on top of the dots; the points the
    // camera culls (a 1920 x 1080 screen with a 100 pixel margin, at rest) keep their old glow.
    for (const auto& entity : e) {
        const bool chosen = entity.square == static_cast<uint32_t>(a.getPatternA()) ||
                            entity.square == static_cast<uint32_t>(a.getPatternB());
        const bool drawn = std::abs(entity.x) < 1060.0f && std::abs(entity.y) < 640.0f;
        EXPECT_EQ(entity.level7 > 0.0f, chosen && drawn) << entity.square;
    }

    // Holding the level keeps the trigger on; it fires again only after falling to 0.35.
    a.update(2.0f, kRest, sound.frame(SoundClass::Loud));
    EXPECT_EQ(a.getParity(), 1u);
    max[0] = 0.3f;
    a.update(2.0f, kRest, sound.frame(SoundClass::Loud));
    max[0] = 1.0f;
    a.update(2.0f, kRest, sound.frame(SoundClass::Loud));
    EXPECT_EQ(a.getParity(), 0u);
    EXPECT_FLOAT_EQ(probe.level5, expectedLevel5(probe.nx));
}
