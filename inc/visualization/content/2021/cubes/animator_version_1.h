// One 2 x 2 x 4 block of cubes, taken apart like a puzzle. On beats the two halves of the block
// along one axis both make a quarter turn, each its own way, and the cells stay where the turn
// left them, so the block keeps reshaping; or the whole block rolls over. The gaps between the
// cells open with the loudest band and on beats. Quiet classes stop turning and let the scene
// drift round instead.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/2021/cubes/abstract_animator.h"
#include "visualization/content/2021/cubes/block.h"

namespace content2021::cubes {

class Animator_Version_1 : public AbstractAnimator {
public:
    struct SoundClassParameters {
        float driftRate = 0.0f;  // scene turn per frame in units of 0.005; non-zero: no beat turns
        float rotationEasing = 0.0f;  // per second: turns and reactive cells
        float scaleEasing = 0.0f;     // per second: cells that do not react
        float reactiveProbability = 0.0f;
        float bandScale = 0.0f;
        float layerTurnProbability = 0.0f;
        vec3f layerTurnAxes;          // non-zero: the halves along that axis may turn
        float blockTurnRange = 0.0f;  // most quarter turns of a block turn
        float turnBlockAll = 0.0f;    // non-zero: block turns about x and z as well as y
        float pulseAmount = 0.0f;
        float cellSpread = 0.0f;       // gap between cells at rest, in cell sizes
        float spreadBandScale = 0.0f;  // extra gap per unit of the loudest band
        float spreadEasing = 0.0f;     // per second
        float hideCells = 0.0f;        // non-zero: beats may hide cells
        float beatSpread = 0.0f;       // extra gap at full beat impulse
        float tilt = 0.0f;             // tilt of the drifting scene, radians
    };

    struct Preset : AbstractColorAnimator::Preset {
        std::map<SoundClass, SoundClassParameters> parameters;
    };

    static constexpr uint64_t kMinFramesBetweenTurns = 60;

    Animator_Version_1(uint32_t width, uint32_t height);
    ~Animator_Version_1() override;

protected:
    void animate(float dt, const SoundInput& sound, const RotationTransition& orientation) override;

private:
    void startTurn();
    void turnLayers(float ease);
    void settleLayers();

    Preset mPreset;
    RelThreshold mBeatTriggerLow{0.45f, 0.5f};
    std::array<float, 20> mBands{};
    float mPulse = 0.0f;
    float mSpread = 0.0f;
    float mDrift = 0.0f;
    // Two halves per axis (negative side first); only the halves of one axis turn at a time.
    std::array<LayerTurn, 6> mLayerTurns;
    int mTurningAxis = -1;
    Block mBlock;
    // Where each cell sits on the grid and how it lies, after every finished turn.
    std::vector<math::mat44<float>> mOrientations;
    SoundClassParameters mParameters;
    uint64_t mFramesSinceTurn = 0;
    float mAccumulatedTime = 0.0f;
};

}  // namespace content2021::cubes
