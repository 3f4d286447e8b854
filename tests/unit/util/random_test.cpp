#include "visualization/util/random.h"

#include <gtest/gtest.h>

#include <array>

#include "platform.h"

// What the draws are is pinned by the pictures, which seed the source; where the seed comes
// from is not.
TEST(Random, SeedComesFromTheClockAndReplays) {
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
}
