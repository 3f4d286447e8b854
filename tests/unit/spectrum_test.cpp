#include "visualization/spectrum.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include <limits>
#include <vector>

using ::testing::Each;
using ::testing::FloatEq;
using ::testing::Pointwise;

namespace {

// dt at which the smoothing rate (8 per second) is exactly 1: smoothed values equal their input.
constexpr float kUnitRateDt = 1.0f / 8.0f;

void feed(Spectrum& spectrum, const std::vector<float>& frame, float dt = kUnitRateDt) {
    spectrum.setBandsInfo(frame.data(), static_cast<uint32_t>(frame.size()));
    spectrum.update(dt);
}

bool allEqual(const std::vector<std::vector<float>>& rows, float value) {
    return std::all_of(rows.begin(), rows.end(), [value](const std::vector<float>& row) {
        return std::all_of(row.begin(), row.end(), [value](float v) { return v == value; });
    });
}

}  // namespace

TEST(Spectrum, ClampsBandsAndMapsLevelsToZeroToOne) {
    const float inf = std::numeric_limits<float>::infinity();
    Spectrum spectrum;
    feed(spectrum, {-5.0f, -130.0f, -10.0f, -120.0f, -65.0f, inf, -inf, -98.0f}, 1.0f / 16.0f);
    EXPECT_EQ(spectrum.history()[0],
              (std::vector<float>{-10, -120, -10, -120, -65, -10, -120, -98}));
    const std::vector<float> levels = {1, 0, 1, 0, 0.5f, 1, 0, 0.2f};
    EXPECT_THAT(spectrum.levels(), Pointwise(FloatEq(), levels));
    // With a single frame seen the range is the frame's own: -120..-10.
    EXPECT_THAT(spectrum.relative(), Pointwise(FloatEq(), levels));
    // Half of the way from 0 at a rate of 8/s over 1/16 s; never beyond, even with a long frame.
    EXPECT_THAT(spectrum.levelsSmoothed(),
                Pointwise(FloatEq(), std::vector<float>{0.5f, 0, 0.5f, 0, 0.25f, 0.5f, 0, 0.1f}));
    feed(spectrum, std::vector<float>(8, -10.0f), 1.0f);
    EXPECT_THAT(spectrum.levelsSmoothed(), Each(FloatEq(1.0f)));
}

TEST(Spectrum, FreezesAfterAWholeHistoryOfEqualFrames) {
    Spectrum spectrum;
    const std::vector<float> frame = {-60, -30, -90, -10};
    for (size_t i = 0; i < Spectrum::kHistoryLength - 1; ++i) {
        feed(spectrum, frame);
    }
    // One row still holds the zeros from sizing.
    EXPECT_FLOAT_EQ(spectrum.levels()[0], 60.0f / 110.0f);

    feed(spectrum, frame);
    EXPECT_TRUE(allEqual(spectrum.history(), -120.0f));
    EXPECT_EQ(spectrum.historyRaw()[239], frame);
    EXPECT_EQ(spectrum.levels(), std::vector<float>(4, 0.0f));
    // Against a flat history at -120 every band above it is at the top.
    EXPECT_EQ(spectrum.relative(), std::vector<float>(4, 1.0f));

    // A changed frame thaws it, and history follows the raw rows again from then on.
    const std::vector<float> other = {-61, -30, -90, -10};
    feed(spectrum, other);
    EXPECT_EQ(spectrum.history(), spectrum.historyRaw());
    for (int i = 0; i < 5; ++i) {
        feed(spectrum, {-20.0f - i, -40, -50, -70});
    }
    EXPECT_EQ(spectrum.history(), spectrum.historyRaw());
}

// The line for a NaN is pinned by the session test.
TEST(Spectrum, DropsFramesWithNanOrNoValuesAndANewBandCountClearsEverything) {
    Spectrum spectrum;
    spectrum.update(kUnitRateDt);  // nothing to do before the first frame
    EXPECT_EQ(spectrum.bandCount(), 0u);
    feed(spectrum, std::vector<float>(6, -100.0f));
    // A flat range: bands at its bottom are 0.
    EXPECT_EQ(spectrum.relative(), std::vector<float>(6, 0.0f));
    for (int i = 1; i < 20; ++i) {
        feed(spectrum, std::vector<float>(6, -100.0f + i));
    }
    // A NaN frame, even of another length, neither resizes nor clears; nor does an empty one.
    const float nan = std::nanf("");
    feed(spectrum, {-20, -20, -20, nan, -20, nan});
    EXPECT_FALSE(spectrum.isValid());
    EXPECT_EQ(spectrum.bands(), std::vector<float>(6, -81.0f));
    feed(spectrum, std::vector<float>(12, nan));
    spectrum.setBandsInfo(nullptr, 0);
    spectrum.update(kUnitRateDt);
    EXPECT_FALSE(spectrum.isValid());
    EXPECT_TRUE(spectrum.bandCount() == 6u && spectrum.frameCount() == 20u);
    feed(spectrum, std::vector<float>(6, -40.0f));
    EXPECT_TRUE(spectrum.isValid() && spectrum.frameCount() == 21u);

    const std::vector<float> wide(16, -30.0f);
    spectrum.setBandsInfo(wide.data(), 16);
    EXPECT_EQ(spectrum.frameCount(), 0u);
    ASSERT_EQ(spectrum.historyRaw().size(), 240u);
    EXPECT_EQ(spectrum.historyRaw()[0].size(), 16u);
    EXPECT_TRUE(allEqual(spectrum.historyRaw(), 0.0f) && allEqual(spectrum.history(), 0.0f));
    EXPECT_EQ(spectrum.levelsSmoothed(), std::vector<float>(16, 0.0f));
    EXPECT_EQ(spectrum.historyMax(), std::vector<float>(240, 0.0f));
    // The same count again keeps the histories.
    spectrum.update(kUnitRateDt);
    spectrum.setBandsInfo(wide.data(), 16);
    EXPECT_EQ(spectrum.frameCount(), 1u);
    EXPECT_EQ(spectrum.historyRaw()[0], wide);
}
