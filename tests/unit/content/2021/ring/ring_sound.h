// The ring animators by version, and the pause and the beat the ring tests play them.
#pragma once

#include <memory>

#include "support/band_music.h"
#include "visualization/content/2021/ring/abstract_animator.h"
#include "visualization/content/2021/ring/animator_version_0.h"
#include "visualization/content/2021/ring/animator_version_1.h"
#include "visualization/content/2021/ring/animator_version_2.h"
#include "visualization/content/2021/ring/animator_version_3.h"
#include "visualization/content/2021/ring/animator_version_4.h"
#include "visualization/content/2021/ring/animator_version_5.h"

namespace ringtest {

constexpr float kDt = testsupport::kMusicDt;
using RingSound = testsupport::BandMusic;
using testsupport::play;

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
