// A swarm of sparks in three layers, from many small fast ones to a few larger slow ones, that
// drift round the screen centre and wrap at its edges. Each layer glows with its own level
// history and flashes on its own trigger; peaks kick every spark off in a random direction, and
// moving sparks draw a short fading streak behind them.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/2020/abstract_animator.h"
#include "visualization/content/2020/animator_preset.h"
#include "visualization/content/util/animator_data_util.h"

namespace content2020 {

struct AnimatorRandom_2_Preset {
    // What one layer of the swarm has under a sound class.
    struct GroupParameters {
        float count = 0.0f;  // sparks kept alive, rounded down
        float size = 0.0f;   // of the base size, at full level
    };

    struct ParametersSoundClass : PaletteMixParameters {
        float kick = 0.0f;   // px/s of the slowest layer's kick at full strength
        float drag = 0.0f;   // share of the velocity lost per second
        float swirl = 0.0f;  // radians per second of the slowest layer round the centre
        GroupParameters group0;
        GroupParameters group1;
        GroupParameters group2;
    };

    AnimatorRandom_2_Preset();

    AnimatorPreset animator;
    // Keyed by the five reduced sound classes.
    std::map<SoundClass, ParametersSoundClass> parameters;
};

class AnimatorRandom_2 : public AbstractAnimator {
public:
    struct EntityR {
        float x = 0.0f;
        float y = 0.0f;
        float size = 0.0f;
        float restX = 0.0f;  // where the spark was born
        float restY = 0.0f;
        float vx = 0.0f;  // kick velocity, px/s; the swirl comes on top
        float vy = 0.0f;
        float level = 0.0f;
        float random = 0.0f;  // in [0, 1): where the spark reads its layer's history
        float growth = 0.0f;  // 0 at birth or once retired, 1 when fully there
        uint32_t group = 0;   // 0 minimum, 1 median, 2 maximum history
        bool retired = false;
    };

    AnimatorRandom_2(uint32_t width, uint32_t height);
    ~AnimatorRandom_2() override;

    using AbstractAnimator::update;
    void update(float dt, const RotationTransition& rotation, const SoundFrame& sound) override;
    size_t getNumPalettes() const override;

private:
    // Brings every layer towards its count: a few births per frame, retirement of the surplus.
    void balance(const AnimatorRandom_2_Preset::ParametersSoundClass& p);

    AnimatorRandom_2_Preset mPreset;
    std::vector<EntityR> mEntities;
    float mSize = 100.0f;
    std::array<float, 3> mGroupSpeeds{{4.0f, 2.0f, 1.0f}};
    uint32_t mBirthsPerFrame = 10;  // per layer, so a swarm fills in over a second or so
    std::array<float, 3> mFlashes{{0.0f, 0.0f, 0.0f}};
    RelThreshold mThresholdMin{0.25f, 0.5f};
    RelThreshold mThresholdMid{0.35f, 0.65f};
    RelThreshold mThresholdMax{0.35f, 0.65f};

    // Per-frame scratch kept for its capacity.
    AnimatorRandom_2_Preset::ParametersSoundClass mParameters;
    Palette mPalette;
    std::vector<colorf> mColors;
};

}  // namespace content2020
