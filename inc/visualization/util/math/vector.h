// The small value types of the maths layer: plain 32-bit float vectors and a quaternion.
#pragma once

struct vec2f {
    float x = 0.0f;
    float y = 0.0f;
};

struct vec3f {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// Rotation quaternion; the default is the identity.
struct quatf {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;
};

// Component-wise arithmetic and the few products the cameras need; all exact single-precision
// formulas, inline because they sit in every camera update.
inline vec3f operator-(const vec3f& a, const vec3f& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

inline vec3f operator+(const vec3f& a, const vec3f& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

inline vec3f operator*(const vec3f& v, float s) {
    return {v.x * s, v.y * s, v.z * s};
}

inline vec3f operator/(const vec3f& a, const vec3f& b) {
    return {a.x / b.x, a.y / b.y, a.z / b.z};
}

namespace math {

inline float dot(const vec3f& a, const vec3f& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

inline vec3f cross(const vec3f& a, const vec3f& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float length(const vec3f& v);
// A zero vector stays zero rather than turning into NaNs.
vec3f normalize(const vec3f& v);

}  // namespace math
