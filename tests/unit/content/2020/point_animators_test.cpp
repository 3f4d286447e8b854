// The point-field animators: what the pictures of their modes cannot show.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "visualization/content/2020/abstract_animator.h"
#include "visualization/content/2020/animator_random_1.h"
#include "visualization/content/2020/animator_random_3.h"
#include "visualization/content/2020/animator_random_4.h"
#include "visualization/util/random.h"

using content2020::AnimatorRandom_1;
using content2020::AnimatorRandom_3;
using content2020::AnimatorRandom_4;

namespace {

// A landscape screen at rest.
const RotationTransition kRest{};

// A screen that has finished turning upright.
RotationTransition portraitAtRest() {
    RotationTransition r{};
    r.current = r.from = r.to = RotateInfo::Portrait;
    r.fraction = r.fractionSmoothed = r.fractionSnapped = 1.0f;
    r.angle = r.angleSmoothed = r.angleSnapped = 1.5707964f;
    r.progress = 1.0f;
    return r;
}

// Sound as the animators see it, without a spectrum behind it: each test owns the histories and
// sets them to exactly the levels it reasons about.
struct SoundHistories {
    std::vector<float> levels = std::vector<float>(8, 0.0f);
    std::vector<float> min = std::vector<float>(240, 0.0f);
    std::vector<float> mid = std::vector<float>(240, 0.0f);
    std::vector<float> max = std::vector<float>(240, 0.0f);

    // The band levels and all three histories at one value.
    void fill(float value) {
        for (auto* list : {&levels, &min, &mid, &max}) {
            list->assign(list->size(), value);
        }
    }
    // A frame settled on one sound class.
    content2020::SoundFrame frame(SoundClass soundClass = SoundClass::Moderate) const {
        content2020::SoundFrame f;
        f.soundClassCurrent = f.soundClassNext = soundClass;
        f.levels = &levels;
        f.historyMin = &min;
        f.historyMid = &mid;
        f.historyMax = &max;
        return f;
    }
};

}  // namespace

TEST(AnimatorRandom_1, ABeatSpawnsOneBurstOfDiscsThatDieUnlessPaused) {
    AnimatorRandom_1 a(1920, 1080);
    SoundHistories sound;
    a.update(0.01f, kRest, sound.frame());
    EXPECT_TRUE(a.getRenderState().instances.empty());

    // Only the maximum history crosses its trigger: one strong burst.
    sound.max.assign(240, 1.0f);
    a.update(0.01f, kRest, sound.frame());
    const size_t burst = a.getRenderState().instances.size();
    EXPECT_GT(burst, 5u);
    // The trigger stays active while the level holds: no second burst.
    a.update(0.01f, kRest, sound.frame());
    EXPECT_LE(a.getRenderState().instances.size(), burst);
    // Life runs at two units per second: after 5.25 s every disc is gone.
    for (int i = 0; i < 53; ++i) {
        a.update(0.1f, kRest, sound.frame());
    }
    EXPECT_TRUE(a.getRenderState().instances.empty());

    AnimatorRandom_1 paused(1920, 1080);
    paused.setPaused(true);
    sound.fill(1.0f);
    paused.update(0.01f, kRest, sound.frame(SoundClass::Loud));
    EXPECT_TRUE(paused.getRenderState().instances.empty());
}

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
            a->update(0.05f, portraitAtRest(), sound.frame());
        }
        return a;
    };
    const auto turned = play(kRest);
    const auto upright = play(portraitAtRest());
    const auto& a = turned->getRenderState().instances;
    const auto& b = upright->getRenderState().instances;
    ASSERT_FALSE(b.empty());
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_TRUE(a[i].x == b[i].x && a[i].y == b[i].y && a[i].scale == b[i].scale) << i;
    }
}

TEST(AnimatorRandom_4, BeatsBlowBatchesOfBubblesIntoAHundredSlotsAndTheBubblesDie) {
    AnimatorRandom_4 a(1920, 1080);
    SoundHistories sound;
    a.update(0.2f, kRest, sound.frame());
    EXPECT_TRUE(a.getRenderState().instances.empty());

    // Only the peak trigger fires: one batch of eight. A held level does not fire again, and
    // after the longest life every bubble is gone.
    sound.max.assign(240, 1.0f);
    a.update(0.2f, kRest, sound.frame());
    EXPECT_GT(a.getRenderState().instances.size(), 0u);
    for (int i = 0; i < 25; ++i) {
        EXPECT_LE(a.getRenderState().instances.size(), 8u);
        a.update(0.2f, kRest, sound.frame());
    }
    EXPECT_TRUE(a.getRenderState().instances.empty());

    // Dynamic music blows 16 per trigger, three triggers per beat: the 100 slots fill up and
    // later beats find no free slot.
    for (int beat = 0; beat < 6; ++beat) {
        sound.fill(1.0f);
        a.update(0.01f, kRest, sound.frame(SoundClass::Dynamic));
        sound.fill(0.0f);
        a.update(0.01f, kRest, sound.frame(SoundClass::Dynamic));
        EXPECT_LE(a.getRenderState().instances.size(), 100u);
    }
    EXPECT_GT(a.getRenderState().instances.size(), 50u);
}
