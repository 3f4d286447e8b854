#include "visualization/content/2020/animator_circular_2.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/sound_frames.h"

namespace {

using content2020::AnimatorCircular_2;
using testsupport::kRest;
using testsupport::SoundHistories;

}  // namespace

TEST(AnimatorCircular_2, TouchingRingsAndABeatPulseTravellingOutwards) {
    AnimatorCircular_2 a(1920, 1080);
    const auto& entities = a.getEntities();
    // 28 rings of 7c + 6 points.
    ASSERT_EQ(entities.size(), 2814u);
    EXPECT_EQ(a.getNumPalettes(), 10u);
    const float pi = 3.1415927f;
    EXPECT_NEAR(entities[0].distance, 6 * 40.0f / (2 * pi), 1e-4f);
    EXPECT_NEAR(entities[1].y, std::sin(2 * pi / 6) * entities[0].distance, 1e-4f);
    const auto& last = entities.back();
    EXPECT_EQ(last.ring, 27u);
    EXPECT_EQ(last.point, 194u);
    EXPECT_FLOAT_EQ(last.pointT, 194.0f / 195.0f);
    EXPECT_FLOAT_EQ(last.ringT, 27.0f / 28.0f);
    // Neighbours on a ring are two base sizes apart.
    const auto& n0 = entities[entities.size() - 195];
    const auto& n1 = entities[entities.size() - 194];
    EXPECT_NEAR(std::hypot(n1.x - n0.x, n1.y - n0.y), 40.0f, 0.05f);

    SoundHistories sound;
    a.update(0.1f, kRest, sound.frame());
    EXPECT_TRUE(a.getRenderState().instances.empty());
    EXPECT_NEAR(a.getRotationAngle(), 0.005f, 1e-7f);
    // Soft music widens the disc towards 1.25, by min(dt, 1) per frame.
    a.update(0.5f, kRest, sound.frame(SoundClass::Soft));
    EXPECT_FLOAT_EQ(a.getRadialScale(), 1.125f);

    // A beat enters the pulse history at the front and shifts one place per frame.
    sound.max.assign(240, 1.0f);
    a.update(0.016f, kRest, sound.frame(SoundClass::Loud));
    EXPECT_EQ(a.getPulseHistory().data.size(), 180u);
    EXPECT_EQ(a.getPulseHistory().data[0], 1.0f);
    a.update(0.016f, kRest, sound.frame(SoundClass::Loud));
    EXPECT_EQ(a.getPulseHistory().data[1], 1.0f);
    EXPECT_FLOAT_EQ(a.getPulseHistory().data[0], 1.0f - 0.016f);
    // Ring 0 reads the pulse's front and lights its beat layer; the outer rings not yet.
    EXPECT_GT(entities[0].l2, 0.4f);
    EXPECT_EQ(last.l2, 0.0f);
    EXPECT_GT(a.getRenderState().instances.size(), 500u);
    EXPECT_LE(a.getRenderState().instances.size(), 2 * 2814u);
}
