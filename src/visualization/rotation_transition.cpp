#include "visualization/rotation_transition.h"

#include <algorithm>
#include <limits>

float smoothDamp(float current, float target, float& velocity, float smoothTime, float dt) {
    const float maxSpeed = std::numeric_limits<float>::max();
    smoothTime = std::max(0.0001f, smoothTime);
    const float omega = 2.0f / smoothTime;
    const float x = omega * dt;
    const float e = 1.0f / (1.0f + x + 0.48f * x * x + 0.235f * x * x * x);
    const float maxChange = maxSpeed * smoothTime;
    const float change = std::clamp(current - target, -maxChange, maxChange);
    const float clampedTarget = current - change;
    const float temp = (velocity + omega * change) * dt;
    velocity = (velocity - omega * temp) * e;
    float output = clampedTarget + (change + temp) * e;
    if ((target - current > 0.0f) == (output > target)) {
        output = target;
        // A frame without time (the first frame, or after a stall) would divide 0 by 0 here.
        velocity = dt > 0.0f ? (output - target) / dt : 0.0f;
    }
    return output;
}

void RotationTransition::start(RotateInfo fromInfo, RotateInfo toInfo, bool reset) {
    current = from = fromInfo;
    to = toInfo;
    angleSmoothed = 0.0f;
    fraction = fromInfo == RotateInfo::Landscape ? 0.0f : 1.0f;
    progress = 0.0f;
    if (reset) {
        angleSmoothed = velocitySmoothed = 0.0f;
        fractionSmoothed = fraction;
        angleSnapped = velocitySnapped = 0.0f;
        fractionSnapped = fraction;
    }
}

void RotationTransition::setAngle(float radians) {
    angle = radians;
    fraction = radians / kHalfPi;
    progress = from != RotateInfo::Landscape ? 1.0f - fraction : fraction;
}

void RotationTransition::update(float lead, float smoothTime, float dt) {
    current = progress < 0.5f ? from : to;
    fractionSmoothed = smoothDamp(fractionSmoothed, std::clamp(fraction + lead, 0.0f, 1.0f),
                                  velocitySmoothed, smoothTime, dt);
    angleSmoothed = fractionSmoothed * kHalfPi;
    fractionSnapped =
        smoothDamp(fractionSnapped, fraction < 0.5f ? 0.0f : 1.0f, velocitySnapped, smoothTime, dt);
    angleSnapped = fractionSnapped * kHalfPi;
}
