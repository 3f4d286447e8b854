#include "visualization/util/random.h"

#include <gtest/gtest.h>

#include <array>

#include "platform.h"

TEST(Random, SeedComesFromTheClockSeamAndReplays) {
    platform_clock_set_manual(0x123456789ALL);
    const uint32_t seed = util::makeRandomSeed();
    platform_clock_set_real();
    EXPECT_EQ(seed, 0x3456789Au);  // the low 32 bits

    util::setRandomSeed(seed);
    EXPECT_EQ(util::getRandomSeed(), seed);
    std::array<float, 8> first;
    for (float& value : first) {
        value = util::random01();
        ASSERT_TRUE(value >= 0.0f && value < 1.0f);
    }
    util::setRandomSeed(seed);
    for (float value : first) {
        EXPECT_EQ(util::random01(), value);
    }
}

TEST(Random, RangesCoverTheirBounds) {
    util::setRandomSeed(2024);
    constexpr int kDraws = 80000;
    std::array<int, 4> counts{};
    for (int i = 0; i < kDraws; ++i) {
        const int value = util::randomInt(0, 3);
        ASSERT_TRUE(value >= 0 && value <= 3);
        ++counts[value];
    }
    // Each value a quarter of the time; 5 sigma of a binomial is about 0.8 % of the draws.
    for (int count : counts) {
        EXPECT_NEAR(count, kDraws / 4, kDraws / 100);
    }

    for (int i = 0; i < 1000; ++i) {
        const float value = util::randomRange(-2.0f, 3.0f);
        ASSERT_TRUE(value >= -2.0f && value < 3.0f);
        ASSERT_EQ(util::randomInt(5, 5), 5);
    }
}
