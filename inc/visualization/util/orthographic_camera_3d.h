// The isometric camera of the cubes: an orthographic view of the origin from (1, 1, 1) that keeps
// its width when the screen stands upright and rolls with the device rotation.
#pragma once

#include <cstdint>

#include "visualization/rotation_transition.h"
#include "visualization/util/camera.h"

class OrthographicCamera3d : public util::OrthographicCamera {
public:
    // Sets size from baseSize (divided by aspect on an upright screen), looks from eye at center,
    // rolls and updates the matrices.
    void update(const RotationTransition& rotation);
    using util::OrthographicCamera::update;

    uint32_t rotationMode = 2;
    float baseSize = 1.0f;
    vec3f eye{1.0f, 1.0f, 1.0f};
    vec3f center{0.0f, 0.0f, 0.0f};
    vec3f up{0.0f, 1.0f, 0.0f};
    quatf roll;
};
