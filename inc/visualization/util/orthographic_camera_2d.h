// The flat camera of the point fields and the kaleidoscope: an orthographic view whose rectangle
// its owners also use for culling and wrapping, in a plane where screen y grows downwards.
#pragma once

#include <cstdint>

#include "visualization/rotation_transition.h"
#include "visualization/util/camera.h"

class OrthographicCamera2d : public util::OrthographicCamera {
public:
    OrthographicCamera2d();

    // Looks from eye at center, rolls by the angle rotationMode picks and updates the matrices,
    // the bounds and the rotation flags.
    void update(const RotationTransition& rotation);
    using util::OrthographicCamera::update;

    // True when a disc of this radius at (x, y) cannot be seen; a point without extent never can,
    // and touching an edge from outside counts as outside.
    bool isOutside(float x, float y, float radius) const;
    // Moves a disc that has left the view completely to the opposite side, just outside it.
    void wrap(float& x, float& y, float radius) const;
    // Into and out of the rolled view plane.
    void toView(float& x, float& y) const;
    void fromView(float& x, float& y) const;

    vec2f boundsMin;     // (-aspect * size, -size)
    vec2f boundsMax;     // (aspect * size, size)
    float angle = 0.0f;  // roll of the last update, radians
    float cosAngle = 0.0f;
    float sinAngle = 0.0f;
    float cosNegativeAngle = 0.0f;
    float sinNegativeAngle = 0.0f;
    bool rotating = false;         // rotation progress within [0.001, 0.999]
    bool rotatingHalfway = false;  // rotation progress within [0.35, 0.65]
    uint32_t rotationMode = 2;
    vec3f eye{0.0f, 0.0f, -1.0f};
    vec3f center{0.0f, 0.0f, 0.0f};
    vec3f up{0.0f, -1.0f, 0.0f};
    quatf roll;
};
