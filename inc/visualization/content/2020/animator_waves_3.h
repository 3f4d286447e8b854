// Upright strings of dots, three kinds side by side: oval rings of the level history run out
// from the centre, thicken the strings where they pass and push them apart, and loud strings
// quiver like plucked ones. Each kind reads its own history and lets its rings travel at its
// own pace.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/2020/abstract_animator.h"
#include "visualization/content/2020/animator_preset.h"

namespace content2020 {

struct AnimatorWaves_3_Preset {
    // The five palette weights are all this mode takes from the sound class.
    using ParametersSoundClass = PaletteMixParameters;
    // Chosen by the screen orientation: weights of the two axes in the distance that indexes the
    // history, so the rings are ovals that reach the four screen edges together.
    struct Parameters {
        float stretchX = 1.0f;
        float stretchY = 1.0f;
    };

    AnimatorWaves_3_Preset();

    AnimatorPreset animator;
    // Keyed by the five reduced sound classes.
    std::map<SoundClass, ParametersSoundClass> parameters;
    std::map<RotateInfo, Parameters> rotation;
};

class AnimatorWaves_3 : public AbstractAnimator {
public:
    struct Entity {
        float x = 0.0f;
        float y = 0.0f;
        float size = 0.0f;
        float restX = 0.0f;
        float restY = 0.0f;
        float level = 0.0f;
        int32_t row = 0;  // of the lattice before the turn: one string on screen
        int32_t column = 0;
        uint32_t group = 0;  // row modulo 3: history, pace and colours of the string
    };

    AnimatorWaves_3(uint32_t width, uint32_t height);
    ~AnimatorWaves_3() override;

    using AbstractAnimator::update;
    void update(float dt, const RotationTransition& rotation, const SoundFrame& sound) override;
    size_t getNumPalettes() const override;

private:
    AnimatorWaves_3_Preset mPreset;
    std::vector<Entity> mEntities;
    int32_t mColumns = 46;
    int32_t mColumnMargin = 7;
    int32_t mRowMargin = 7;
    float mVerticalStepFactor = 2.575f;
    float mDotSpacing = 0.0f;     // along a string
    float mStringSpacing = 0.0f;  // between strings
    // Share of the history a string of each group spreads from the centre to the edges: the
    // minimum rolls in slow, wide rings, the maximum in quick short ones.
    float mReach[3] = {0.8f, 0.45f, 0.2f};
    float mPushDistance = 120.0f;
    float mSizeRatio = 0.45f;  // of the dot spacing at full level
    float mQuiver = 14.0f;     // sideways swing of a string at full level, pixels
    float mQuiverWaveNumber = 0.02f;
    float mQuiverSpeed = 3.0f;

    // Per-frame scratch kept for its capacity.
    AnimatorWaves_3_Preset::ParametersSoundClass mParameters;
    Palette mPalette;
    std::vector<colorf> mGradients[3];
};

}  // namespace content2020
