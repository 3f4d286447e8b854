#include "visualization/util/random.h"

#include <gtest/gtest.h>

#include <array>

#include "platform.h"

TEST(Random, SeedComesFromTheClockReplaysAndRangesHoldTheirBounds) {
    platform_clock_set_manual(0x123456789ALL);
    const uint32_t seed = util::makeRandomSeed();
    platform_clock_set_real();
    EXPECT_EQ(seed, 0x3456789Au);  // the low 32 bits

    util::setRandomSeed(seed);
    std::array<float, 8> first;
    for (float& value : first) {
        value = util::random01();
    }
    util::setRandomSeed(seed);
    for (float value : first) {
        EXPECT_EQ(util::random01(), value);
    }

    // Both bounds of an integer range come up about equally often, and nothing beyond them.
    constexpr int kDraws = 80000;
    std::array<int, 4> counts{};
    for (int i = 0; i < kDraws; ++i) {
        const int value = util::randomInt(0, 3);
        ASSERT_TRUE(value >= 0 && value <= 3);
        ++counts[value];
        const float f = util::randomRange(-2.0f, 3.0f);
        ASSERT_TRUE(f >= -2.0f && f < 3.0f);
    }
    // Each value a quarter of the time; 5 sigma of a binomial is about 0.8 % of the draws.
    for (int count : counts) {
        EXPECT_NEAR(count, kDraws / 4, kDraws / 100);
    }
}
