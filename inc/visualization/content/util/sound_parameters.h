// What the 2021 animators read of the sound input every frame besides the beat: the newest
// normalised peak and floor, and their per-sound-class parameter records mixed across a class
// change. Frame path: nothing here allocates.
#pragma once

#include <cstddef>
#include <cstring>
#include <map>

#include "visualization/sound_input.h"
#include "visualization/types.h"

// The newest value of the spectrum's normalised maximum (minimum) history; 0 before any band
// data.
float newestMaxNormalized(const SoundInput& sound);
float newestMinNormalized(const SoundInput& sound);

// Mixes a record of floats field by field between the sound input's current and next class by
// the switch progress. The records are plain runs of floats, copied through arrays to stay
// within the language's aliasing rules.
template <typename Parameters>
Parameters mixParameters(const std::map<SoundClass, Parameters>& table, const SoundInput& sound) {
    constexpr size_t kCount = sizeof(Parameters) / sizeof(float);
    static_assert(sizeof(Parameters) == kCount * sizeof(float), "parameters are floats only");
    float a[kCount];
    float b[kCount];
    std::memcpy(a, &table.at(sound.getSoundClassCurrent()), sizeof(Parameters));
    std::memcpy(b, &table.at(sound.getSoundClassNext()), sizeof(Parameters));
    const float t = sound.getSwitchProgress();
    for (size_t i = 0; i < kCount; ++i) {
        a[i] += (b[i] - a[i]) * t;
    }
    Parameters result;
    std::memcpy(&result, a, sizeof(Parameters));
    return result;
}
