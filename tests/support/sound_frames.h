// Sound as the animators see it, without a spectrum behind it: each test owns the histories and
// sets them to exactly the levels it reasons about.
#pragma once

#include <cstddef>
#include <vector>

#include "visualization/content/2020/abstract_animator.h"

namespace testsupport {

// A landscape screen at rest.
inline const RotationTransition kRest{};

// A screen that has finished turning upright.
inline RotationTransition portraitAtRest() {
    RotationTransition r{};
    r.current = r.from = r.to = RotateInfo::Portrait;
    r.fraction = r.fractionSmoothed = r.fractionSnapped = 1.0f;
    r.angle = r.angleSmoothed = r.angleSnapped = 1.5707964f;
    r.progress = 1.0f;
    return r;
}

struct SoundHistories {
    std::vector<float> levels = std::vector<float>(8, 0.0f);
    std::vector<float> min = std::vector<float>(240, 0.0f);
    std::vector<float> mid = std::vector<float>(240, 0.0f);
    std::vector<float> max = std::vector<float>(240, 0.0f);

    // The band levels and all three histories at one value.
    void fill(float value) {
        for (auto* list : {&levels, &min, &mid, &max}) {
            list->assign(list->size(), value);
        }
    }
    // All three histories falling from 1 at the newest frame, one 240th per frame.
    void fillFalling() {
        for (auto* list : {&min, &mid, &max}) {
            for (size_t i = 0; i < list->size(); ++i) {
                (*list)[i] = 1.0f - static_cast<float>(i) / 240.0f;
            }
        }
    }
    // A frame settled on `current`, or `progress` of the way from it to `next`.
    content2020::SoundFrame frame(SoundClass current = SoundClass::Moderate,
                                  SoundClass next = SoundClass::Moderate,
                                  float progress = 0.0f) const {
        content2020::SoundFrame f;
        f.soundClassCurrent = current;
        f.soundClassNext = progress > 0.0f ? next : current;
        f.switchProgress = progress;
        f.levels = &levels;
        f.historyMin = &min;
        f.historyMid = &mid;
        f.historyMax = &max;
        return f;
    }
};

}  // namespace testsupport
