#include "visualization/util/math/quaternion.h"

#include <cmath>
#include <limits>

namespace math {

quatf fromAxisAngle(const vec3f& axis, float angle) {
    const float s = std::sin(angle / 2.0f);
    return {axis.x * s, axis.y * s, axis.z * s, std::cos(angle / 2.0f)};
}

vec3f rotate(const quatf& q, const vec3f& v) {
    const vec3f axis{q.x, q.y, q.z};
    const vec3f t = cross(axis, v);
    const vec3f u = cross(axis, t);
    return v + t * (2.0f * q.w) + u * 2.0f;
}

quatf fromBasis(const vec3f& r, const vec3f& u, const vec3f& f) {
    // Branch on the largest diagonal term so that s never nears zero.
    const float trace = r.x + u.y + f.z;
    quatf q;
    if (trace > 0.0f) {
        const float s = 2.0f * std::sqrt(trace + 1.0f);
        q.w = s / 4.0f;
        q.x = (u.z - f.y) / s;
        q.y = (f.x - r.z) / s;
        q.z = (r.y - u.x) / s;
    } else if (r.x > f.z && r.x > u.y) {
        const float s = 2.0f * std::sqrt(1.0f + r.x - u.y - f.z);
        q.x = s / 4.0f;
        q.w = (u.z - f.y) / s;
        q.y = (u.x + r.y) / s;
        q.z = (f.x + r.z) / s;
    } else if (u.y > f.z) {
        const float s = 2.0f * std::sqrt(1.0f + u.y - r.x - f.z);
        q.y = s / 4.0f;
        q.w = (f.x - r.z) / s;
        q.x = (u.x + r.y) / s;
        q.z = (f.y + u.z) / s;
    } else {
        const float s = 2.0f * std::sqrt(1.0f + f.z - r.x - u.y);
        q.z = s / 4.0f;
        q.w = (r.y - u.x) / s;
        q.x = (f.x + r.z) / s;
        q.y = (f.y + u.z) / s;
    }
    return q;
}

quatf lookRotation(const vec3f& forward, const vec3f& up) {
    const vec3f f = normalize(forward);
    vec3f upward = up;
    const float epsilon = std::numeric_limits<float>::epsilon();
    if (std::fabs(f.x) < epsilon && std::fabs(f.z) < epsilon) {
        upward = f.y <= 0.0f ? vec3f{0.0f, 0.0f, -1.0f} : vec3f{0.0f, 0.0f, 1.0f};
    }
    const vec3f r = normalize(cross(upward, f));
    const vec3f u = normalize(cross(f, r));
    return fromBasis(r, u, f);
}

}  // namespace math
