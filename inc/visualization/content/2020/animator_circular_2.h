// Rings of touching dots around the screen centre: each dot glows with the level history read
// from its ring outwards, and a second layer carries every beat from the centre to the rim.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/2020/abstract_animator.h"
#include "visualization/content/2020/animator_preset.h"
#include "visualization/content/util/animator_data_util.h"

namespace content2020 {

struct AnimatorCircular_2_Preset {
    struct ParametersSoundClass : PaletteMixParameters {
        float radialScale = 1.0f;
        float pulseReach = 1.0f;  // how far out the beat pulse travels, 0..1 of the rings
        float colourSpeed = 0.0f;
        float peakGrowth = 0.0f;  // growth of the outer dots with the newest peak
    };

    AnimatorCircular_2_Preset();

    AnimatorPreset animator;
    std::map<SoundClass, ParametersSoundClass> parameters;
};

class AnimatorCircular_2 : public AbstractAnimator {
public:
    struct Entity {
        float x = 0.0f;
        float y = 0.0f;
        float size = 0.0f;
        float restX = 0.0f;
        float restY = 0.0f;
        float angle = 0.0f;
        float distance = 0.0f;  // pixels from the centre
        float r1 = 0.0f;
        float r2 = 0.0f;
        float l1 = 0.0f;
        float l2 = 0.0f;
        float l3 = 0.0f;
        float l4 = 0.0f;
        uint32_t ring = 0;
        float ringT = 0.0f;
        uint32_t point = 0;
        float pointT = 0.0f;
        uint32_t colorGroup = 0;
    };

    AnimatorCircular_2(uint32_t width, uint32_t height);
    ~AnimatorCircular_2() override;

    using AbstractAnimator::update;
    void update(float dt, const RotationTransition& rotation, const SoundFrame& sound) override;
    size_t getNumPalettes() const override;

private:
    AnimatorCircular_2_Preset mPreset;
    std::vector<Entity> mEntities;
    RelThresholdHistory mPulseHistory{0.45f, 0.65f, 180};
    uint32_t mRings = 28;
    uint32_t mPointsStep = 7;
    uint32_t mPointsFirst = 6;
    float mSizeBase = 20.0f;
    float mSizeFactor = 1.0f;
    float mRadialScale = 1.0f;
    float mLevelEdge0 = 0.0f;
    float mLevelEdge1 = 0.45f;
    float mPulseEdge0 = 0.25f;
    float mPulseEdge1 = 1.0f;
    float mLayerEdge0 = 0.0f;
    float mLayerEdge1 = 1.0f;
    float mColourPhaseFactor = 0.125f;
    float mTurnSpeed = 0.05f;
    float mRotationAngle = 0.0f;
    float mColourPhase = 0.0f;
    float mColourSpeed = 0.25f;

    // Per-frame scratch kept for its capacity.
    AnimatorCircular_2_Preset::ParametersSoundClass mParameters;
    Palette mPalette;
    std::vector<colorf> mGradientA;
    std::vector<colorf> mGradientB;
};

}  // namespace content2020
