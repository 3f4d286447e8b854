// Bubbles that pop up on beats: each trigger of the level histories scatters a burst of
// non-overlapping discs over the screen, which swell with their history, drift outwards with the
// quiet level and shrink away over a life that grows with their radius.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/2020/abstract_animator.h"
#include "visualization/content/2020/animator_preset.h"
#include "visualization/content/util/animator_data_util.h"

namespace content2020 {

struct AnimatorRandom_1_Preset {
    struct ParametersSoundClass : PaletteMixParameters {
        float countFactor = 1.0f;  // of the spawn attempts per trigger
        float minRadiusFactor = 1.0f;
        float maxRadiusFactor = 1.0f;
        float minLifeFactor = 1.0f;
        float maxLifeFactor = 1.0f;
        float pushFactor = 1.0f;
    };

    AnimatorRandom_1_Preset();

    AnimatorPreset animator;
    // Keyed by the five reduced sound classes.
    std::map<SoundClass, ParametersSoundClass> parameters;
};

class AnimatorRandom_1 : public AbstractAnimator {
public:
    struct Entity {
        float x = 0.0f;
        float y = 0.0f;
        float originX = 0.0f;
        float originY = 0.0f;
        float radius = 0.0f;
        uint32_t group = 0;  // 0 minimum, 1 median, 2 maximum history
        float lifetime = 0.0f;
        float life = 0.0f;
        float level1 = 0.0f;  // history along the origin's distance: the push
        float level2 = 0.0f;  // newest level of the group: the swell
        float growth = 0.0f;  // 0 at birth, 1 once fully grown
        float level3 = 0.0f;  // history along the distance: the colour
        float size = 0.0f;
    };

    AnimatorRandom_1(uint32_t width, uint32_t height);
    ~AnimatorRandom_1() override;

    using AbstractAnimator::update;
    void update(float dt, const RotationTransition& rotation, const SoundFrame& sound) override;
    size_t getNumPalettes() const override;

private:
    // Scatters attempts at new discs; factor scales the radius range (weak or strong trigger).
    void spawn(float factor, const AnimatorRandom_1_Preset::ParametersSoundClass& p);

    AnimatorRandom_1_Preset mPreset;
    std::vector<Entity> mParticles;
    uint32_t mSpawnCount = 140;
    float mMinRadius = 15.0f;
    float mMaxRadius = 100.0f;
    float mWeakSpawn = 0.5f;
    float mStrongSpawn = 1.0f;
    float mMinLife = 1.5f;
    float mMaxLife = 10.5f;
    float mSizeFactor = 1.1f;
    float mPushDistance = 200.0f;
    uint64_t mFrameCounter = 0;
    RelThreshold mThresholdMin{0.25f, 0.5f};
    RelThreshold mThresholdMid{0.35f, 0.65f};
    RelThreshold mThresholdMax{0.35f, 0.65f};

    // Per-frame scratch kept for its capacity.
    AnimatorRandom_1_Preset::ParametersSoundClass mParameters;
    Palette mPalette;
    std::vector<colorf> mGradient;
};

}  // namespace content2020
