// A wide grid of dots whose rows swing up and down as one travelling wave: even rows carry the
// peak history across the screen, odd rows a faint trail of the median history, and every
// eighth row lights up with the newest level of its colour group.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/2020/abstract_animator.h"
#include "visualization/content/2020/animator_preset.h"

namespace content2020 {

struct AnimatorWaves_2_Preset {
    struct ParametersSoundClass : PaletteMixParameters {
        float evenSize = 1.0f;
        float oddSize = 1.0f;
        float eighthRowSize = 1.0f;
        float otherRowSize = 1.0f;
        float phaseSpeed = 1.0f;
    };
    // Chosen by the screen orientation.
    struct Parameters {
        float turn = 0.0f;  // of the grid, in half turns
    };

    AnimatorWaves_2_Preset();

    AnimatorPreset animator;
    // Keyed by the five reduced sound classes.
    std::map<SoundClass, ParametersSoundClass> parameters;
    std::map<RotateInfo, Parameters> rotation;
};

class AnimatorWaves_2 : public AbstractAnimator {
public:
    struct Entity {
        float x = 0.0f;
        float y = 0.0f;
        float size = 0.0f;
        float restX = 0.0f;
        float restY = 0.0f;
        float level1 = 0.0f;  // peak history along the diagonal
        float level2 = 0.0f;  // newest level of the row's group
        float level3 = 0.0f;  // median history along the row
        float u = 0.0f;       // column / 55
        float v = 0.0f;       // row / 24
        float random = 0.0f;
        int32_t row = 0;
        uint32_t group = 0;
    };

    AnimatorWaves_2(uint32_t width, uint32_t height);
    ~AnimatorWaves_2() override;

    using AbstractAnimator::update;
    void update(float dt, const RotationTransition& rotation, const SoundFrame& sound) override;
    size_t getNumPalettes() const override;

private:
    AnimatorWaves_2_Preset mPreset;
    std::vector<Entity> mEntities;
    int32_t mColumns = 56;
    int32_t mRows = 25;
    int32_t mColumnMargin = 4;
    int32_t mRowMargin = 14;
    float mPhase = 0.0f;
    float mPhaseScale = 0.125f;
    float mEvenAmplitude = 200.0f;
    float mOddAmplitude = 100.0f;
    float mScaleX = 1.0f;
    float mWaveGain = 1.0f;
    float mEvenSize = 10.0f;
    float mOddSize = 5.0f;
    float mSizeFactor = 0.75f;

    AnimatorWaves_2_Preset::ParametersSoundClass mParameters;
    Palette mPalette;
    std::vector<colorf> mColors;
};

}  // namespace content2020
