// Scalar helpers shared by everything that animates: the overlays, the start-up fill and the
// point-field frames. Inline, so that they cost nothing over a local copy in per-point loops.
#pragma once

#include <algorithm>
#include <cmath>

namespace math {

constexpr float kPi = 3.1415927f;

inline float mix(float a, float b, float t) {
    return a + (b - a) * t;
}

// The weighted sum, unlike mix, gives b exactly at t = 1: a finished blend lands on the target
// value to the bit.
inline float lerp(float a, float b, float t) {
    return a * (1.0f - t) + b * t;
}

inline float smoothstep(float e0, float e1, float x) {
    const float t = std::min(std::max((x - e0) / (e1 - e0), 0.0f), 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// Modulo into [0, m) for negative a as well.
inline float posmod(float a, float m) {
    return std::fmod(std::fmod(a, m) + m, m);
}

}  // namespace math
