#include "visualization/util/perspective_camera.h"

#include <cmath>

void PerspectiveCamera::update(const RotationTransition& rotation) {
    if (aspect >= 1.0f) {
        fov = baseFov;
    } else {
        fov = 2.0f * std::atan(std::tan(baseFov * kDegreesToRadians / 2.0f) / aspect) * 57.295776f;
    }
    lookAt(eye, center, up);
    roll = math::fromAxisAngle({0.0f, 0.0f, 1.0f}, util::rollAngle(rotationMode, aspect, rotation));
    orientation = orientation * roll;
    update();
}
