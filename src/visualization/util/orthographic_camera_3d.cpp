#include "visualization/util/orthographic_camera_3d.h"

namespace {

// This camera's mode 1 follows the smoothed progress over a sixth of a turn instead of snapping.
constexpr float kSixthPi = 0.5235988f;

}  // namespace

void OrthographicCamera3d::update(const RotationTransition& rotation) {
    const bool landscape = aspect >= 1.0f;
    size = landscape ? baseSize : baseSize / aspect;
    lookAt(eye, center, up);
    float rollAngle = util::rollAngle(rotationMode, aspect, rotation);
    if (rotationMode == 1) {
        const float turn = rotation.fractionSmoothed * kSixthPi;
        rollAngle = landscape ? -turn : -(turn + kHalfPi);
    }
    roll = math::fromAxisAngle({0.0f, 0.0f, 1.0f}, rollAngle);
    orientation = orientation * roll;
    update();
}
