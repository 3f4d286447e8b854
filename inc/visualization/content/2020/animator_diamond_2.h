// A tunnel of nested squares standing on their corners that fills the screen: rings of light run
// out from the centre with the level history (or in from the rim, a beat decides), a bright head
// chases around every square, and on beats two families of squares flare up as solid outlines.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/2020/abstract_animator.h"
#include "visualization/content/2020/animator_preset.h"
#include "visualization/content/util/animator_data_util.h"

namespace content2020 {

struct AnimatorDiamond_2_Preset {
    struct ParametersSoundClass : PaletteMixParameters {
        // How far back in the level history the outermost square reads: the smaller, the faster
        // the rings of light cross the tunnel.
        float historyReach = 1.0f;
        float patternGlow = 0.0f;  // strength of the beat-chosen outlines
    };

    AnimatorDiamond_2_Preset();

    AnimatorPreset animator;
    // Keyed by the five reduced sound classes.
    std::map<SoundClass, ParametersSoundClass> parameters;
};

class AnimatorDiamond_2 : public AbstractAnimator {
public:
    struct Entity {
        float x = 0.0f;
        float y = 0.0f;
        float restX = 0.0f;
        float restY = 0.0f;
        float size = 0.0f;
        uint32_t square = 0;  // counting only the squares in use
        float t = 0.0f;       // square / number of squares in use
        // Distance of the square's edges from the centre against the bounding region, at most 1:
        // the rings travel over this, so they cross what the screen shows.
        float radius = 0.0f;
        float perimeterFraction = 0.0f;
        float edgeFraction = 0.0f;
        float level = 0.0f;  // the travelling rings
        float glow = 0.0f;   // the beat-chosen outlines
    };

    AnimatorDiamond_2(uint32_t width, uint32_t height);
    ~AnimatorDiamond_2() override;

    using AbstractAnimator::update;
    void update(float dt, const RotationTransition& rotation, const SoundFrame& sound) override;
    size_t getNumPalettes() const override;

    // Whether square j belongs to a beat-chosen family: every sixth square, from A - 1 or B - 1.
    bool isChosen(uint32_t square) const;

private:
    AnimatorDiamond_2_Preset mPreset;
    std::vector<Entity> mEntities;
    float mSpacing = 12.0f;
    uint32_t mSquares = 100;
    uint32_t mStep = 3;  // squares skipped between two used ones
    float mSize = 15.0f;
    float mGlowSize = 1.2f;   // outline dots against the base size
    float mChaseGain = 2.5f;  // how much the peak speeds up the chase
    float mSizeFactor = 1.0f;
    uint32_t mUsedSquares = 0;
    uint32_t mParity = 0;
    int mPatternA = 0;
    int mPatternB = 0;
    float mPeak = 0.0f;   // smoothed newest peak
    float mChase = 0.0f;  // position of the chase heads, in laps
    RelThreshold mTrigger{0.35f, 0.65f};

    // Per-frame scratch kept for its capacity.
    AnimatorDiamond_2_Preset::ParametersSoundClass mParameters;
    Palette mPalette;
    std::vector<colorf> mGradient1;
    std::vector<colorf> mGradient2;
    std::vector<colorf> mGradient3;
};

}  // namespace content2020
