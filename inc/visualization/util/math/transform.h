// The elementary model transforms, as matrices to multiply onto a model matrix from the right
// (model = model x transform applies the transform in the model's local frame).
#pragma once

#include <cmath>

#include "visualization/util/math/mat44.h"

namespace math {

inline mat44<float> translation(float x, float y, float z) {
    mat44<float> m;
    m[12] = x, m[13] = y, m[14] = z;
    return m;
}

inline mat44<float> scaling(float x, float y, float z) {
    mat44<float> m;
    m[0] = x, m[5] = y, m[10] = z;
    return m;
}

// Right-handed rotation by `angle` radians about the axis (x, y, z), which is normalised here; a
// zero axis gives the identity.
inline mat44<float> rotation(float angle, float x, float y, float z) {
    mat44<float> m;
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length == 0.0f) {
        return m;
    }
    x /= length, y /= length, z /= length;
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const float t = 1.0f - c;
    m.set(t * x * x + c, t * x * y + s * z, t * x * z - s * y, 0.0f,  //
          t * x * y - s * z, t * y * y + c, t * y * z + s * x, 0.0f,  //
          t * x * z + s * y, t * y * z - s * x, t * z * z + c, 0.0f,  //
          0.0f, 0.0f, 0.0f, 1.0f);
    return m;
}

}  // namespace math
