// Rotation quaternions for the cameras: (x, y, z) is the axis part, w the scalar part.
#pragma once

#include "visualization/util/math/vector.h"

namespace math {

// (axis * sin(angle / 2), cos(angle / 2)); the axis is used as given.
quatf fromAxisAngle(const vec3f& axis, float angle);

// v rotated by q (q must be a unit quaternion).
vec3f rotate(const quatf& q, const vec3f& v);

// The rotation whose matrix has the columns right, up and forward (an orthonormal basis).
quatf fromBasis(const vec3f& right, const vec3f& up, const vec3f& forward);

// The rotation that turns +z onto `forward` and keeps +y as close to `up` as it can. When
// forward is (nearly) vertical, up is replaced by -z or +z so that the basis stays defined.
quatf lookRotation(const vec3f& forward, const vec3f& up);

}  // namespace math

// Hamilton product: a * b applies b first, then a.
inline quatf operator*(const quatf& a, const quatf& b) {
    return {a.x * b.w + a.w * b.x + a.y * b.z - a.z * b.y,
            a.y * b.w + a.w * b.y + a.z * b.x - a.x * b.z,
            a.z * b.w + a.w * b.z + a.x * b.y - a.y * b.x,
            a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}
