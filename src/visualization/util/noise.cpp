#include "visualization/util/noise.h"

#include <cstdint>

namespace math {

namespace {

// The permutation of the reference implementation of improved noise.
constexpr uint8_t kPermutation[256] = {
    151, 160, 137, 91,  90,  15,  131, 13,  201, 95,  96,  53,  194, 233, 7,   225, 140, 36,  103,
    30,  69,  142, 8,   99,  37,  240, 21,  10,  23,  190, 6,   148, 247, 120, 234, 75,  0,   26,
    197, 62,  94,  252, 219, 203, 117, 35,  11,  32,  57,  177, 33,  88,  237, 149, 56,  87,  174,
    20,  125, 136, 171, 168, 68,  175, 74,  165, 71,  134, 139, 48,  27,  166, 77,  146, 158, 231,
    83,  111, 229, 122, 60,  211, 133, 230, 220, 105, 92,  41,  55,  46,  245, 40,  244, 102, 143,
    54,  65,  25,  63,  161, 1,   216, 80,  73,  209, 76,  132, 187, 208, 89,  18,  169, 200, 196,
    135, 130, 116, 188, 159, 86,  164, 100, 109, 198, 173, 186, 3,   64,  52,  217, 226, 250, 124,
    123, 5,   202, 38,  147, 118, 126, 255, 82,  85,  212, 207, 206, 59,  227, 47,  16,  58,  17,
    182, 189, 28,  42,  223, 183, 170, 213, 119, 248, 152, 2,   44,  154, 163, 70,  221, 153, 101,
    155, 167, 43,  172, 9,   129, 22,  39,  253, 19,  98,  108, 110, 79,  113, 224, 232, 178, 185,
    112, 104, 218, 246, 97,  228, 251, 34,  242, 193, 238, 210, 144, 12,  191, 179, 162, 241, 81,
    51,  145, 235, 249, 14,  239, 107, 49,  192, 214, 31,  181, 199, 106, 157, 184, 84,  204, 176,
    115, 121, 50,  45,  127, 4,   150, 254, 138, 236, 205, 93,  222, 114, 67,  29,  24,  72,  243,
    141, 128, 195, 78,  66,  215, 61,  156, 180,
};

// The low 8 bits pick the entry, so negative cells and sums beyond 255 wrap.
inline uint8_t hash(int32_t i) {
    return kPermutation[static_cast<uint8_t>(i)];
}

inline int32_t fastfloor(float x) {
    const int32_t i = static_cast<int32_t>(x);
    return static_cast<float>(i) > x ? i - 1 : i;
}

inline float grad(uint8_t hash, float x, float y) {
    const int h = hash & 63;
    const float u = h < 4 ? x : y;
    const float v = h < 4 ? y : x;
    return ((h & 1) ? -u : u) + ((h & 2) ? -2.0f * v : 2.0f * v);
}

inline float grad(uint8_t hash, float x, float y, float z) {
    const int h = hash & 15;
    const float u = h < 8 ? x : y;
    const float v = h < 4 ? y : (h == 12 || h == 14 ? x : z);
    return ((h & 1) ? -u : u) + ((h & 2) ? -v : v);
}

inline float contribution(float t, float gradient) {
    if (t < 0.0f) {
        return 0.0f;
    }
    t *= t;
    return t * t * gradient;
}

}  // namespace

float noise(float x, float y) {
    constexpr float F2 = 0.3660254f;   // (sqrt(3) - 1) / 2
    constexpr float G2 = 0.21132487f;  // (3 - sqrt(3)) / 6

    // Skew into the cell of the triangle grid, then measure from its origin unskewed.
    const float s = (x + y) * F2;
    const int32_t i = fastfloor(x + s);
    const int32_t j = fastfloor(y + s);
    const float t = static_cast<float>(i + j) * G2;
    const float x0 = x - (static_cast<float>(i) - t);
    const float y0 = y - (static_cast<float>(j) - t);

    const int32_t i1 = x0 > y0 ? 1 : 0;
    const int32_t j1 = x0 > y0 ? 0 : 1;
    const float x1 = x0 - static_cast<float>(i1) + G2;
    const float y1 = y0 - static_cast<float>(j1) + G2;
    const float x2 = x0 - 1.0f + 0.42264974f;
    const float y2 = y0 - 1.0f + 0.42264974f;

    const uint8_t g0 = hash(i + hash(j));
    const uint8_t g1 = hash(i + i1 + hash(j + j1));
    const uint8_t g2 = hash(i + 1 + hash(j + 1));

    const float n0 = contribution(0.5f - x0 * x0 - y0 * y0, grad(g0, x0, y0));
    const float n1 = contribution(0.5f - x1 * x1 - y1 * y1, grad(g1, x1, y1));
    const float n2 = contribution(0.5f - x2 * x2 - y2 * y2, grad(g2, x2, y2));
    return 45.23065f * (n0 + n1 + n2);
}

float noise(float x, float y, float z) {
    constexpr float F3 = 0.33333334f;
    constexpr float G3 = 0.16666667f;

    const float s = (x + y + z) * F3;
    const int32_t i = fastfloor(x + s);
    const int32_t j = fastfloor(y + s);
    const int32_t k = fastfloor(z + s);
    const float t = static_cast<float>(i + j + k) * G3;
    const float x0 = x - (static_cast<float>(i) - t);
    const float y0 = y - (static_cast<float>(j) - t);
    const float z0 = z - (static_cast<float>(k) - t);

    // Which of the six tetrahedra of the cell the point lies in.
    int32_t i1, j1, k1, i2, j2, k2;
    if (x0 >= y0) {
        if (y0 >= z0) {
            i1 = 1, j1 = 0, k1 = 0, i2 = 1, j2 = 1, k2 = 0;
        } else if (x0 >= z0) {
            i1 = 1, j1 = 0, k1 = 0, i2 = 1, j2 = 0, k2 = 1;
        } else {
            i1 = 0, j1 = 0, k1 = 1, i2 = 1, j2 = 0, k2 = 1;
        }
    } else {
        if (y0 < z0) {
            i1 = 0, j1 = 0, k1 = 1, i2 = 0, j2 = 1, k2 = 1;
        } else if (x0 < z0) {
            i1 = 0, j1 = 1, k1 = 0, i2 = 0, j2 = 1, k2 = 1;
        } else {
            i1 = 0, j1 = 1, k1 = 0, i2 = 1, j2 = 1, k2 = 0;
        }
    }

    const float x1 = x0 - static_cast<float>(i1) + G3;
    const float y1 = y0 - static_cast<float>(j1) + G3;
    const float z1 = z0 - static_cast<float>(k1) + G3;
    const float x2 = x0 - static_cast<float>(i2) + 0.33333334f;
    const float y2 = y0 - static_cast<float>(j2) + 0.33333334f;
    const float z2 = z0 - static_cast<float>(k2) + 0.33333334f;
    const float x3 = x0 - 1.0f + 0.5f;
    const float y3 = y0 - 1.0f + 0.5f;
    const float z3 = z0 - 1.0f + 0.5f;

    const uint8_t g0 = hash(i + hash(j + hash(k)));
    const uint8_t g1 = hash(i + i1 + hash(j + j1 + hash(k + k1)));
    const uint8_t g2 = hash(i + i2 + hash(j + j2 + hash(k + k2)));
    const uint8_t g3 = hash(i + 1 + hash(j + 1 + hash(k + 1)));

    const float n0 = contribution(0.6f - x0 * x0 - y0 * y0 - z0 * z0, grad(g0, x0, y0, z0));
    const float n1 = contribution(0.6f - x1 * x1 - y1 * y1 - z1 * z1, grad(g1, x1, y1, z1));
    const float n2 = contribution(0.6f - x2 * x2 - y2 * y2 - z2 * z2, grad(g2, x2, y2, z2));
    const float n3 = contribution(0.6f - x3 * x3 - y3 * y3 - z3 * z3, grad(g3, x3, y3, z3));
    return 32.0f * (n0 + n1 + n2 + n3);
}

}  // namespace math
