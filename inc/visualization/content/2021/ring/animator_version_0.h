// A single ring of 60 segments facing the viewer. Loud bands thin and twist their segments,
// quiet ones shorten toward a floor; beats flip the twist and turn the whole ring by half turns
// about a random axis.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/2021/ring/abstract_animator.h"
#include "visualization/content/2021/ring/animator_util.h"

namespace content2021 {
namespace ring {

class Animator_Version_0 : public AbstractAnimator {
public:
    struct SoundClassParameters {
        float arcFloorMix;
        float levelResponse;
        float colorHighlightMix;
        float thicknessAmount;
        float twistSpeed;
        float spinSpeed;
        float q6;
        float beatTurns;
        float turnEasing;
        float levelColorMix;
        float q10;
        float pushAmount;
        float arcQuiet;
        float arcFloor;
        float scaleFloor;
        float cameraDistanceOffset;
    };

    using Preset = RingPreset<SoundClassParameters>;

    Animator_Version_0(uint32_t width, uint32_t height);

protected:
    void animate(float dt, const SoundInput& sound, const RotationTransition& rotation) override;

private:
    Preset mPreset;
    float mCameraDistance = 3.35f;
    float mDistanceModulation = 0.125f;
    float mBaseRadius = 0.35f;
    float mWidth2 = 0.25f;
    std::vector<WedgeAxisAligned> mSegments;
    float mRoll = 0.0f;
    HalfTurns mTurns;
    bool mBeatSeen = false;
};

}  // namespace ring
}  // namespace content2021
