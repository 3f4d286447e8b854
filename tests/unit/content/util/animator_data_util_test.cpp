#include "visualization/content/util/animator_data_util.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<bool> triggers(std::vector<float> inputs) {
    RelThreshold t;
    std::vector<bool> fired;
    for (float x : inputs) {
        update_threshold(t, x);
        fired.push_back(t.triggered);
        t.triggered = false;
    }
    return fired;
}

}  // namespace

TEST(RelThreshold, FiresOnceUntilTheLevelFallsToLow) {
    EXPECT_EQ(triggers({0.7f, 0.5f, 0.7f}), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(triggers({0.7f, 0.3f, 0.7f}), (std::vector<bool>{true, false, true}));
    // Both levels are inclusive.
    EXPECT_EQ(triggers({0.65f, 0.35f, 0.65f}), (std::vector<bool>{true, false, true}));
    EXPECT_EQ(triggers({0.64f, 0.0f, 0.64f}), (std::vector<bool>{false, false, false}));

    // The flag stays up until its owner clears it.
    RelThreshold t;
    update_threshold(t, 0.9f);
    update_threshold(t, 0.1f);
    EXPECT_TRUE(t.triggered);
    EXPECT_FALSE(t.active);
}

// How a pulse travels and fades at frame rate shows in the reference pictures (CIRCULAR_2); long
// frames end it without driving it below zero.
TEST(RelThresholdHistory, LongFramesEndThePulseWithoutDrivingItNegative) {
    RelThresholdHistory h(0.35f, 0.65f, 5);
    for (int i = 0; i < 3; ++i) {
        update_threshold_history(h, 0.8f, 0.75f);
    }
    EXPECT_EQ(h.data, (std::vector<float>{0.0f, 0.25f, 1.0f, 0.0f, 0.0f}));
}
