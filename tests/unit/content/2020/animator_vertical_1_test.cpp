#include "visualization/content/2020/animator_vertical_1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "support/sound_frames.h"

namespace {

using content2020::AnimatorVertical_1;
using testsupport::kRest;
using testsupport::SoundHistories;

bool onScreen(const AnimatorVertical_1::Entity& e) {
    return std::abs(e.restX) < 900.0f && std::abs(e.restY) < 480.0f;
}

}  // namespace

TEST(AnimatorVertical_1, RingsPushEveryDotStraightOutFromTheCentreAlike) {
    AnimatorVertical_1 a(1920, 1080);
    SoundHistories sound;
    // Silence: nothing drawn and the lattice stays where it is, however long it plays.
    for (int i = 0; i < 200; ++i) {
        a.update(0.125f, kRest, sound.frame(SoundClass::Loud));
    }
    EXPECT_TRUE(a.getRenderState().instances.empty());
    for (const auto& e : a.getEntities()) {
        ASSERT_EQ(e.x, e.restX);
        ASSERT_EQ(e.y, e.restY);
    }

    // The centre reads the newest, loudest frames, so the rings fade outwards; every dot moves
    // along the line from the centre through its rest place, by the same share of its level in
    // every direction.
    sound.fillFalling();
    a.update(0.125f, kRest, sound.frame(SoundClass::Loud));
    float inner = 0.0f;
    float outer = 1.0f;
    float minRatio = 1e9f;
    float maxRatio = 0.0f;
    size_t checked = 0;
    for (const auto& e : a.getEntities()) {
        const float d = std::hypot(e.restX, e.restY);
        if (!onScreen(e) || d < 50.0f) {
            continue;
        }
        const float dx = e.x - e.restX;
        const float dy = e.y - e.restY;
        const float push = std::hypot(dx, dy);
        ASSERT_GT(push, 0.0f);
        EXPECT_NEAR((dx * e.restY - dy * e.restX) / (push * d), 0.0f, 1e-4f);
        EXPECT_GT(dx * e.restX + dy * e.restY, 0.0f);
        const float ratio = push / (e.level * d);
        minRatio = std::min(minRatio, ratio);
        maxRatio = std::max(maxRatio, ratio);
        if (d < 200.0f) {
            inner = std::max(inner, e.level);
        } else if (d > 800.0f) {
            outer = std::min(outer, e.level);
        }
        ++checked;
    }
    EXPECT_GT(checked, 100u);
    EXPECT_NEAR(minRatio / maxRatio, 1.0f, 1e-3f);
    EXPECT_GT(inner, outer + 0.1f);
}
