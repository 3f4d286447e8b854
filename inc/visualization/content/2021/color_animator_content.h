// What the palette-animated 2021 families share: one animator per mode, living as long as the
// content, driven with the content's pause, fade and display-mode blend, whose palette playlist
// moves on when its mode is left. A family adds its renderer, its render() and its scopes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "visualization/content/abstract_content.h"

namespace content2021 {

template <typename Animator, size_t ModeCount>
class ColorAnimatorContent : public AbstractContent {
public:
    using AbstractContent::AbstractContent;

    void onModeIndexChanged() override {
        animator(mModeIndexPrevious).advancePalettePlaylist(mRandom);
    }
    void update(float dt, const SoundInput& sound, const RotationTransition& rotation) override {
        Animator& current = animator(mModeIndex);
        current.setPaused(mPaused);
        current.setFade(mTransition);
        current.setDisplayModeBlend(mDisplayModeBlend);
        current.update(dt, sound, rotation);
    }
    // Mode indices past the last mode are out of range (std::out_of_range).
    void setModePaletteIndex(size_t modeIndex, size_t paletteIndex) override {
        animator(modeIndex).advancePaletteIndexTo(paletteIndex);
    }
    uint32_t getModePaletteIndex() const override { return animator(mModeIndex).getPaletteIndex(); }
    colorf getBackgroundColor() const override { return getBackgroundColor(mModeIndex); }
    colorf getBackgroundColor(uint32_t modeIndex) const override {
        return animator(modeIndex).getBackgroundColor();
    }

protected:
    // Each mode starts at its own place in its palette playlist.
    void reshufflePalettePlaylists() {
        for (std::unique_ptr<Animator>& each : mAnimators) {
            each->reshufflePalettePlaylist(mRandom);
        }
    }
    Animator& animator(size_t modeIndex) const { return *mAnimators.at(modeIndex); }

    std::array<std::unique_ptr<Animator>, ModeCount> mAnimators;
};

}  // namespace content2021
