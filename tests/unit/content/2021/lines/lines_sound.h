// Music for the lines tests: a real SoundInput fed eight bands per frame, so the animator sees the
// same normalised histories the player hands it.
#pragma once

#include <algorithm>
#include <cmath>

#include "visualization/content/2021/lines/animator_version_0.h"
#include "visualization/sound_input.h"

namespace linestest {

constexpr float kDt = 1.0f / 60.0f;

struct LinesSound {
    explicit LinesSound(SoundClass soundClass = SoundClass::Dynamic) {
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

// Frames at a loudness, fed to the sound input and then to the fully faded-in animator.
inline void play(AbstractAnimator& animator, LinesSound& input, float loudness, int frames = 1) {
    animator.setFade(1.0f);
    for (int i = 0; i < frames; ++i) {
        input.feed(loudness);
        animator.update(kDt, input.sound, RotationTransition{});
    }
}

}  // namespace linestest
