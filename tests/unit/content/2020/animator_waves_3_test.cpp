#include "visualization/content/2020/animator_waves_3.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/sound_frames.h"

using content2020::AnimatorWaves_3;
using testsupport::kRest;
using testsupport::portraitAtRest;
using testsupport::SoundHistories;

// Silence draws nothing; at full level, both orientations are covered edge to edge by
// near-touching dots.
TEST(AnimatorWaves_3, OvalRingsCoverTheViewInEitherOrientation) {
    SoundHistories sound;
    AnimatorWaves_3 quiet(1920, 1080);
    quiet.update(0.125f, kRest, sound.frame(SoundClass::Loud));
    EXPECT_TRUE(quiet.getRenderState().instances.empty());

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
