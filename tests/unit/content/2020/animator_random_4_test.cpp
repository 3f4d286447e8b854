#include "visualization/content/2020/animator_random_4.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "support/sound_frames.h"

namespace {

using content2020::AnimatorRandom_4;
using content2020::PointMode;
using testsupport::kRest;
using testsupport::SoundHistories;

}  // namespace

TEST(AnimatorRandom_4, ABeatBlowsOneBatchOfBubblesThatSwellAndDie) {
    AnimatorRandom_4 a(1920, 1080);
    EXPECT_EQ(a.getNumPalettes(), 10u);
    SoundHistories sound;
    const RotationTransition landscape{};

    a.update(0.2f, landscape, sound.frame(SoundClass::Moderate));
    EXPECT_EQ(a.getRenderState().pointMode, PointMode::CIRCLE_LARGE);
    EXPECT_EQ(a.getAliveCount(), 0u);
    EXPECT_TRUE(a.getRenderState().instances.empty());

    // Only the peak trigger fires: one batch of eight, all of the peak group, born inside the
    // field of the landscape screen.
    sound.max.assign(240, 1.0f);
    a.update(0.2f, landscape, sound.frame(SoundClass::Moderate));
    ASSERT_EQ(a.getAliveCount(), 8u);
    for (const auto& e : a.getEntities()) {
        if (!e.alive) {
            continue;
        }
        EXPECT_EQ(e.group, 2u);
        const float nx = e.originX / 1000.0f;
        const float ny = e.originY / 600.0f;
        EXPECT_LE(nx * nx + ny * ny, 1.0001f);
        EXPECT_GE(e.radius, 10.0f);
        EXPECT_LE(e.radius, 400.0f);
        EXPECT_GE(e.lifetime, 2.0f);
        EXPECT_LE(e.lifetime, 5.0f);
        // Past the swell and in the first half of its life, at full level: the full radius.
        EXPECT_FLOAT_EQ(e.size, e.radius);
    }
    EXPECT_FALSE(a.getRenderState().instances.empty());

    // A held level does not fire again; after the longest life every slot is free.
    for (int i = 0; i < 25; ++i) {
        a.update(0.2f, landscape, sound.frame(SoundClass::Moderate));
        EXPECT_LE(a.getAliveCount(), 8u);
    }
    EXPECT_EQ(a.getAliveCount(), 0u);
    EXPECT_TRUE(a.getRenderState().instances.empty());

    // On a portrait screen the field stands on end.
    AnimatorRandom_4 b(1920, 1080);
    RotationTransition portrait{};
    portrait.fractionSnapped = 1.0f;
    b.update(0.2f, portrait, sound.frame(SoundClass::Moderate));
    ASSERT_EQ(b.getAliveCount(), 8u);
    float tallest = 0.0f;
    for (const auto& e : b.getEntities()) {
        if (e.alive) {
            const float nx = e.originX / 600.0f;
            const float ny = e.originY / 1000.0f;
            EXPECT_LE(nx * nx + ny * ny, 1.0001f);
            tallest = std::max(tallest, std::abs(e.originY));
        }
    }
    EXPECT_GT(tallest, 100.0f);
}

TEST(AnimatorRandom_4, RepeatedBeatsFillTheFixedSlotsWithoutGrowingThem) {
    AnimatorRandom_4 a(1920, 1080);
    SoundHistories sound;
    const auto* slots = a.getEntities().data();
    // Dynamic music blows 16 per trigger, three triggers per beat: the 100 slots fill up and
    // later beats find no free slot.
    size_t previous = 0;
    for (int beat = 0; beat < 6; ++beat) {
        sound.fill(1.0f);
        a.update(0.01f, kRest, sound.frame(SoundClass::Dynamic));
        EXPECT_EQ(a.getAliveCount(), std::min<size_t>(previous + 48, 100));
        previous = a.getAliveCount();
        sound.fill(0.0f);
        a.update(0.01f, kRest, sound.frame(SoundClass::Dynamic));
    }
    EXPECT_EQ(a.getEntities().size(), 100u);
    EXPECT_EQ(a.getEntities().data(), slots);
    EXPECT_LE(a.getRenderState().instances.size(), 100u);
}
