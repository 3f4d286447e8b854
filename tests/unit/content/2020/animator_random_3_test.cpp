#include "visualization/content/2020/animator_random_3.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/sound_frames.h"
#include "visualization/util/random.h"

using content2020::AnimatorRandom_3;
using testsupport::kRest;
using testsupport::SoundHistories;

// Every star loud on a landscape screen, then the screen turns upright and only the stars of the
// maximum history stay loud. The stars beyond the narrower view are no longer updated; their old
// loud level must not light their links into the view. The same field played upright from the
// start never lit those stars, so both must draw exactly the same sprites.
TEST(AnimatorRandom_3, StarsOffScreenKeepTheirLinksDark) {
    const auto play = [](const RotationTransition& first) {
        util::setRandomSeed(5);  // a field with such links
        auto a = std::make_unique<AnimatorRandom_3>(1920, 1080);
        SoundHistories sound;
        sound.fill(1.0f);
        for (int i = 0; i < 60; ++i) {
            a->update(0.05f, first, sound.frame());
        }
        sound.min.assign(240, 0.0f);
        sound.mid.assign(240, 0.0f);
        for (int i = 0; i < 200; ++i) {
            a->update(0.05f, testsupport::portraitAtRest(), sound.frame());
        }
        return a;
    };
    const auto turned = play(kRest);
    const auto upright = play(testsupport::portraitAtRest());
    const auto& a = turned->getRenderState().instances;
    const auto& b = upright->getRenderState().instances;
    ASSERT_FALSE(b.empty());
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_TRUE(a[i].x == b[i].x && a[i].y == b[i].y && a[i].scale == b[i].scale) << i;
    }
}
