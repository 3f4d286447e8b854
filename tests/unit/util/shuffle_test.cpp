#include "visualization/util/shuffle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <numeric>
#include <utility>
#include <vector>

#include "visualization/types.h"

namespace {

TEST(Reshuffle, ThreeModesMustStartWithTheOnlyFreeValue) {
    std::mt19937 engine(42);
    const util::UniformInt distribution(0, 2);
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

TEST(Reshuffle, LongListsArePermutationsAvoidingTheLastTwo) {
    std::mt19937 engine(7);
    const util::UniformInt distribution(1, 31);
    std::vector<unsigned int> data(31);
    std::iota(data.begin(), data.end(), 1u);
    std::vector<int> firstCounts(32, 0);
    for (int round = 0; round < 2000; ++round) {
        const unsigned int last = data[30];
        const unsigned int secondLast = data[29];
        util::reshuffle(data.data(), data.size(), distribution, engine);
        ASSERT_TRUE(data[0] != last && data[0] != secondLast);
        std::vector<unsigned int> sorted = data;
        std::sort(sorted.begin(), sorted.end());
        ASSERT_TRUE(sorted.front() == 1u && sorted.back() == 31u &&
                    std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end());
        ++firstCounts[data[0]];
    }
    // Every value gets its turn at the front.
    EXPECT_EQ(std::count(firstCounts.begin() + 1, firstCounts.end(), 0), 0);
}

// The playlists and palettes of the reference pictures were drawn by GCC's library; any other
// build (the web one's library draws otherwise) must draw the same from the same seed.
TEST(UniformInt, DrawsWhatGccsLibraryDraws) {
    for (const auto& [min, max] :
         {std::pair{0, 0}, {1, 31}, {0, 9}, {-5, 5}, {0, 1 << 30}, {INT32_MIN, INT32_MAX}}) {
        std::mt19937 ours(7000000000LL & 0xffffffff);
        std::mt19937 theirs(7000000000LL & 0xffffffff);
        const util::UniformInt own(min, max);
        std::uniform_int_distribution<int> standard(min, max);
        for (int i = 0; i < 2000; ++i) {
            ASSERT_EQ(own(ours), standard(theirs)) << "[" << min << ", " << max << "] draw " << i;
        }
    }
}

}  // namespace
