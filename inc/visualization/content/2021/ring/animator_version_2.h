// A slanted ring of 80 thin segments striped by three patterns: the low and the high bands each
// fire a trigger whose decaying impulse repeats every few segments, and the recent peaks repeat
// in a longer stripe. A beat on the peaks reshuffles the stripes, flips the twist, rolls and
// tilts the ring.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/2021/ring/abstract_animator.h"
#include "visualization/content/2021/ring/animator_util.h"

namespace content2021 {
namespace ring {

class Animator_Version_2 : public AbstractAnimator {
public:
    struct SoundClassParameters {
        float impulseGain;
        float historyGain;
        float twistSpeed;
        float rollOffsetAmount;
        float tiltAmount;
        float pushAmount;
        float arcShare;
        float colorMix;
    };

    using Preset = RingPreset<SoundClassParameters>;

    // One repeating stripe: its level list and where and how often it repeats.
    struct Stripe {
        RelThreshold trigger{0.35f, 0.65f};
        float impulse = 0.0f;
        uint32_t spacing = 4;
        uint32_t phase = 0;
        std::vector<float> stamped;
        std::vector<float> levels;
    };

    Animator_Version_2(uint32_t width, uint32_t height);

protected:
    void animate(float dt, const SoundInput& sound, const RotationTransition& rotation) override;

private:
    void reshuffleStripe(Stripe& stripe, uint32_t low, uint32_t high);

    Preset mPreset;
    float mCameraDistance = 2.85f;
    float mDistanceModulation = 0.125f;
    float mElevation = 0.95f;  // radians
    float mCenterHeight = -0.065f;
    float mBaseRadius = 0.45f;
    float mBaseWidth = 0.185f;
    Stripe mStripes[3];
    std::vector<WedgeAxisAligned> mSegments;
    float mRollOffsetTarget = 0.0f;
    float mRollOffset = 0.0f;
    float mTiltTarget = 0.0f;
    float mTilt = 0.0f;
    float mToggle = 0.0f;
    float mToggleSmoothed = 0.0f;
};

}  // namespace ring
}  // namespace content2021
