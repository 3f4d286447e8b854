// The palette machinery of the cubes, ring and lines animators. Each animator's preset holds its
// palettes twice, for the DEFAULT and the AOD look, and every palette once per sound-class group.
// A shuffled playlist picks the palette; every frame the colours in use move toward the entry for
// the current display-mode blend and group, and the background follows the beat impulse.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <random>
#include <vector>

#include "visualization/content/abstract_animator.h"
#include "visualization/types.h"
#include "visualization/util/color.h"
#include "visualization/util/shuffle.h"

struct ColorPalette {
    // The family's foreground colours; how many is fixed per animator.
    std::vector<colorf> colors;
    // Entry 0 is the resting background, entry 1 the background at full beat impulse.
    std::vector<colorf> background;
};

class AbstractColorAnimator : public AbstractAnimator {
public:
    // One ColorPalette per SoundClassGroup, indexed by the group's value.
    using GroupPalettes = std::array<ColorPalette, 5u>;

    // The palette part of every colour animator's preset; a family's preset starts with it.
    struct Preset {
        // DEFAULT and AOD are both required and hold equally many palettes, so that the two looks
        // can be blended palette by palette.
        std::map<DisplayMode, std::vector<GroupPalettes> > palettes;
    };

    AbstractColorAnimator(uint32_t width, uint32_t height);

    void update(float dt, const SoundInput& sound, const RotationTransition& orientation) override;

    // The owning content calls this once after construction, with its own engine.
    void reshufflePalettePlaylist(std::mt19937& engine);
    // Called on the animator of the mode being left, so that the mode shows its next palette when
    // it comes back. Logs the new index.
    void advancePalettePlaylist(std::mt19937& engine);
    void advancePaletteIndexTo(size_t index);

    uint32_t getPaletteIndex() const { return mPaletteIndex; }
    colorf getBackgroundColor() const { return mBackgroundColor; }

protected:
    // Checks the preset's tables (a broken table is fatal) and starts the playlist in order on
    // palette 0; the family's constructor calls it once it has built its preset.
    void createPalettePlaylist(const Preset& preset);
    // Moves the colours in use toward the current target and returns them; the family's animate()
    // calls it once per frame with the preset it was created from.
    const ColorPalette& updatePalette(const Preset& preset);

    uint32_t mPaletteIndex = 0;
    uint32_t mPaletteLength = 0;
    std::vector<uint32_t> mPalettePlaylist;
    uint32_t mPalettePlaylistPosition = 0;
    util::UniformInt mPaletteDistribution{0, 0};
    ColorPalette mCurrentPalette;
    colorf mBackgroundColor{0.0f, 0.0f, 0.0f, 1.0f};

private:
    void reshuffle(std::mt19937& engine);
};
