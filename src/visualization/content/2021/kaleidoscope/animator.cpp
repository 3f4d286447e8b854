#include "visualization/content/2021/kaleidoscope/animator.h"

#include <algorithm>
#include <cmath>

namespace content2021 {
namespace kaleidoscope {

namespace {
constexpr float kTwoPi = 6.28318530717958647692f;
constexpr float kPi = 3.14159265358979323846f;
}  // namespace

float posmod(float a, float m) {
    return std::fmod(std::fmod(a, m) + m, m);
}

float deltaAngle(float a, float b) {
    a = posmod(a, kTwoPi);
    b = posmod(b, kTwoPi);
    if (std::fabs(a - b) < kPi) {
        return b - a;
    }
    if (a > b) {
        return b - (a - kTwoPi);
    }
    if (b > a) {
        return (b - kTwoPi) - a;
    }
    return 0.0f;
}

float smoothDamp(float current, float target, float& velocity, float smoothTime, float dt) {
    smoothTime = std::max(0.0001f, smoothTime);
    const float omega = 2.0f / smoothTime;
    const float x = omega * dt;
    const float e = 1.0f / (1.0f + x + 0.48f * x * x + 0.235f * x * x * x);
    const float change = current - target;
    const float temp = (velocity + omega * change) * dt;
    velocity = (velocity - omega * temp) * e;
    float result = target + (change + temp) * e;
    if ((target - current > 0.0f) == (result > target)) {
        result = target;
        velocity = 0.0f;
    }
    return result;
}

float smoothDampAngle(float current, float target, float& velocity, float smoothTime, float dt) {
    return smoothDamp(current, current + deltaAngle(current, target), velocity, smoothTime, dt);
}

}  // namespace kaleidoscope
}  // namespace content2021
