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

TEST(RelThresholdHistory, PulseTravelsThroughTheHistoryAndDecays) {
    RelThresholdHistory h(0.35f, 0.65f, 5);
    update_threshold_history(h, 0.8f, 0.25f);
    EXPECT_EQ(h.data, (std::vector<float>{1.0f, 0.0f, 0.0f, 0.0f, 0.0f}));
    EXPECT_FALSE(h.threshold.triggered);
    for (int i = 0; i < 4; ++i) {
        update_threshold_history(h, 0.8f, 0.25f);
    }
    EXPECT_EQ(h.data, (std::vector<float>{0.0f, 0.25f, 0.5f, 0.75f, 1.0f}));
    EXPECT_EQ(h.value, 0.0f);
    // Past the last slot the oldest value falls off.
    update_threshold_history(h, 0.8f, 0.25f);
    EXPECT_EQ(h.data, (std::vector<float>{0.0f, 0.0f, 0.25f, 0.5f, 0.75f}));

    // A long frame ends the pulse at once and never drives it negative.
    RelThresholdHistory g(0.35f, 0.65f, 6);
    update_threshold_history(g, 1.0f, 3.0f);
    EXPECT_EQ(g.value, 0.0f);
    EXPECT_EQ(g.data[0], 1.0f);
}
