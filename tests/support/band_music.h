// Music for the animator and content tests: a real SoundInput fed eight bands per frame, so what
// is tested sees the same normalised histories the player hands it.
#pragma once

#include <algorithm>
#include <cmath>

#include "visualization/content/abstract_animator.h"
#include "visualization/sound_input.h"

namespace testsupport {

constexpr float kMusicDt = 1.0f / 60.0f;

struct BandMusic {
    explicit BandMusic(SoundClass soundClass = SoundClass::Dynamic) {
        sound.setSoundClass(soundClass, true);
    }

    // One frame at a loudness in 0..1; the bands wobble so no two frames are alike. Loudness 0 is
    // silence: every band at the floor, all frames alike.
    void feed(float loudness) {
        float bands[8];
        for (int i = 0; i < 8; ++i) {
            const float wobble = 0.75f + 0.25f * std::sin(1.7f * i + 0.3f * frame);
            bands[i] = -120.0f + 110.0f * std::min(1.0f, loudness * wobble);
        }
        sound.setBandsInfo(bands, 8);
        sound.update(kMusicDt);
        ++frame;
    }

    // One frame with every band at `db`; the sound input clamps what lies outside its range.
    void feedEvery(float db) {
        float bands[8];
        std::fill(bands, bands + 8, db);
        sound.setBandsInfo(bands, 8);
        sound.update(kMusicDt);
        ++frame;
    }

    SoundInput sound;
    int frame = 0;
};

// Frames of music at a loudness, each fed to the sound input and then to the animator, which is
// shown fully faded in and running.
inline void play(AbstractAnimator& animator, BandMusic& music, float loudness, int frames = 1) {
    animator.setFade(1.0f);
    animator.setPaused(false);
    for (int i = 0; i < frames; ++i) {
        music.feed(loudness);
        animator.update(kMusicDt, music.sound, RotationTransition{});
    }
}

}  // namespace testsupport
