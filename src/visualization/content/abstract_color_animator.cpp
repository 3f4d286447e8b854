#include "visualization/content/abstract_color_animator.h"

#include <algorithm>
#include <numeric>

#include "visualization/log.h"
#include "visualization/util/assert.h"
#include "visualization/util/shuffle.h"

namespace {

// One list of the palette in use, moved toward its target by s. The target is mixed colour by
// colour instead of into a list of its own, so that a frame allocates nothing.
void moveToward(std::vector<colorf>& colors, const std::vector<colorf>& colorsDefault,
                const std::vector<colorf>& colorsAOD, float displayModeBlend, float s) {
    if (displayModeBlend != 0.0f && displayModeBlend != 1.0f) {
        VIZ_ASSERT(colorsDefault.size() == colorsAOD.size());
        VIZ_ASSERT(colors.size() == colorsDefault.size());
        for (size_t i = 0; i < colors.size(); ++i) {
            colors[i] = mix_color(colors[i],
                                  mix_color(colorsDefault[i], colorsAOD[i], displayModeBlend), s);
        }
        return;
    }
    const std::vector<colorf>& target =
        static_cast<int>(displayModeBlend) == 0 ? colorsDefault : colorsAOD;
    VIZ_ASSERT(colors.size() == target.size());
    for (size_t i = 0; i < colors.size(); ++i) {
        colors[i] = mix_color(colors[i], target[i], s);
    }
}

}  // namespace

AbstractColorAnimator::AbstractColorAnimator(uint32_t width, uint32_t height)
    : AbstractAnimator(width, height) {}

void AbstractColorAnimator::update(float dt, const SoundInput& sound,
                                   const RotationTransition& orientation) {
    AbstractAnimator::update(dt, sound, orientation);
    const std::vector<colorf>& background = mCurrentPalette.background;
    if (background.empty()) {
        return;
    }
    mBackgroundColor = mix_color(background[0], background[1], mBeatImpulseSmoothed);
}

void AbstractColorAnimator::createPalettePlaylist(const Preset& preset) {
    const std::vector<GroupPalettes>& palettesDefault = preset.palettes.at(DisplayMode::DEFAULT);
    const std::vector<GroupPalettes>& palettesAOD = preset.palettes.at(DisplayMode::AOD);
    VIZ_ASSERT(palettesDefault.size() == palettesAOD.size() &&
               "DEFAULT and AOD palettes not equal length!");
    // The playlist position is taken modulo the palette count; an animator without palettes has
    // to stop here, where the broken table is named, rather than in some later frame.
    VIZ_ASSERT(!palettesDefault.empty() && "Animator has no color palettes!");

    for (const std::vector<GroupPalettes>* palettes : {&palettesDefault, &palettesAOD}) {
        const GroupPalettes& front = palettes->front();
        VIZ_ASSERT(!front.empty() && "Front color palette is empty!");
        const size_t colorsLength = front[0].colors.size();
        const size_t backgroundLength = front[0].background.size();
        bool match = true;
        for (const GroupPalettes& palette : *palettes) {
            for (const ColorPalette& entry : palette) {
                match = match && entry.colors.size() == colorsLength &&
                        entry.background.size() == backgroundLength;
            }
        }
        VIZ_ASSERT(match && "Color palette entries not equal length!");
        // update() mixes background entries 0 and 1 whenever there is a background at all.
        VIZ_ASSERT((backgroundLength == 0 || backgroundLength >= 2) &&
                   "Background needs a resting and a beat color!");
    }

    mPaletteLength = static_cast<uint32_t>(palettesDefault.size());
    mPaletteIndex = 0;
    mPalettePlaylist.resize(mPaletteLength);
    std::iota(mPalettePlaylist.begin(), mPalettePlaylist.end(), 0u);
    mPalettePlaylistPosition = 0;
    mPaletteDistribution = util::UniformInt(0, std::max(0, static_cast<int>(mPaletteLength) - 1));
    mCurrentPalette =
        palettesDefault[0].at(static_cast<size_t>(SoundClassGroups.at(SoundClass::Moderate)));
}

void AbstractColorAnimator::reshuffle(std::mt19937& engine) {
    // With one or two palettes there is no order that avoids repeating one of the last two, so
    // such playlists simply keep alternating.
    if (mPalettePlaylist.size() > 2) {
        util::reshuffle(mPalettePlaylist.data(), mPalettePlaylist.size(), mPaletteDistribution,
                        engine);
    }
}

void AbstractColorAnimator::reshufflePalettePlaylist(std::mt19937& engine) {
    VIZ_ASSERT(!mPalettePlaylist.empty() && "Palette playlist not created!");
    reshuffle(engine);
    mPaletteIndex = mPalettePlaylist.at(mPalettePlaylistPosition);
}

void AbstractColorAnimator::advancePalettePlaylist(std::mt19937& engine) {
    beginScope("[AbstractColorAnimator][advancePalettePlaylist]");
    VIZ_ASSERT(!mPalettePlaylist.empty() && "Palette playlist not created!");
    const size_t size = mPalettePlaylist.size();
    mPalettePlaylistPosition = static_cast<uint32_t>((mPalettePlaylistPosition + 1) % size);
    if (size > 2) {
        // The new order is drawn before the last position is read, so the wrap that follows
        // starts on a palette that was not among the last two shown.
        if (mPalettePlaylistPosition == size - 1) {
            reshuffle(engine);
        }
        mPaletteIndex = mPalettePlaylist.at(mPalettePlaylistPosition);
    } else {
        mPaletteIndex = mPalettePlaylistPosition;
    }
    mResetPending = true;
    logInScope("Palette index: %i", static_cast<int>(mPaletteIndex));
    endScope();
}

void AbstractColorAnimator::advancePaletteIndexTo(size_t index) {
    VIZ_ASSERT(index < mPaletteLength);
    if (mPalettePlaylist[mPalettePlaylistPosition] == index) {
        return;
    }
    const auto found = std::find(mPalettePlaylist.begin(), mPalettePlaylist.end(), index);
    mPalettePlaylistPosition = static_cast<uint32_t>(found - mPalettePlaylist.begin());
    mPaletteIndex = *found;
    mResetPending = true;
}

const ColorPalette& AbstractColorAnimator::updatePalette(const Preset& preset) {
    const size_t group = static_cast<size_t>(mSoundClassGroup);
    const ColorPalette& paletteDefault =
        preset.palettes.at(DisplayMode::DEFAULT).at(mPaletteIndex).at(group);
    const ColorPalette& paletteAOD =
        preset.palettes.at(DisplayMode::AOD).at(mPaletteIndex).at(group);
    moveToward(mCurrentPalette.colors, paletteDefault.colors, paletteAOD.colors, mDisplayModeBlend,
               mSoundClassBlend);
    moveToward(mCurrentPalette.background, paletteDefault.background, paletteAOD.background,
               mDisplayModeBlend, mSoundClassBlend);
    return mCurrentPalette;
}
