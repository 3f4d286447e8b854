// A honeycomb cut into vertical stripes, over which rings of the level history run outwards from
// the centre and push the dots straight away from it. Stripes take turns reading the minimum,
// median and maximum history, so the rings break into bands of different strength.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/2020/abstract_animator.h"
#include "visualization/content/2020/animator_preset.h"

namespace content2020 {

struct AnimatorVertical_1_Preset {
    struct ParametersSoundClass : PaletteMixParameters {
        float reach = 1.0f;           // share of the history spread from the centre to a corner
        float pushFactor = 1.0f;      // of the push distance
        float sizeFactor = 1.0f;      // of all dots
        float levelSpeed = 8.0f;      // how fast a dot's level follows its history, per second
        float stripeContrast = 0.0f;  // how much smaller the odd stripes' dots are, 0..1
        float accentMix = 1.0f;       // how far the maximum stripes turn to the accent colour
        float peakGrowth = 0.0f;      // growth of the dots near the centre with the newest peak
    };

    AnimatorVertical_1_Preset();

    AnimatorPreset animator;
    // Keyed by the five reduced sound classes.
    std::map<SoundClass, ParametersSoundClass> parameters;
};

class AnimatorVertical_1 : public AbstractAnimator {
public:
    struct Entity {
        float x = 0.0f;
        float y = 0.0f;
        float size = 0.0f;
        float restX = 0.0f;
        float restY = 0.0f;
        float directionX = 0.0f;  // unit vector from the centre through the rest position
        float directionY = 0.0f;
        float t = 0.0f;  // distance of the rest position from the centre, 1 at the corners
        float level = 0.0f;
        uint32_t stripe = 0;  // 0 .. stripes - 1, from the left
        uint32_t group = 0;   // stripe modulo 3: which history the stripe reads
    };

    AnimatorVertical_1(uint32_t width, uint32_t height);
    ~AnimatorVertical_1() override;

    using AbstractAnimator::update;
    void update(float dt, const RotationTransition& rotation, const SoundFrame& sound) override;
    size_t getNumPalettes() const override;

private:
    AnimatorVertical_1_Preset mPreset;
    std::vector<Entity> mEntities;
    int32_t mColumns = 50;
    uint32_t mStripes = 10;
    float mSizeBase = 15.0f;
    float mPushDistance = 400.0f;
    float mSizeFactor = 0.8f;
    float mVerticalStepFactor = 1.0f;

    // Per-frame scratch kept for its capacity.
    AnimatorVertical_1_Preset::ParametersSoundClass mParameters;
    Palette mPalette;
    std::vector<colorf> mGradient;
    colorf mAccent;
};

}  // namespace content2020
