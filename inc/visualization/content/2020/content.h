// The point-field content: fourteen modes, each drawn by its own animator that lives as long as
// the content, one shared sprite renderer, and per mode a shuffled palette playlist that moves
// on each time the player leaves the mode.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "visualization/content/2020/abstract_animator.h"
#include "visualization/content/2020/renderer.h"
#include "visualization/content/abstract_content.h"

namespace content2020 {

enum class ContentMode : uint32_t {
    RANDOM_1,
    RANDOM_2,
    RANDOM_3,
    RANDOM_4,
    RANDOM_5,
    ZIG_ZAG_1,
    CIRCULAR_1,
    CIRCULAR_2,
    WAVES_1,
    WAVES_2,
    WAVES_3,
    VERTICAL_1,
    DIAMOND_1,
    DIAMOND_2,
};

constexpr size_t kModeCount = 14;

extern const std::map<ContentMode, std::string> ContentModeNames;

// The animator that draws a mode. A value outside the enumeration has none.
std::unique_ptr<AbstractAnimator> createAnimator(ContentMode mode, uint32_t width, uint32_t height);

struct PalettePlaylist {
    std::vector<size_t> indices;  // palette indices in play order
    size_t cursor = 0;
};

class Content : public AbstractContent {
public:
    Content(uint32_t width, uint32_t height, RotateInfo rotation);
    ~Content() override;

    void onModeIndexChanged() override;
    void update(float dt, const SoundInput& sound, const RotationTransition& rotation) override;
    void render() override;
    AODMask getAODMask() const override;
    void setModePaletteIndex(size_t indexMode, size_t indexPalette) override;
    uint32_t getModePaletteIndex() const override;
    colorf getBackgroundColor() const override;
    colorf getBackgroundColor(uint32_t modeIndex) const override;

private:
    void reshufflePaletteItem(size_t modeIndex, bool log);
    // A mode index from the player outside the family falls back to the first mode rather than
    // reading past the tables.
    size_t currentMode() const { return mModeIndex < kModeCount ? mModeIndex : 0; }

    std::array<std::unique_ptr<AbstractAnimator>, kModeCount> mAnimators;
    std::array<PalettePlaylist, kModeCount> mPalettePlaylists;
    // Separate from the base's generator so palette orders do not depend on what else draws
    // from it.
    std::mt19937 mRandom;
    std::unique_ptr<Renderer> mRenderer;
};

}  // namespace content2020
