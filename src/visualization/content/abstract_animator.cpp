#include "visualization/content/abstract_animator.h"

#include <algorithm>

#include "visualization/content/2020/frame_functions.h"
#include "visualization/util/math/scalar.h"

namespace {

// Only the driving classes flash on beats; in the others a beat still moves the frame counter.
bool isBeatDriven(SoundClass soundClass) {
    return soundClass == SoundClass::Dynamic || soundClass == SoundClass::Dark ||
           soundClass == SoundClass::Powerful;
}

}  // namespace

AbstractAnimator::AbstractAnimator(uint32_t width, uint32_t height)
    : mWidth(width), mHeight(height), mSoundClassGroup(SoundClassGroups.at(SoundClass::Moderate)) {}

void AbstractAnimator::update(float dt, const SoundInput& sound,
                              const RotationTransition& orientation) {
    update_threshold(mBeatTrigger,
                     content2020::newest(&sound.getSpectrum().historyMaxNormalized()));

    const SoundClass next = sound.getSoundClassNext();
    if (mResetPending) {
        mBeatImpulse = 0.0f;
        mBeatImpulseSmoothed = 0.0f;
    } else {
        if (!isBeatDriven(next)) {
            mBeatImpulse = 0.0f;
        } else if (mBeatTrigger.triggered) {
            mBeatImpulse = 1.0f;
        }
        mBeatImpulseSmoothed = math::mix(mBeatImpulseSmoothed, mBeatImpulse, dt);
    }

    mSoundClassGroup = SoundClassGroups.at(next);

    if (mResetPending) {
        mSoundClassBlend = 1.0f;
    } else {
        // Progress 0 means a change has only just begun: the palette holds until it starts to
        // move, then follows slowly, and since the mix is applied every frame it still converges
        // within seconds.
        const float progress = sound.getSwitchProgress();
        mSoundClassBlend = progress != 0.0f ? math::mix(mSoundClassBlend, progress,
                                                        std::clamp(dt * 0.05f, 0.0f, 1.0f))
                                            : 0.0f;
    }

    animate(dt, sound, orientation);

    ++mFramesSinceBeat;
    if (mBeatTrigger.triggered) {
        mFramesSinceBeat = 0;
    }
    mBeatTrigger.triggered = false;
    mBeatImpulse = std::max(mBeatImpulse - std::min(dt, 1.0f), 0.0f);
    mResetPending = false;
    if (!mPaused) {
        mTime += dt;
    }
}
