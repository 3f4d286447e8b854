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
