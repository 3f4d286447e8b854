#include "visualization/content/2020/animator_waves_3.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/sound_frames.h"

namespace {

using content2020::AnimatorWaves_3;
using testsupport::kRest;
using testsupport::portraitAtRest;
using testsupport::SoundHistories;

// The entity of the given group whose rest position is nearest to (x, y).
const AnimatorWaves_3::Entity& nearest(const AnimatorWaves_3& a, float x, float y, uint32_t group) {
    const AnimatorWaves_3::Entity* best = nullptr;
    float bestDistance = 1e9f;
    for (const auto& e : a.getEntities()) {
        const float d = std::hypot(e.restX - x, e.restY - y);
        if (e.group == group && d < bestDistance) {
            best = &e;
            bestDistance = d;
        }
    }
    return *best;
}

}  // namespace

TEST(AnimatorWaves_3, OvalRingsFollowTheOrientationAndCoverTheView) {
    SoundHistories sound;
    AnimatorWaves_3 a(1920, 1080);
    a.update(0.125f, kRest, sound.frame(SoundClass::Loud));
    EXPECT_TRUE(a.getRenderState().instances.empty());

    // A falling ramp: the further a point reads into the history, the lower its level.
    sound.fillFalling();
    a.update(0.125f, kRest, sound.frame(SoundClass::Loud));
    // In landscape the rings are wider than high: at equal distance a point above the centre
    // is further out on its ring than one beside it. Portrait swaps the axes.
    const auto& above = nearest(a, 0.0f, 540.0f, 0);
    const auto& beside = nearest(a, 540.0f, 0.0f, 0);
    ASSERT_NEAR(std::hypot(above.restX, above.restY), std::hypot(beside.restX, beside.restY),
                40.0f);
    EXPECT_LT(above.level, beside.level - 0.1f);
    // Quicker groups spread a shorter stretch of the history: the maximum string nearest
    // the same spot reads newer, louder frames.
    EXPECT_GT(nearest(a, 0.0f, 540.0f, 2).level, above.level + 0.1f);
    // Dots move straight out from the centre apart from a sideways quiver.
    EXPECT_GT(std::abs(above.y), std::abs(above.restY));
    EXPECT_NEAR(above.x, above.restX, 14.0f * above.level + 3.0f);

    AnimatorWaves_3 b(1920, 1080);
    b.update(0.125f, portraitAtRest(), sound.frame(SoundClass::Loud));
    EXPECT_GT(nearest(b, 0.0f, 540.0f, 0).level, nearest(b, 540.0f, 0.0f, 0).level + 0.1f);

    // At full level, both orientations are covered edge to edge by near-touching dots.
    sound.fill(1.0f);
    for (const RotationTransition& r : {kRest, portraitAtRest()}) {
        AnimatorWaves_3 c(1920, 1080);
        c.update(0.125f, r, sound.frame(SoundClass::Loud));
        const auto& out = c.getRenderState().instances;
        // About 20 strings of 25 dots in landscape, 11 of 45 in portrait, less those pushed out.
        EXPECT_GT(out.size(), 350u);
        float left = 1e9f, right = -1e9f, top = 1e9f, bottom = -1e9f;
        for (const auto& i : out) {
            EXPECT_NEAR(i.scale, 0.45f * 1920.0f / 45.0f, 1e-3f);
            left = std::min(left, i.x);
            right = std::max(right, i.x);
            top = std::min(top, i.y);
            bottom = std::max(bottom, i.y);
        }
        const float halfWidth = r.current == RotateInfo::Portrait ? 540.0f : 960.0f;
        const float halfHeight = r.current == RotateInfo::Portrait ? 960.0f : 540.0f;
        EXPECT_LT(left, -halfWidth + 60.0f);
        EXPECT_GT(right, halfWidth - 60.0f);
        EXPECT_LT(top, -halfHeight + 30.0f);
        EXPECT_GT(bottom, halfHeight - 30.0f);
    }
}
