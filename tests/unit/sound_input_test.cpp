#include "visualization/sound_input.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Exact in binary, so the ages sum without rounding.
constexpr float kDt = 0.25f;

struct Step {
    SoundClass next;
    SoundClass current;
    float progress;
};

std::vector<Step> run(SoundInput& input, int updates) {
    std::vector<Step> steps;
    for (int i = 0; i < updates; ++i) {
        input.update(kDt);
        steps.push_back(
            {input.getSoundClassNext(), input.getSoundClassCurrent(), input.getSwitchProgress()});
    }
    return steps;
}

}  // namespace

TEST(SoundInput, ANewClassMustLastMoreThanTheSwitchDurationThenFadesIn) {
    SoundInput input;
    // Steady state: progress runs up to 1 and stays there.
    EXPECT_EQ(run(input, 10).back().progress, 1.0f);
    input.setSoundClass(SoundClass::Loud, false);

    const std::vector<Step> steps = run(input, 20);
    // Six updates make exactly 1.5 s, which is not enough; the seventh passes it.
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(steps[i].next, SoundClass::Moderate) << i;
    }
    EXPECT_TRUE(steps[6].next == SoundClass::Loud && steps[6].progress == 0.0f);
    EXPECT_FLOAT_EQ(steps[9].progress, 0.5f);
    // Then 1.5 s of fading before the switch.
    for (size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(steps[i].current, i < 12 ? SoundClass::Moderate : SoundClass::Loud) << i;
    }
    EXPECT_EQ(steps[12].progress, 1.0f);
    EXPECT_EQ(input.getSoundClassPrevious(), SoundClass::Moderate);
    EXPECT_FLOAT_EQ(input.getTime(), 7.5f);

    // An immediate class takes effect at once, and replaces the period it interrupts.
    SoundInput immediate;
    run(immediate, 10);
    immediate.setSoundClass(SoundClass::Dark, true);
    EXPECT_TRUE(immediate.getSoundClassPrevious() == SoundClass::Dark &&
                immediate.getSoundClassNext() == SoundClass::Dark);
    run(immediate, 1);
    EXPECT_EQ(immediate.getSoundClassHistoryNormalized().size(), 1u);
}

TEST(SoundInput, FlickerNeverSwitchesAndPeriodsAgeOutAMinuteAfterTheyEnded) {
    SoundInput input;
    input.setSoundClass(SoundClass::Loud, false);
    run(input, 4);  // 1 s of Loud, shorter than the switch duration
    input.setSoundClass(SoundClass::Moderate, false);
    input.setSoundClass(SoundClass::Moderate, false);  // repeats add nothing
    std::vector<Step> steps = run(input, 235);
    const auto& history = input.getSoundClassHistoryNormalized();
    EXPECT_EQ(history.size(), 3u);
    EXPECT_FLOAT_EQ(history[1].ageStart, 59.75f / 60.0f);
    // The first period ended when Loud arrived, 60 s after update 0; Loud 1 s later.
    const std::vector<Step> more = run(input, 1);
    EXPECT_EQ(history.size(), 2u);
    EXPECT_EQ(history[1].soundClass, SoundClass::Loud);
    EXPECT_FLOAT_EQ(history[1].ageStart, 1.0f);  // capped
    run(input, 4);
    EXPECT_EQ(history.size(), 1u);
    steps.insert(steps.end(), more.begin(), more.end());
    for (const Step& step : steps) {
        EXPECT_TRUE(step.next == SoundClass::Moderate && step.current == SoundClass::Moderate);
    }
}

TEST(SoundInput, PopulateFillsEightBandsOutsideMusicTimeAndUpdatesHandOnValidFrames) {
    SoundInput input;
    // Silence until the last frame, then full level in band 0 and a ramp index elsewhere.
    input.populate(
        [](float* out, uint32_t band, uint32_t, uint32_t frame, uint32_t, float low, float high) {
            *out = frame < 239 ? low : (band == 0 ? high : -100.0f - band);
        });
    const Spectrum& spectrum = input.getSpectrum();
    EXPECT_EQ(spectrum.frameCount(), 240u);
    EXPECT_EQ(spectrum.historyRaw()[0][0], -10.0f);
    EXPECT_EQ(spectrum.historyRaw()[0][7], -107.0f);
    EXPECT_EQ(spectrum.historyRaw()[239], std::vector<float>(8, -120.0f));
    EXPECT_EQ(input.getTime(), 0.0f);

    const float frame[8] = {-65, -10, -120, -120, -120, -120, -120, -120};
    input.setBandsInfo(frame, 8);
    input.update(kDt);
    input.setBandsInfo(frame, 0);
    input.update(kDt);
    EXPECT_EQ(spectrum.frameCount(), 241u);
    EXPECT_EQ(spectrum.historyRaw()[0][0], -65.0f);
    EXPECT_FLOAT_EQ(input.getTime(), 0.5f);
}
