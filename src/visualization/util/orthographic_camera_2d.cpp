#include "visualization/util/orthographic_camera_2d.h"

#include <cmath>
#include <limits>

OrthographicCamera2d::OrthographicCamera2d() {
    near = 0.1f;
    far = -10.0f;
    update();
}

void OrthographicCamera2d::update(const RotationTransition& rotation) {
    lookAt(eye, center, up);
    const float rollAngle = util::rollAngle(rotationMode, aspect, rotation);
    roll = math::fromAxisAngle({0.0f, 0.0f, 1.0f}, rollAngle);
    orientation = orientation * roll;
    update();

    const float width = 2.0f * size * aspect;
    const float height = 2.0f * size;
    boundsMin = {-width / 2.0f, -height / 2.0f};
    boundsMax = {width / 2.0f, height / 2.0f};

    angle = rollAngle;
    cosAngle = std::cos(angle);
    sinAngle = std::sin(angle);
    cosNegativeAngle = std::cos(-angle);
    sinNegativeAngle = std::sin(-angle);

    const float progress = rotation.fractionSmoothed;
    rotating = progress >= 0.001f && progress <= 0.999f;
    rotatingHalfway = progress >= 0.35f && progress <= 0.65f;
}

bool OrthographicCamera2d::isOutside(float x, float y, float radius) const {
    if (!(radius > std::numeric_limits<float>::epsilon())) {
        return true;
    }
    toView(x, y);
    return x + radius <= boundsMin.x || boundsMax.x <= x - radius || y + radius <= boundsMin.y ||
           boundsMax.y <= y - radius;
}

void OrthographicCamera2d::wrap(float& x, float& y, float radius) const {
    float viewX = x;
    float viewY = y;
    toView(viewX, viewY);
    if (viewX + radius < boundsMin.x) {
        viewX = boundsMax.x + radius;
    } else if (viewX - radius > boundsMax.x) {
        viewX = boundsMin.x - radius;
    }
    if (viewY + radius < boundsMin.y) {
        viewY = boundsMax.y + radius;
    } else if (viewY - radius > boundsMax.y) {
        viewY = boundsMin.y - radius;
    }
    fromView(viewX, viewY);
    x = viewX;
    y = viewY;
}

void OrthographicCamera2d::toView(float& x, float& y) const {
    const float viewX = x * cosAngle - y * sinAngle;
    y = x * sinAngle + y * cosAngle;
    x = viewX;
}

void OrthographicCamera2d::fromView(float& x, float& y) const {
    const float worldX = x * cosNegativeAngle - y * sinNegativeAngle;
    y = x * sinNegativeAngle + y * cosNegativeAngle;
    x = worldX;
}
