// Nested squares standing on their corners: the squares swell outwards with the level history,
// light up in one of two mirrored halves on every beat, and two beat-chosen squares glow along
// their edges.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/2020/abstract_animator.h"
#include "visualization/content/2020/animator_preset.h"
#include "visualization/content/util/animator_data_util.h"

namespace content2020 {

struct AnimatorDiamond_1_Preset {
    struct ParametersSoundClass : PaletteMixParameters {
        float radialScale = 1.0f;
        float sizeFactor = 1.0f;
        float pushAmount = 1.0f;   // how far the outer squares move out with the level
        float patternGlow = 0.0f;  // strength of the glow on the two beat-chosen squares
        float fillMix = 1.0f;      // 0 leaves every second outer square dark, 1 fills them all
    };

    AnimatorDiamond_1_Preset();

    AnimatorPreset animator;
    // Keyed by the five reduced sound classes.
    std::map<SoundClass, ParametersSoundClass> parameters;
};

class AnimatorDiamond_1 : public AbstractAnimator {
public:
    struct Entity {
        float x = 0.0f;
        float y = 0.0f;
        float restX = 0.0f;
        float restY = 0.0f;
        float size = 0.0f;
        float baseSize = 0.0f;
        float distance = 0.0f;  // pixels from the centre
        float angle = 0.0f;
        uint32_t square = 0;  // j, counting only the squares in use
        float t = 0.0f;       // square / number of squares in use
        uint32_t perimeterIndex = 0;
        float perimeterFraction = 0.0f;
        uint32_t edgeIndex = 0;
        float edgeFraction = 0.0f;
        float nx = 0.0f;  // the unturned point within its square, 0..1
        float ny = 0.0f;
        float level0 = 0.0f;  // slow level that pushes the squares out
        float level2 = 0.0f;  // level history along the squares
        float level5 = 0.0f;  // level history across the square, mirrored
        float level6 = 0.0f;  // newest peak
        float level7 = 0.0f;  // glow of the beat-chosen squares
    };

    AnimatorDiamond_1(uint32_t width, uint32_t height);
    ~AnimatorDiamond_1() override;

    using AbstractAnimator::update;
    void update(float dt, const RotationTransition& rotation, const SoundFrame& sound) override;
    size_t getNumPalettes() const override;

private:
    AnimatorDiamond_1_Preset mPreset;
    std::vector<Entity> mEntities;
    float mSpacing = 15.0f;
    uint32_t mSquares = 30;
    uint32_t mStep = 1;  // squares skipped between two used ones
    float mRadialScale = 1.0f;
    float mSizeFactor = 1.0f;
    float mPush = 1.0f;
    float mCentreBeatSize = 1.25f;
    float mLevelSize = 1.75f;
    uint32_t mParity = 0;
    int mPatternA = 0;
    int mPatternB = 0;
    float mGlowThreshold = 0.001f;
    float mHistoryReach = 0.25f;
    uint32_t mGlowSamples = 20;
    RelThreshold mTrigger{0.35f, 0.65f};

    // Per-frame scratch kept for its capacity.
    AnimatorDiamond_1_Preset::ParametersSoundClass mParameters;
    Palette mPalette;
    std::vector<colorf> mGradient1;
    std::vector<colorf> mGradient2;
    std::vector<colorf> mGradient3;
};

}  // namespace content2020
