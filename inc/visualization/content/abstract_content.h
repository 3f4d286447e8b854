// The interface of every content family. The content player owns one instance per family and
// drives the one of the current mode; a content that is not current gets no calls except
// setTransition while it fades out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>

#include "visualization/rotation_transition.h"
#include "visualization/sound_input.h"
#include "visualization/types.h"
#include "visualization/util/color.h"
#include "visualization/util/math/vector.h"

// The window through which the AOD overlay lets a content show. The default (index 0, zero
// scale) is never drawn.
struct AODMask {
    uint32_t index = 0;
    vec2f scale;
    vec2f offset;
    quatf rotation;

    AODMask() = default;
    AODMask(uint32_t maskIndex, vec2f maskScale, vec2f maskOffset)
        : index(maskIndex), scale(maskScale), offset(maskOffset) {}
};

class AbstractContent {
public:
    AbstractContent(uint32_t width, uint32_t height, RotateInfo rotation);

    // The virtual operations keep this order: hosts of the library on the TV rely on the slots.
    virtual void onModeIndexSet() {}
    virtual void onModeIndexChanged() {}
    virtual ~AbstractContent() = default;
    virtual void update(float dt, const SoundInput& sound, const RotationTransition& rotation) = 0;
    virtual void render() = 0;
    virtual AODMask getAODMask() const { return AODMask(); }
    virtual void setModePaletteIndex(size_t modeIndex, size_t paletteIndex) = 0;
    virtual uint32_t getModePaletteIndex() const = 0;
    virtual colorf getBackgroundColor() const = 0;
    virtual colorf getBackgroundColor(uint32_t modeIndex) const = 0;
    // False when the content has nothing to show in any of its modes (the kaleidoscope without
    // a usable photograph); the player then leaves its modes out of the playlist. Added after
    // the slots above so that they keep their places.
    virtual bool isPlayable() const { return true; }

    AbstractContent(const AbstractContent&) = delete;
    AbstractContent& operator=(const AbstractContent&) = delete;

    void setPaused(bool paused) { mPaused = paused; }
    bool isPaused() const { return mPaused; }
    void setTransition(float transition) { mTransition = transition; }
    float getTransition() const { return mTransition; }
    void setBlend(float blend) { mBlend = blend; }
    void setDisplayModeBlend(float blend) { mDisplayModeBlend = blend; }

    // Selects the variant to show. onModeIndexChanged runs only on a real change, while both
    // indices still name the mode being left; onModeIndexSet runs every time.
    void setModeIndex(uint32_t modeIndex);

protected:
    uint32_t mWidth;
    uint32_t mHeight;
    RotateInfo mRotation;
    bool mPaused = false;
    float mTransition = 0.0f;
    float mBlend = 1.0f;
    float mDisplayModeBlend = 0.0f;
    uint32_t mModeIndex = 0;
    uint32_t mModeIndexPrevious = 0;
    std::mt19937 mRandom;
};
