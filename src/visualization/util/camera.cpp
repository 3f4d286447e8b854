#include "visualization/util/camera.h"

#include <cmath>

namespace util {

void AbstractCamera::update() {
    updateProjectionMatrix();
    baseProjectionMatrix[0] *= flipX ? -1.0f : 1.0f;
    projectionMatrix.copy(baseProjectionMatrix);
    projectionMatrix[8] = projectionOffset.x;
    projectionMatrix[9] = projectionOffset.y;

    axisX = math::rotate(orientation, {1.0f, 0.0f, 0.0f});
    axisY = math::rotate(orientation, {0.0f, 1.0f, 0.0f});
    axisZ = math::rotate(orientation, {0.0f, 0.0f, 1.0f});
    viewMatrix.set(axisX.x, axisY.x, axisZ.x, 0.0f,  //
                   axisX.y, axisY.y, axisZ.y, 0.0f,  //
                   axisX.z, axisY.z, axisZ.z, 0.0f,  //
                   -math::dot(position, axisX), -math::dot(position, axisY),
                   -math::dot(position, axisZ), 1.0f);
    inverseViewMatrix.copy(viewMatrix);
    math::invert(&inverseViewMatrix);

    viewProjectionMatrix.copy(projectionMatrix);
    viewProjectionMatrix.multiply(viewMatrix);
    inverseViewProjectionMatrix.copy(viewProjectionMatrix);
    math::invert(&inverseViewProjectionMatrix);

    static constexpr float kClipCorners[8][3] = {
        {-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
        {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1},
    };
    for (int i = 0; i < 8; ++i) {
        float x = kClipCorners[i][0];
        float y = kClipCorners[i][1];
        float z = kClipCorners[i][2];
        float w = 1.0f;
        inverseViewProjectionMatrix.transform(x, y, z, w);
        frustumCorners[i] = {x / w, y / w, z / w};
    }
}

void AbstractCamera::lookAt(const vec3f& eye, const vec3f& center, const vec3f& up) {
    position = eye;
    setDirection(math::normalize(eye - center) * -1.0f, up);
}

void AbstractCamera::setDirection(const vec3f& direction, const vec3f& up) {
    orientation = math::lookRotation(direction * -1.0f, up);
}

void AbstractCamera::setDirection(const vec3f& direction) {
    setDirection(direction, axisY);
}

OrthographicCamera::OrthographicCamera() {
    lookAt({0.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
    update();
}

void OrthographicCamera::updateProjectionMatrix() {
    math::ortho(baseProjectionMatrix, -aspect * size, aspect * size, -size, size, near, far);
}

PerspectiveCamera::PerspectiveCamera() {
    lookAt({0.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
    update();
}

void PerspectiveCamera::updateProjectionMatrix() {
    math::perspective(baseProjectionMatrix, fov, aspect, near, far);
}

float rollAngle(uint32_t rotationMode, float aspect, const RotationTransition& rotation) {
    const bool landscape = aspect >= 1.0f;
    switch (rotationMode) {
        case 0:
            if (landscape) {
                return rotation.current == RotateInfo::Portrait ? kHalfPi : 0.0f;
            }
            return rotation.current == RotateInfo::Landscape ? -kHalfPi : 0.0f;
        case 1:
            return landscape ? 0.0f : -kHalfPi;
        case 2:
            return landscape ? rotation.angleSmoothed : rotation.angleSmoothed - kHalfPi;
        case 3:
            return landscape ? rotation.angleSnapped : rotation.angleSnapped - kHalfPi;
        default:
            return 0.0f;
    }
}

}  // namespace util
