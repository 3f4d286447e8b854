// A wide ribbon of honeycomb dots that tilts up and down as one long zigzag: the dots swell with
// the peak history read outwards from the centre, so every loud moment spreads sideways along
// the ribbon, and the newest peak lifts the zigzag higher.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/2020/abstract_animator.h"
#include "visualization/content/2020/animator_preset.h"

namespace content2020 {

struct AnimatorZigZag_1_Preset {
    struct ParametersSoundClass : PaletteMixParameters {
        float reach = 1.0f;  // how far back in the history the ribbon's ends read
        float sizeFactor = 1.0f;
        float oddRowFactor = 1.0f;  // size of the odd rows against the even ones
        float phaseSpeed = 1.0f;
        float peakGain = 1.0f;  // how much the newest peak lifts the zigzag
    };

    AnimatorZigZag_1_Preset();

    AnimatorPreset animator;
    // Keyed by the five reduced sound classes.
    std::map<SoundClass, ParametersSoundClass> parameters;
};

class AnimatorZigZag_1 : public AbstractAnimator {
public:
    struct Entity {
        float x = 0.0f;
        float y = 0.0f;
        float size = 0.0f;
        float restX = 0.0f;
        float restY = 0.0f;
        int32_t row = 0;
    };

    AnimatorZigZag_1(uint32_t width, uint32_t height);
    ~AnimatorZigZag_1() override;

    using AbstractAnimator::update;
    void update(float dt, const RotationTransition& rotation, const SoundFrame& sound) override;
    size_t getNumPalettes() const override;

private:
    AnimatorZigZag_1_Preset mPreset;
    std::vector<Entity> mEntities;
    int32_t mColumns = 40;
    float mWeightX = 0.06f;  // of x squared in the ribbon's distance measure
    float mWeightY = 1.56f;  // of y squared
    float mPhase = 0.0f;
    float mPhaseScale = 0.1f;
    float mAmplitude = 100.0f;
    float mFrequency = 0.0015f;
    float mSizeBase = 22.0f;
    float mPeakGain = 0.1f;

    // Per-frame scratch kept for its capacity.
    AnimatorZigZag_1_Preset::ParametersSoundClass mParameters;
    Palette mPalette;
    std::vector<colorf> mGradient;
};

}  // namespace content2020
