// Soft bubbles that pop up on beats: each of three triggers (quiet, median and peak level) blows
// a handful of large discs into free slots anywhere over the screen; they swell in at once, drift
// slowly, breathe with the newest level of their history and fade out over their life.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/2020/abstract_animator.h"
#include "visualization/content/2020/animator_preset.h"

namespace content2020 {

struct AnimatorRandom_4_Preset {
    struct ParametersSoundClass : PaletteMixParameters {
        float spawnFactor = 1.0f;  // scales the bubbles blown per trigger
        float speedFactor = 1.0f;  // scales the drift
    };
    // Chosen by the screen orientation: the spawn field's half extents as fractions of the spawn
    // radius, so that bubbles are born where the upright picture is.
    struct Parameters {
        float fieldX = 1.0f;
        float fieldY = 1.0f;
    };

    AnimatorRandom_4_Preset();

    AnimatorPreset animator;
    // Keyed by the five reduced sound classes.
    std::map<SoundClass, ParametersSoundClass> parameters;
    std::map<RotateInfo, Parameters> rotation;
};

class AnimatorRandom_4 : public AbstractAnimator {
public:
    // One slot; a slot whose life has run out is free for the next spawn.
    struct Entity {
        float x = 0.0f;
        float y = 0.0f;
        float size = 0.0f;
        float originX = 0.0f;  // where it was born
        float originY = 0.0f;
        float velocityX = 0.0f;  // drift direction and speed at speed factor 1, per second
        float velocityY = 0.0f;
        float radius = 0.0f;  // full-level half side
        float age = 0.0f;
        float lifetime = 0.0f;
        float life = 0.0f;      // seconds left; at or below 0 the slot is free
        float level = 0.0f;     // newest level of its history, smoothed: the size
        float tone = 0.0f;      // its history at its distance from the centre: the colour
        float distance = 0.0f;  // of the origin from the centre, in spawn radii, at most 1
        float alpha = 1.0f;     // large bubbles are fainter
        uint32_t group = 0;     // 0 quiet, 1 median, 2 peak history
        bool alive = false;
        colorf color;
    };

    AnimatorRandom_4(uint32_t width, uint32_t height);
    ~AnimatorRandom_4() override;

    using AbstractAnimator::update;
    void update(float dt, const RotationTransition& rotation, const SoundFrame& sound) override;
    size_t getNumPalettes() const override;

private:
    void spawn(uint32_t group, float fieldX, float fieldY, float spawnFactor);

    AnimatorRandom_4_Preset mPreset;
    std::vector<Entity> mEntities;
    uint32_t mCount = 100;
    float mSpawnRadius = 1000.0f;
    float mSwellTime = 0.15f;
    float mMinRadius = 10.0f;
    float mMaxRadius = 400.0f;
    float mMaxLifetime = 5.0f;
    float mDriftSpeed = 15.0f;
    float mLevelFloor = 0.125f;
    uint32_t mSpawnBatch = 8;
    float mMinVisible = 0.001f;
    float mCanvasScale = 1.0f;  // larger canvas side / 1920
    RelThreshold mTriggers[3] = {{0.25f, 0.5f}, {0.35f, 0.65f}, {0.35f, 0.65f}};

    AnimatorRandom_4_Preset::ParametersSoundClass mParameters;
    Palette mPalette;
    std::vector<colorf> mColors;
};

}  // namespace content2020
