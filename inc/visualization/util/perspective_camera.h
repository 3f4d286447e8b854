// The perspective camera of the lines and the ring. On an upright screen it widens its vertical
// field of view so that the horizontal one stays baseFov, and it rolls with the device rotation.
#pragma once

#include <cstdint>

#include "visualization/rotation_transition.h"
#include "visualization/util/camera.h"

class PerspectiveCamera : public util::PerspectiveCamera {
public:
    void update(const RotationTransition& rotation);
    using util::PerspectiveCamera::update;

    uint32_t rotationMode = 2;
    float baseFov = 45.0f;  // degrees
    vec3f eye{0.0f, 0.0f, 1.0f};
    vec3f center{0.0f, 0.0f, 0.0f};
    vec3f up{0.0f, 1.0f, 0.0f};
    quatf roll;
};
