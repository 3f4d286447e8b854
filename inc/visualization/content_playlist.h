// The order in which the content player visits the 31 playable modes, and its position in it.
// Stepping wraps around. Every search gives up after one lap, back where it started, so that a
// preset that nothing satisfies cannot hang the frame. The playlist logs nothing: the player
// owns the scopes its operations run in.
#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <set>

#include "visualization/types.h"
#include "visualization/util/shuffle.h"

class ContentPlaylist {
public:
    static constexpr uint32_t kLength = kPlaylistLength;

    // The modes 1..31 in order; the engine is only drawn from by reshuffle.
    explicit ContentPlaylist(uint32_t seed);

    ContentMode current() const { return mModes[mPosition]; }
    uint32_t position() const { return mPosition; }

    // A new random order whose first mode is neither of the last two of the previous one, or
    // the modes 1..31 in order. The position stays, so after a reshuffle at the end of a lap
    // the next advance starts the new order at its first entry.
    void reshuffle(bool sequential);

    // Steps until `accept` holds for the current mode. Returns false after a fruitless lap.
    template <typename Accept>
    bool seek(Accept accept);

    struct Next {
        ContentMode mode;
        bool lapEnded;  // time to reshuffle
    };
    // One step, then on to the next mode other than `shown` that lies in `restricted` (unless
    // empty) and in `categories` (unless empty or all of them). When no other mode qualifies,
    // `shown` stays. The lap has ended when the last search reached the last entry or wrapped.
    Next advance(const std::set<ContentMode>& restricted,
                 const std::set<ContentCategory>& categories, ContentMode shown);

private:
    void step() { mPosition = (mPosition + 1) % kLength; }
    template <typename Accept>
    uint32_t stepsUntil(Accept accept);

    std::mt19937 mRandom;
    util::UniformInt mDistribution{1, static_cast<int>(kLength)};
    std::array<ContentMode, kLength> mModes{};
    uint32_t mPosition = 0;
};

template <typename Accept>
uint32_t ContentPlaylist::stepsUntil(Accept accept) {
    uint32_t steps = 0;
    while (steps < kLength && !accept(current())) {
        step();
        ++steps;
    }
    return steps;
}

template <typename Accept>
bool ContentPlaylist::seek(Accept accept) {
    return stepsUntil(accept) < kLength;
}
