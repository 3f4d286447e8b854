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
