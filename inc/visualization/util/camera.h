// The camera bases: a camera turns its position, orientation and projection parameters into the
// matrices renderers upload. Owners write the public fields and call update(); the rotation-aware
// cameras built on these (OrthographicCamera2d, OrthographicCamera3d, PerspectiveCamera) also
// roll with the device rotation.
#pragma once

#include <array>
#include <cstdint>

#include "visualization/rotation_transition.h"
#include "visualization/util/math/mat44.h"
#include "visualization/util/math/quaternion.h"
#include "visualization/util/math/vector.h"

namespace util {

class AbstractCamera {
public:
    // Writes baseProjectionMatrix.
    virtual void updateProjectionMatrix() = 0;
    // Recomputes every derived matrix, the axes and the frustum corners from the fields.
    virtual void update();

    // position = eye, looking at center. Does not update.
    void lookAt(const vec3f& eye, const vec3f& center, const vec3f& up);
    // Points the view along direction; the camera's back axis points the other way.
    void setDirection(const vec3f& direction, const vec3f& up);
    // The same with the current up axis.
    void setDirection(const vec3f& direction);

    const math::mat44<float>& getProjectionMatrix() const { return projectionMatrix; }
    const math::mat44<float>& getViewMatrix() const { return viewMatrix; }

    math::mat44<float> baseProjectionMatrix;
    math::mat44<float> projectionMatrix;  // base, flipped and offset: the one drawn with
    math::mat44<float> viewMatrix;        // world to eye
    math::mat44<float> inverseViewMatrix;
    math::mat44<float> viewProjectionMatrix;  // projection x view
    math::mat44<float> inverseViewProjectionMatrix;
    vec3f axisX{1.0f, 0.0f, 0.0f};          // right, in world space
    vec3f axisY{0.0f, 1.0f, 0.0f};          // up
    vec3f axisZ{0.0f, 0.0f, 1.0f};          // back
    std::array<vec3f, 8> frustumCorners{};  // near face then far face, counter-clockwise
    vec3f position;
    quatf orientation;
    float aspect = 1.0f;     // viewport width / height, set by the owner
    vec2f projectionOffset;  // written into elements 8 and 9 of the projection
    bool flipX = false;

protected:
    // Cameras are members of their owners and never deleted through this base.
    ~AbstractCamera() = default;
};

class OrthographicCamera : public AbstractCamera {
public:
    OrthographicCamera();
    void updateProjectionMatrix() override;

    float size = 0.5f;  // half the view height in world units
    float near = 0.0f;  // eye-space z (not a distance) that maps to depth -1
    float far = -5.0f;  // eye-space z that maps to depth +1
};

class PerspectiveCamera : public AbstractCamera {
public:
    PerspectiveCamera();
    void updateProjectionMatrix() override;

    float fov = 45.0f;  // vertical, degrees
    float near = 0.01f;
    float far = 10.0f;
};

// The angle the rotation-aware cameras roll by, for every mode but the orthographic 3D camera's
// mode 1, which that camera decides itself. Landscape means aspect >= 1.
float rollAngle(uint32_t rotationMode, float aspect, const RotationTransition& rotation);

}  // namespace util
