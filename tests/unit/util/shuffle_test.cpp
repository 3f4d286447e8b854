#include "visualization/util/shuffle.h"

#include <gtest/gtest.h>

#include "visualization/types.h"

namespace {

TEST(Reshuffle, ThreeModesMustStartWithTheOnlyFreeValue) {
    std::mt19937 engine(42);
    std::uniform_int_distribution<int> distribution(0, 2);
    const auto mode = [](int i) { return static_cast<ContentMode>(i); };
    bool sawOrder012 = false;
    bool sawOrder021 = false;
    for (int round = 0; round < 200; ++round) {
        ContentMode data[3] = {mode(0), mode(1), mode(2)};
        util::reshuffle(data, 3, distribution, engine);
        ASSERT_EQ(data[0], mode(0));
        sawOrder012 |= data[1] == mode(1);
        sawOrder021 |= data[1] == mode(2);
    }
    EXPECT_TRUE(sawOrder012 && sawOrder021) << "the tail is random, not a fixed order";
}

}  // namespace
