// The one kaleidoscope animation: the picture drifts slowly into the fold, faster with the level;
// beats turn the fold, and beats far enough apart change the number of wedges, jump the picture
// sideways and release the mirror offset. Every number comes per sound class; a class change
// blends the two records linearly with the switch progress.
#pragma once

#include <array>
#include <cstdint>

#include "visualization/content/2021/kaleidoscope/animator.h"

namespace content2021 {
namespace kaleidoscope {

class Animator_Version_0 : public Animator {
public:
    struct SoundClassParameters {
        float drift;       // picture drift per second
        float levelDrift;  // extra drift per frame at full level
        float levelRate;   // how fast the level follows the median band
        float beatTurns;   // turns of the fold per beat; 0 lets the roll relax to rest
        float turnTime;    // smoothing time of a beat's turn
        float segmentsMin;
        float segmentsMax;
        float mirrorA;  // mirror amount at silence...
        float mirrorB;  // ...and at full level
        float mirrorTime;
        float mirrorOffset;
        float mirrorOffsetTime;
        float offsetJump;  // sideways jump of the picture on a beat; 0 recentres it
        float zoom;
    };

    struct Parameters {
        // Indexed by SoundClass.
        std::array<SoundClassParameters, 9> soundClasses;
        float rollTime = 8.0f;
    };

    static constexpr uint64_t kFramesTurn = 10;
    static constexpr uint64_t kFramesSegments = 60;
    static constexpr uint64_t kFramesMirrorOffset = 80;

    Animator_Version_0(uint32_t width, uint32_t height);

    const Parameters& getParameters() const { return mParameters; }

protected:
    void animate(float dt, const SoundInput& sound, const RotationTransition& rotation) override;

private:
    Parameters mParameters;
    float mOffsetZ = 0.0f;
    float mLevel = 0.0f;
    float mRoll = 0.0f;
    float mRollVelocity = 0.0f;
    float mRollTarget = 0.0f;
    uint32_t mSegments = 3;
    float mMirrorLevel = 0.0f;
    float mMirrorLevelVelocity = 0.0f;
    float mMirrorAValue = 0.0f;
    float mMirrorAVelocity = 0.0f;
    float mMirrorBValue = 0.0f;
    float mMirrorBVelocity = 0.0f;
    float mMirrorOffsetValue = 0.0f;
    float mMirrorOffsetVelocity = 0.0f;
    float mOffsetX = 0.0f;
    float mZoomValue = 1.0f;
};

}  // namespace kaleidoscope
}  // namespace content2021
