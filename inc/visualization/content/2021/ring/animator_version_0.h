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

    struct Preset : AbstractColorAnimator::Preset {
        float lineWidth = 1.85f;  // pixels
        std::map<SoundClass, SoundClassParameters> parameters;
    };

    Animator_Version_0(uint32_t width, uint32_t height);
    ~Animator_Version_0() override;

protected:
    void animate(float dt, const SoundInput& sound, const RotationTransition& rotation) override;

private:
    Preset mPreset;
    float mCameraDistance = 3.35f;
    float mDistanceModulation = 0.125f;
    float mFov = 24.0f;
    float mBaseRadius = 0.35f;
    float mWidth2 = 0.25f;
    uint32_t mSegmentCount = 60;
    std::vector<WedgeAxisAligned> mSegments;
    RingGeometry mRing;
    float mPhase = 0.0f;
    float mRoll = 0.0f;
    float mTwist = 0.0f;
    float mTwistDirection = 1.0f;
    vec3f mTurnTarget;
    vec3f mTurn;
    float mTurnSign = 1.0f;
    RelThreshold mTrigger{0.35f, 0.65f};
    bool mBeatSeen = false;
    float mImpulse = 0.0f;
    float mLevel = 0.0f;
    std::vector<float> mBands;
    int mBandOffset = 0;
    std::vector<float> mResampled;
    std::vector<float> mEased;
};

}  // namespace ring
}  // namespace content2021
