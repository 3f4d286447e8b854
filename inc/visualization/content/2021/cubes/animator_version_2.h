// Two blocks side by side: a row of three cubes and a 2 x 2 x 2 cube of cubes. Each answers its
// own beat trigger: the row's cells spin about its length or the row rolls over; the small cube's
// layers spin or it tips over; on a third trigger the small cube slides out to a point beside the
// row and back. Cells swell with the bands, reactive cells of the row rock with them.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/2021/cubes/abstract_animator.h"
#include "visualization/content/2021/cubes/block.h"

namespace content2021::cubes {

class Animator_Version_2 : public AbstractAnimator {
public:
    struct SoundClassParameters {
        float reactiveProbability = 0.0f;
        float rotationEasing = 0.0f;  // per second: turns and reactive cells
        float bandScale = 0.0f;
        float scaleEasing = 0.0f;            // per second: cells that do not react
        float layerTurnProbabilityA = 0.0f;  // the row: its cells spin instead of it rolling
        float layerTurnProbabilityB =
            0.0f;                       // the small cube: its layers spin instead of it tipping
        float blockTurnRange = 0.0f;    // most quarter turns of a block turn
        float turnBlockA = 0.0f;        // non-zero: the row may roll
        float turnBlockB = 0.0f;        // non-zero: the small cube may tip
        float slideProbability = 0.0f;  // chance per slide beat that the small cube moves
        float slideEasing = 0.0f;       // per second
        float pulseAmount = 0.0f;
        float hideCells = 0.0f;     // non-zero: beats may hide cells
        float reactiveSpin = 0.0f;  // rocking of the row's reactive cells per band level
    };

    struct Preset : AbstractColorAnimator::Preset {
        std::map<SoundClass, SoundClassParameters> parameters;
    };

    static constexpr uint64_t kMinFramesBetweenTurns = 120;

    Animator_Version_2(uint32_t width, uint32_t height);
    ~Animator_Version_2() override;

protected:
    void animate(float dt, const SoundInput& sound, const RotationTransition& orientation) override;

private:
    void turnRow();
    void turnSmallCube();
    void animateLayers(float ease);

    Preset mPreset;
    RelThreshold mBeatTriggerLow{0.45f, 0.5f};
    RelThreshold mBeatTriggerSlide{0.35f, 0.65f};
    std::array<float, 20> mBands{};
    float mPulse = 0.0f;
    // Row cells 0 to 2 spin about x; the small cube's layers 3 and 4 about y, its slices 5 and 6
    // about z.
    std::array<LayerTurn, 7> mLayerTurns;
    Block mBlockA;
    Block mBlockB;
    vec3f mHomeB;
    vec3f mOffset;
    bool mSlidOut = false;
    float mSlide = 0.0f;
    SoundClassParameters mParameters;
    std::array<uint64_t, 3> mFramesSinceTurn{};  // row, small cube, slide
    float mAccumulatedTime = 0.0f;
};

}  // namespace content2021::cubes
