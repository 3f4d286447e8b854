#include "visualization/content_playlist.h"

#include "visualization/util/shuffle.h"

ContentPlaylist::ContentPlaylist(uint32_t seed) : mRandom(seed) {
    reshuffle(true);
}

void ContentPlaylist::reshuffle(bool sequential) {
    if (sequential) {
        for (uint32_t i = 0; i < kLength; ++i) {
            mModes[i] = static_cast<ContentMode>(i + 1);
        }
    } else {
        util::reshuffle(mModes.data(), mModes.size(), mDistribution, mRandom);
    }
}

ContentPlaylist::Next ContentPlaylist::advance(const std::set<ContentMode>& restricted,
                                               const std::set<ContentCategory>& categories,
                                               ContentMode shown) {
    step();
    // How far the last search got, counted from position 0 without wrapping.
    uint32_t reach = 0;
    bool found = true;
    if (!restricted.empty()) {
        reach = mPosition;
        const uint32_t steps = stepsUntil(
            [&](ContentMode mode) { return mode != shown && restricted.count(mode) != 0; });
        reach += steps;
        found = steps < kLength;
    }
    if (found && !categories.empty() && categories.size() != ContentCategoryNames.size()) {
        reach = mPosition;
        const uint32_t steps = stepsUntil([&](ContentMode mode) {
            return mode != shown && categories.count(ContentModeCategories.at(mode)) != 0;
        });
        reach += steps;
        found = steps < kLength;
    }
    return {found ? current() : shown, mPosition == kLength - 1 || reach >= kLength - 1};
}
