// A disc of concentric rings of dots around the screen centre with three layers: ambient dots
// that flicker with the quiet end of the level history, rings on which the peak history travels
// outwards and twists, and a sparse layer that shows the spectrum twice around the circle.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/2020/abstract_animator.h"
#include "visualization/content/2020/animator_preset.h"

namespace content2020 {

struct AnimatorCircular_1_Preset {
    struct ParametersSoundClass : PaletteMixParameters {
        float scale = 1.0f;         // size of all layers; the three inner rings grow by 2 - scale
        float historyStart = 2.0f;  // inner end of the ring layer's history range, x 40 frames
        float bandScale = 1.0f;
        float gradientMix = 1.0f;  // outer rings: fixed colour (0) to level gradient (1)
        float falloff = 1.0f;      // radial fade of the ring layer
    };

    AnimatorCircular_1_Preset();

    AnimatorPreset animator;
    // Keyed by the five reduced sound classes.
    std::map<SoundClass, ParametersSoundClass> parameters;
};

class AnimatorCircular_1 : public AbstractAnimator {
public:
    struct Entity {
        float x = 0.0f;
        float y = 0.0f;
        float size = 0.0f;
        float level = 0.0f;     // kept between frames
        float distance = 0.0f;  // radius over half the larger canvas side, at most 1
        uint32_t ring = 0;
        uint32_t index = 0;
    };

    AnimatorCircular_1(uint32_t width, uint32_t height);
    ~AnimatorCircular_1() override;

    using AbstractAnimator::update;
    void update(float dt, const RotationTransition& rotation, const SoundFrame& sound) override;
    size_t getNumPalettes() const override;

private:
    AnimatorCircular_1_Preset mPreset;
    std::vector<Entity> mRingEntities;
    std::vector<Entity> mBandEntities;
    std::vector<Entity> mAmbientEntities;
    uint32_t mRings = 60;
    uint32_t mPointsPerRing = 48;
    float mInnerRadius = 100.0f;
    float mSizeBase = 15.0f;
    float mSizeFactor = 0.75f;
    uint32_t mTwist = 1;
    float mBandOffset = 0.0f;

    // Per-frame scratch kept for its capacity.
    AnimatorCircular_1_Preset::ParametersSoundClass mParameters;
    Palette mPalette;
    std::vector<colorf> mPointColors;
};

}  // namespace content2020
