// Music for the ring tests: a real SoundInput fed eight bands per frame, so the animators see the
// same normalised histories the player hands them.
#pragma once

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

#include "visualization/content/2021/ring/abstract_animator.h"
#include "visualization/content/2021/ring/animator_version_0.h"
#include "visualization/content/2021/ring/animator_version_1.h"
#include "visualization/content/2021/ring/animator_version_2.h"
#include "visualization/content/2021/ring/animator_version_3.h"
#include "visualization/content/2021/ring/animator_version_4.h"
#include "visualization/content/2021/ring/animator_version_5.h"
#include "visualization/sound_input.h"

namespace ringtest {

constexpr float kDt = 1.0f / 60.0f;

struct RingSound {
    explicit RingSound(SoundClass soundClass = SoundClass::Dynamic) {
        sound.setSoundClass(soundClass, true);
    }

    // One frame at a loudness in 0..1; the bands wobble so no two frames are alike.
    void feed(float loudness) {
        float bands[8];
        for (int i = 0; i < 8; ++i) {
            const float wobble = 0.75f + 0.25f * std::sin(1.7f * i + 0.3f * frame);
            bands[i] = -120.0f + 110.0f * std::min(1.0f, loudness * wobble);
        }
        sound.setBandsInfo(bands, 8);
        sound.update(kDt);
        ++frame;
    }

    SoundInput sound;
    int frame = 0;
};

using Animator = content2021::ring::AbstractAnimator;

inline std::unique_ptr<Animator> makeAnimator(int version, uint32_t width = 1920,
                                              uint32_t height = 1080) {
    using namespace content2021::ring;
    switch (version) {
        case 0:
            return std::make_unique<Animator_Version_0>(width, height);
        case 1:
            return std::make_unique<Animator_Version_1>(width, height);
        case 2:
            return std::make_unique<Animator_Version_2>(width, height);
        case 3:
            return std::make_unique<Animator_Version_3>(width, height);
        case 4:
            return std::make_unique<Animator_Version_4>(width, height);
        default:
            return std::make_unique<Animator_Version_5>(width, height);
    }
}

// Frames of music at a loudness, each fed to the sound input and then to the animator, which is
// shown fully faded in. Loudness 0 is silence: every band at the floor, all frames alike.
inline void play(Animator& animator, RingSound& input, float loudness, int frames = 1) {
    animator.setFade(1.0f);
    animator.setPaused(false);
    for (int i = 0; i < frames; ++i) {
        input.feed(loudness);
        animator.update(kDt, input.sound, RotationTransition{});
    }
}

// Paused, as while the player waits for band data: no new bands arrive.
inline void pause(Animator& animator, const RingSound& input, int frames) {
    animator.setPaused(true);
    for (int i = 0; i < frames; ++i) {
        animator.update(kDt, input.sound, RotationTransition{});
    }
}

// A quiet stretch that lets the beat trigger fall back, then a loud burst long enough for the
// smoothed peak history to cross the trigger's upper level.
inline void beat(Animator& animator, RingSound& input) {
    play(animator, input, 0.1f, 40);
    play(animator, input, 1.0f, 8);
}

}  // namespace ringtest
