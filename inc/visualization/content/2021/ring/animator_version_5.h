// A ring of 50 upright segments seen from above at 45 degrees, like a round band meter: the
// bands, spread around the ring, raise their segments; beats twist the ring, bounce the even
// segments outward and rock it about its horizontal axis.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "visualization/content/2021/ring/abstract_animator.h"
#include "visualization/content/2021/ring/animator_util.h"

namespace content2021 {
namespace ring {

class Animator_Version_5 : public AbstractAnimator {
public:
    struct SoundClassParameters {
        float heightGain;
        float arcShare;
        float spinSpeed;
        float twistSpeed;
        float bounce;
        float colorHighlightMix;
        float rockOnBeat;
        float levelColorMix;
    };

    using Preset = RingPreset<SoundClassParameters>;

    Animator_Version_5(uint32_t width, uint32_t height);

protected:
    void animate(float dt, const SoundInput& sound, const RotationTransition& rotation) override;

private:
    Preset mPreset;
    float mCameraDistance = 3.35f;
    float mElevation = 0.785f;  // radians
    float mBaseRadius = 0.35f;
    float mBaseWidth = 0.2f;
    std::vector<WedgeAxisAligned> mSegments;
    float mRockTarget = 0.0f;
    float mRock = 0.0f;
};

}  // namespace ring
}  // namespace content2021
