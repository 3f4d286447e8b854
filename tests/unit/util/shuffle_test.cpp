#include "visualization/util/shuffle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "visualization/types.h"

TEST(Reshuffle, ThreeItemsMustStartWithTheOnlyFreeValue) {
    std::mt19937 engine(42);
    std::uniform_int_distribution<int> distribution(1, 3);
    bool sawOrder123 = false;
    bool sawOrder132 = false;
    for (int round = 0; round < 200; ++round) {
        unsigned int data[3] = {1, 2, 3};
        util::reshuffle(data, 3, distribution, engine);
        ASSERT_EQ(data[0], 1u);
        sawOrder123 |= data[1] == 2 && data[2] == 3;
        sawOrder132 |= data[1] == 3 && data[2] == 2;
    }
    EXPECT_TRUE(sawOrder123 && sawOrder132) << "the tail is random, not a fixed order";
}

TEST(Reshuffle, LongListsArePermutationsAvoidingTheLastTwo) {
    std::mt19937 engine(7);
    std::uniform_int_distribution<int> distribution(1, 31);
    std::vector<unsigned int> data(31);
    std::iota(data.begin(), data.end(), 1u);
    std::vector<int> firstCounts(32, 0);
    for (int round = 0; round < 2000; ++round) {
        const unsigned int last = data[30];
        const unsigned int secondLast = data[29];
        util::reshuffle(data.data(), data.size(), distribution, engine);
        ASSERT_NE(data[0], last);
        ASSERT_NE(data[0], secondLast);
        std::vector<unsigned int> sorted = data;
        std::sort(sorted.begin(), sorted.end());
        ASSERT_TRUE(sorted.front() == 1u && sorted.back() == 31u &&
                    std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end());
        ++firstCounts[data[0]];
    }
    // Every value gets its turn at the front.
    EXPECT_EQ(std::count(firstCounts.begin() + 1, firstCounts.end(), 0), 0);

    // The explicit case: a previous order ending in 7, 12.
    for (int round = 0; round < 500; ++round) {
        std::iota(data.begin(), data.end(), 1u);
        std::swap(data[6], data[29]);
        std::swap(data[11], data[30]);
        util::reshuffle(data.data(), data.size(), distribution, engine);
        ASSERT_NE(data[0], 7u);
        ASSERT_NE(data[0], 12u);
    }
}

TEST(Reshuffle, WorksOnEnumerations) {
    std::mt19937 engine(3);
    std::uniform_int_distribution<int> distribution(0, 3);
    ContentMode data[4] = {static_cast<ContentMode>(0), static_cast<ContentMode>(1),
                           static_cast<ContentMode>(2), static_cast<ContentMode>(3)};
    util::reshuffle(data, 4, distribution, engine);
    EXPECT_TRUE(data[0] != static_cast<ContentMode>(2) && data[0] != static_cast<ContentMode>(3));
}

TEST(ReshuffleDeathTest, TwoItemsAreRefused) {
    std::mt19937 engine(1);
    std::uniform_int_distribution<int> distribution(1, 2);
    unsigned int data[2] = {1, 2};
    EXPECT_DEATH(util::reshuffle(data, 2, distribution, engine),
                 "Assertion failed: length >= NUM_ELEMENTS_MIN_RESHUFFABLE");
}
