#include "visualization/content/2020/animator_waves_1.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/sound_frames.h"

namespace {

using content2020::AnimatorWaves_1;
using testsupport::kRest;
using testsupport::SoundHistories;

}  // namespace

// Its parameters mix floats across a class change but take the two patterns from the class
// being headed for; in silence the field settles back and draws nothing.
TEST(AnimatorWaves_1, PatternsComeFromTheNextClassAndSilenceSettlesTheField) {
    AnimatorWaves_1 a(1920, 1080);
    SoundHistories sound;
    sound.fill(0.8f);
    a.update(0.25f, kRest, sound.frame(SoundClass::Soft, SoundClass::Loud, 0.3f));
    const auto& p = a.getParameters();
    EXPECT_FLOAT_EQ(p.reach2, 0.2f * 0.7f + 0.5f * 0.3f);
    EXPECT_EQ(p.patternA, 3);
    EXPECT_EQ(p.patternB, 4);
    EXPECT_FALSE(a.getRenderState().instances.empty());

    sound.fill(0.0f);
    for (int i = 0; i < 4; ++i) {
        a.update(0.25f, kRest, sound.frame(SoundClass::Loud));
    }
    EXPECT_TRUE(a.getRenderState().instances.empty());
    for (const auto& e : a.getEntities()) {
        if (std::abs(e.restX) < 900.0f && std::abs(e.restY) < 500.0f) {
            EXPECT_FLOAT_EQ(e.x, e.restX);
        }
    }
}
