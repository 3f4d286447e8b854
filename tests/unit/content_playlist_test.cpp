#include "visualization/content_playlist.h"

#include <gtest/gtest.h>

#include <set>

namespace {

ContentMode mode(int value) {
    return static_cast<ContentMode>(value);
}

TEST(ContentPlaylist, ReshufflesIntoAnotherOrderThatDoesNotRepeatAcrossTheSeam) {
    ContentPlaylist playlist(7);
    std::vector<ContentMode> previous;
    for (int value = 1; value <= 31; ++value) {
        ASSERT_EQ(playlist.current(), mode(value));
        previous.push_back(playlist.current());
        if (value < 31) {
            playlist.advance({}, {}, ContentMode::NONE);
        }
    }
    // As the player does it: on the last entry, so the next advance starts the new order.
    for (int lap = 0; lap < 20; ++lap) {
        playlist.reshuffle(false);
        std::vector<ContentMode> order;
        for (uint32_t i = 0; i < ContentPlaylist::kLength; ++i) {
            order.push_back(playlist.advance({}, {}, ContentMode::NONE).mode);
        }
        EXPECT_NE(order[0], previous[29]);
        EXPECT_NE(order[0], previous[30]);
        EXPECT_EQ(std::set<ContentMode>(order.begin(), order.end()).size(), 31u);
        previous = order;
    }
}

TEST(ContentPlaylist, TheLapEndsOnTheLastEntryOrWhenASearchWrapsPastIt) {
    ContentPlaylist playlist(1);
    for (int value = 2; value <= 31; ++value) {
        EXPECT_EQ(playlist.advance({}, {}, ContentMode::NONE).lapEnded, value == 31) << value;
    }
    EXPECT_FALSE(playlist.advance({}, {}, ContentMode::NONE).lapEnded);  // back at 1

    const std::set<ContentCategory> points = {ContentCategory::CONTENT_2020};
    for (int value = 2; value <= 13; ++value) {
        playlist.advance({}, {}, ContentMode::NONE);
    }
    const ContentPlaylist::Next last = playlist.advance({}, points, mode(13));
    EXPECT_EQ(last.mode, mode(14));
    EXPECT_FALSE(last.lapEnded);
    const ContentPlaylist::Next wrapped = playlist.advance({}, points, mode(14));
    EXPECT_EQ(wrapped.mode, mode(1));
    EXPECT_TRUE(wrapped.lapEnded);
}

}  // namespace
