// A ring of 80 segments seen from above at a slant. The newest level is stamped at two opposite
// points of a head that walks around the ring and then fades, so the music leaves a trail; beats
// flip the twist, mirror the trail and tilt the ring by eighths of a turn.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/2021/ring/abstract_animator.h"
#include "visualization/content/2021/ring/animator_util.h"

namespace content2021 {
namespace ring {

class Animator_Version_1 : public AbstractAnimator {
public:
    struct SoundClassParameters {
        float radiusScale;
        float widthScale;
        float mirrorMix;
        float evenColorMix;
        float twistSpeed;
        float levelScaleMix;
        float tiltStep;
        float tiltWobble;
        float distancePulse;
        float evenLevelMix;
        float evenLevelScale;
        float evenMix;
        float evenScale;
        float arcMix;
        float arcTarget;
        float pushAmount;
    };

    using Preset = RingPreset<SoundClassParameters>;

    Animator_Version_1(uint32_t width, uint32_t height);

protected:
    void animate(float dt, const SoundInput& sound, const RotationTransition& rotation) override;

private:
    Preset mPreset;
    float mCameraDistance = 2.85f;
    float mDistanceModulation = 0.25f;
    float mElevation = 0.85f;  // radians
    float mCenterHeight = -0.065f;
    float mBaseRadius = 0.45f;
    float mBaseWidth = 0.215f;
    std::vector<WedgeAxisAligned> mSegments;
    std::vector<float> mStamped;
    uint32_t mStampHead = 0;
    float mMirror = 0.0f;
    float mImpulseSmoothed = 0.0f;
    vec3f mTiltTarget;
    vec3f mTilt;
};

}  // namespace ring
}  // namespace content2021
