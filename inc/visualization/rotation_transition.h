// The state of a physical rotation of the screen, turned into the angles the cameras roll the
// picture by. The host reports absolute angles (0 degrees = landscape, 90 = portrait); the
// record smooths them with a critically damped spring.
#pragma once

#include "visualization/types.h"

constexpr float kHalfPi = 1.5707964f;
constexpr float kDegreesToRadians = 0.017453292f;

struct RotationTransition {
    RotateInfo current;  // from while progress < 0.5, else to
    RotateInfo from;
    RotateInfo to;
    float angle;     // radians, as last reported
    float fraction;  // angle / (pi/2): 0 = landscape, 1 = portrait; not clamped
    float progress;  // 0 at from, 1 at to
    float angleSmoothed;
    float velocitySmoothed;
    float fractionSmoothed;
    float angleSnapped;
    float velocitySnapped;
    float fractionSnapped;  // smoothed towards 0 or 1, whichever side of 0.5 fraction is on

    void start(RotateInfo from, RotateInfo to, bool reset);
    void setAngle(float radians);
    void update(float lead, float smoothTime, float dt);
};

// Critically damped spring towards `target`; `velocity` is its state. With dt = 0 the output
// stays at `current` and the velocity is left untouched.
float smoothDamp(float current, float target, float& velocity, float smoothTime, float dt);
