// A honeycomb of dots rolling as one long swell: every point is pushed sideways away from the
// vertical centre line by the level history read further back the further out it sits, so the
// music runs outwards to both edges, while the rows ride a slow sine wave lifted by the median.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/2020/abstract_animator.h"
#include "visualization/content/2020/animator_preset.h"

namespace content2020 {

struct AnimatorWaves_1_Preset {
    struct ParametersSoundClass : PaletteMixParameters {
        float reach2 = 0.2f;  // share of the history that group 2 spreads over the screen
        float sizeFactor0 = 1.0f;
        float sizeFactor1 = 1.0f;
        float sizeFactor2 = 1.0f;
        float waveGain = 1.0f;  // how much the median peak lifts the swell
        // Whole numbers have no in-between: a blend takes them from the record the music is
        // heading to. The frame does not read them; they complete the class table.
        int32_t patternA = 0;
        int32_t patternB = 0;
    };

    AnimatorWaves_1_Preset();

    AnimatorPreset animator;
    // Keyed by the five reduced sound classes.
    std::map<SoundClass, ParametersSoundClass> parameters;
};

class AnimatorWaves_1 : public AbstractAnimator {
public:
    struct Entity {
        float x = 0.0f;
        float y = 0.0f;
        float size = 0.0f;
        float restX = 0.0f;
        float restY = 0.0f;
        uint32_t group = 0;  // row modulo 3: which history the point reads
        float level = 0.0f;
        float random = 0.0f;
    };

    AnimatorWaves_1(uint32_t width, uint32_t height);
    ~AnimatorWaves_1() override;

    using AbstractAnimator::update;
    void update(float dt, const RotationTransition& rotation, const SoundFrame& sound) override;
    size_t getNumPalettes() const override;

private:
    AnimatorWaves_1_Preset mPreset;
    std::vector<Entity> mEntities;
    int32_t mColumns = 33;
    float mVerticalStepFactor = 1.0f;
    float mWaveSpeed = 0.85f;
    float mWaveHeight = 64.0f;
    float mWaveLengthFactor = 24.0f;
    float mPeakGain = 1.125f;
    float mPushDistance = 560.0f;
    float mWaveNumber = 0.0001f;
    float mSizeBase = 15.0f;
    float mSizeFactor = 1.0f;
    float mSmoothedPeak = 0.0f;
    float mReach = 0.2f;  // of groups 0 and 1

    // Per-frame scratch kept for its capacity.
    AnimatorWaves_1_Preset::ParametersSoundClass mParameters;
    Palette mPalette;
    std::vector<colorf> mGradient1;
    std::vector<colorf> mGradient2;
};

}  // namespace content2020
