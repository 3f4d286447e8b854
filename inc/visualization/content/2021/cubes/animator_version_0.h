// One 3 x 2 x 3 block of cubes seen from above a corner. On beats its horizontal layers or its
// depth slices spin a full turn, or the whole block tips over by quarter turns; cells hide and
// swell with the quieter bands, and the whole block pulses with the loudest one. Loud classes
// open the block into two layers, quiet ones fold it to one.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/2021/cubes/abstract_animator.h"
#include "visualization/content/2021/cubes/block.h"

namespace content2021::cubes {

class Animator_Version_0 : public AbstractAnimator {
public:
    struct SoundClassParameters {
        float p0 = 0.0f;
        float rotationEasing = 0.0f;  // per second: layer and block turns, reactive cells
        float scaleEasing = 0.0f;     // per second: cells that do not react
        float reactiveProbability = 0.0f;
        float bandScale = 0.0f;       // extra cell size per unit band level
        float blockTurnRange = 0.0f;  // spread of the quarter turns of a block turn
        float p6 = 0.0f;
        vec3f blockTurnAxis;  // floored to whole numbers
        float bandSmoothing = 0.0f;
        float layerExpansion = 0.0f;  // 0: one flat layer, 1: both layers
        float pulseAmount = 0.0f;
        float turnLayersY = 0.0f;  // non-zero: the horizontal layers may turn
        float turnLayersZ = 0.0f;  // non-zero: the depth slices may turn
        float turnBlock = 0.0f;    // non-zero: the block may turn when the layers do not
        float layerTurnProbability = 0.0f;
    };

    struct Preset : AbstractColorAnimator::Preset {
        std::map<SoundClass, SoundClassParameters> parameters;
    };

    static constexpr uint64_t kMinFramesBetweenTurns = 60;

    Animator_Version_0(uint32_t width, uint32_t height);
    ~Animator_Version_0() override;

protected:
    void animate(float dt, const SoundInput& sound, const RotationTransition& orientation) override;

private:
    void animateBlock(float dt, const std::vector<colorf>& colors);
    void startTurn();

    Preset mPreset;
    RelThreshold mBeatTriggerLow{0.45f, 0.5f};
    std::array<float, 20> mBandsLow{};
    std::array<float, 20> mBandsHigh{};
    float mPulse = 0.0f;
    math::mat44<float> mPulseMatrix;
    // Horizontal layers 0 (lower) and 1 (upper) turn about y, depth slices 2 to 4 about z.
    std::array<LayerTurn, 5> mLayerTurns;
    vec3f mBlockTurnAxis;
    Block mBlock;
    std::vector<size_t> mLowerLayer;
    std::vector<size_t> mUpperLayer;
    std::array<std::vector<size_t>, 3> mSlices;
    SoundClassParameters mParameters;
    bool mLayersSettled = false;
    uint64_t mMinFramesBetweenTurns = kMinFramesBetweenTurns;
    uint64_t mFramesSinceTurn = 0;
    float mAccumulatedTime = 0.0f;
};

}  // namespace content2021::cubes
