// A small, distant ring of 90 segments that waves up and down twice around its circumference,
// drawn with mid-lines. Energy from the peaks travels around the ring behind a moving head; the
// bands, shaped steeply, swell their segments; beats rotate the bands and toggle an emphasis on
// every tenth segment.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/2021/ring/abstract_animator.h"
#include "visualization/content/2021/ring/animator_util.h"

namespace content2021 {
namespace ring {

class Animator_Version_3 : public AbstractAnimator {
public:
    struct SoundClassParameters {
        float headSpeed;  // segments per second
        float energyGain;
        float bandGain;
        float emphasis;
        float levelZoom;
        float arcShare;
        float spinSpeed;
        float colorMix;
    };

    using Preset = RingPreset<SoundClassParameters>;

    Animator_Version_3(uint32_t width, uint32_t height);

protected:
    void animate(float dt, const SoundInput& sound, const RotationTransition& rotation) override;

private:
    Preset mPreset;
    float mCameraDistance = 7.5f;
    float mAngleOffset = 1.5707964f;
    float mBaseRadius = 0.25f;
    float mBaseWidth = 0.1f;
    int mRollTurns = 1;
    float mWaveHeight = 0.28f;
    float mElevation = 0.3f;  // radians
    std::vector<WedgeLineAligned> mSegments;
    std::vector<float> mEnergy;
    std::vector<float> mEnergySmoothed;
    float mHead = 0.0f;
    float mToggle = 0.0f;
    float mToggleSmoothed = 0.0f;
};

}  // namespace ring
}  // namespace content2021
