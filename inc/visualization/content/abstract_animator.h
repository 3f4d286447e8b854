// The base of every 2021 family's animators: the animation clock, the beat trigger and the impulse
// it raises, the smoothed blend of a sound-class change with the group it leads to, and what the
// owning content pushes before every frame (fade, display-mode blend, pause). A family implements
// animate(); its content calls update() once per frame for the animator of the current mode only,
// so an idle animator keeps its time and beat state until its mode comes back.
#pragma once

#include <cstdint>

#include "visualization/content/util/animator_data_util.h"
#include "visualization/rotation_transition.h"
#include "visualization/sound_input.h"
#include "visualization/types.h"

class AbstractAnimator {
protected:
    // The virtual operations keep this order, like those of the content interface. The family's
    // frame: the beat, the sound-class blend and the group are already current, mTime is still the
    // time at the start of the frame.
    virtual void animate(float dt, const SoundInput& sound,
                         const RotationTransition& orientation) = 0;

public:
    AbstractAnimator(uint32_t width, uint32_t height);
    virtual ~AbstractAnimator() = default;
    virtual void update(float dt, const SoundInput& sound, const RotationTransition& orientation);

    AbstractAnimator(const AbstractAnimator&) = delete;
    AbstractAnimator& operator=(const AbstractAnimator&) = delete;

    void setFade(float fade) { mFade = fade; }
    void setDisplayModeBlend(float blend) { mDisplayModeBlend = blend; }
    void setPaused(bool paused) { mPaused = paused; }

    float getBeatImpulse() const { return mBeatImpulseSmoothed; }
    // True only inside the update in which the trigger switched on, i.e. for animate().
    bool isBeatTriggered() const { return mBeatTrigger.triggered; }
    uint64_t getFramesSinceBeat() const { return mFramesSinceBeat; }

protected:
    uint32_t mWidth;
    uint32_t mHeight;
    float mTime = 0.0f;
    float mFade = 0.0f;
    // 0 shows the DEFAULT palettes, 1 the AOD ones, values between blend the two.
    float mDisplayModeBlend = 0.0f;
    bool mPaused = false;
    RelThreshold mBeatTrigger{0.35f, 0.65f};
    // 1 on a beat in a beat-driven sound class, falling to 0 within one second.
    float mBeatImpulse = 0.0f;
    float mBeatImpulseSmoothed = 0.0f;
    uint64_t mFramesSinceBeat = 0;
    // Set at construction and on every palette change: the next frame jumps to its targets
    // instead of blending from what an earlier mode or palette left behind.
    bool mResetPending = true;
    float mSoundClassBlend = 0.0f;
    SoundClassGroup mSoundClassGroup;
};
