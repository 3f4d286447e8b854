// A close, wide-angle ring of 80 segments that fills the screen. The newest peak is stamped
// around the ring and pulses the segments it passes; every fifth segment is a marker that
// thickens as the music quietens. Beats turn the ring by half turns, tilt it and reverse its spin.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/2021/ring/abstract_animator.h"
#include "visualization/content/2021/ring/animator_util.h"

namespace content2021 {
namespace ring {

class Animator_Version_4 : public AbstractAnimator {
public:
    struct SoundClassParameters {
        float unused;
        float stampGain;
        float mirrorMax;
        float highlightMix;
        float levelColorMix;
        float widthScale;
        float beatTurns;
        float tiltXOnBeat;
        float tiltYOnBeat;
        float turnEasing;
        float rollSpeed;
        float twistSpeed;
        float spinSpeed;
        float pulseScale;
        float quietScale;
        float loudScale;
        float markerMix;
        float levelZoom;
    };

    using Preset = RingPreset<SoundClassParameters>;

    Animator_Version_4(uint32_t width, uint32_t height);

protected:
    void animate(float dt, const SoundInput& sound, const RotationTransition& rotation) override;

private:
    Preset mPreset;
    float mCameraDistance = 1.85f;
    float mDistanceModulation = 0.125f;
    float mArcShare = 0.9f;
    std::vector<WedgeAxisAligned> mSegments;
    std::vector<float> mStamped;
    uint32_t mStampHead = 0;
    float mPhaseDirection = 1.0f;
    float mRoll = 0.0f;
    float mTiltYTarget = 0.0f;
    float mTiltY = 0.0f;
    float mTiltYSign = 1.0f;
    float mTiltXTarget = 0.0f;
    float mTiltX = 0.0f;
    HalfTurns mTurns;
    bool mBeatSeen = false;
};

}  // namespace ring
}  // namespace content2021
