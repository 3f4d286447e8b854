// Simplex noise against a reference evaluation written here from the published algorithm: double
// precision, the simplex found by ranking the cell coordinates, the corners visited in a loop.
#include "visualization/util/noise.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <random>

namespace {

// The reference permutation of improved noise.
const std::array<int, 256> kPermutation = {
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
    141, 128, 195, 78,  66,  215, 61,  156, 180};

int perm(long i) {
    return kPermutation[static_cast<size_t>(((i % 256) + 256) % 256)];
}

// Gradients as coefficient vectors: the 2D set mixes a unit and a doubled axis, the 3D set is
// the twelve cube edges padded to sixteen.
std::array<double, 2> gradient2(int hash) {
    const int h = hash & 63;
    const bool swap = h >= 4;
    const double su = (h & 1) ? -1.0 : 1.0;
    const double sv = (h & 2) ? -2.0 : 2.0;
    return swap ? std::array<double, 2>{sv, su} : std::array<double, 2>{su, sv};
}

std::array<double, 3> gradient3(int hash) {
    const int h = hash & 15;
    std::array<double, 3> g{0, 0, 0};
    const int uAxis = h < 8 ? 0 : 1;
    const int vAxis = h < 4 ? 1 : (h == 12 || h == 14 ? 0 : 2);
    g[uAxis] += (h & 1) ? -1.0 : 1.0;
    g[vAxis] += (h & 2) ? -1.0 : 1.0;
    return g;
}

template <size_t N>
double referenceNoise(const std::array<double, N>& p) {
    const double n = static_cast<double>(N);
    const double skew = (std::sqrt(n + 1.0) - 1.0) / n;
    const double unskew = (1.0 - 1.0 / std::sqrt(n + 1.0)) / n;
    const double sum = std::accumulate(p.begin(), p.end(), 0.0);
    std::array<long, N> cell;
    std::array<double, N> d;
    for (size_t a = 0; a < N; ++a) {
        cell[a] = static_cast<long>(std::floor(p[a] + sum * skew));
    }
    const double back = static_cast<double>(std::accumulate(cell.begin(), cell.end(), 0L)) * unskew;
    for (size_t a = 0; a < N; ++a) {
        d[a] = p[a] - (static_cast<double>(cell[a]) - back);
    }
    // Walk from the cell origin along the axes in order of decreasing offset.
    std::array<size_t, N> order;
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return d[a] > d[b]; });

    const double radius = N == 2 ? 0.5 : 0.6;
    const double scale = N == 2 ? 45.23065 : 32.0;
    std::array<long, N> step{};
    double total = 0.0;
    for (size_t corner = 0; corner <= N; ++corner) {
        if (corner > 0) {
            step[order[corner - 1]] = 1;
        }
        std::array<double, N> offset;
        double t = radius;
        for (size_t a = 0; a < N; ++a) {
            offset[a] = d[a] - static_cast<double>(step[a]) + static_cast<double>(corner) * unskew;
            t -= offset[a] * offset[a];
        }
        if (t < 0.0) {
            continue;
        }
        int hash = 0;
        for (size_t a = N; a-- > 0;) {
            hash = perm(cell[a] + step[a] + hash);
        }
        double g = 0.0;
        if constexpr (N == 2) {
            const auto v = gradient2(hash);
            g = v[0] * offset[0] + v[1] * offset[1];
        } else {
            const auto v = gradient3(hash);
            g = v[0] * offset[0] + v[1] * offset[1] + v[2] * offset[2];
        }
        total += t * t * t * t * g;
    }
    return scale * total;
}

TEST(Noise, ReferencePermutationIsAPermutation) {
    std::array<int, 256> sorted = kPermutation;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(sorted[i], i);
    }
}

TEST(Noise, AgreesWithTheReferenceEvaluation) {
    std::mt19937 random(17);
    std::uniform_real_distribution<float> coordinate(-300.0f, 300.0f);
    for (int round = 0; round < 2000; ++round) {
        const float x = coordinate(random);
        const float y = coordinate(random);
        const float z = coordinate(random);
        EXPECT_NEAR(math::noise(x, y), referenceNoise<2>({x, y}), 2e-4) << x << " " << y;
        EXPECT_NEAR(math::noise(x, y, z), referenceNoise<3>({x, y, z}), 2e-4)
            << x << " " << y << " " << z;
    }
    // Negative coordinates take the floor: (-0.5, 0) lies in the cell with i = -1.
    EXPECT_NEAR(math::noise(-0.5f, 0.0f), referenceNoise<2>({-0.5, 0.0}), 1e-5);
    EXPECT_NE(math::noise(-0.5f, 0.0f), 0.0f);
    EXPECT_NEAR(math::noise(-0.5f, 0.25f, -1.75f), referenceNoise<3>({-0.5, 0.25, -1.75}), 1e-5);
}

TEST(Noise, VanishesOnTheLatticeAndIsDeterministic) {
    EXPECT_EQ(math::noise(0.0f, 0.0f), 0.0f);
    EXPECT_EQ(math::noise(0.0f, 0.0f, 0.0f), 0.0f);
    // Every corner's falloff reaches zero at a neighbouring corner, so the noise vanishes at all
    // corners of the skewed grid: (i, j) unskewed by (i + j) * G.
    const double g2 = (3.0 - std::sqrt(3.0)) / 6.0;
    const double g3 = 1.0 / 6.0;
    for (int i = -3; i <= 3; ++i) {
        for (int j = -3; j <= 3; ++j) {
            const double back2 = (i + j) * g2;
            EXPECT_NEAR(math::noise(static_cast<float>(i - back2), static_cast<float>(j - back2)),
                        0.0f, 1e-5f);
            const double back3 = (i + j + 2) * g3;
            EXPECT_NEAR(math::noise(static_cast<float>(i - back3), static_cast<float>(j - back3),
                                    static_cast<float>(2 - back3)),
                        0.0f, 1e-5f);
        }
    }
    const float a = math::noise(12.345f, -6.789f);
    const float b = math::noise(12.345f, -6.789f, 0.5f);
    for (int repeat = 0; repeat < 3; ++repeat) {
        EXPECT_EQ(math::noise(12.345f, -6.789f), a);
        EXPECT_EQ(math::noise(12.345f, -6.789f, 0.5f), b);
    }
}

TEST(Noise, StaysInRangeAndIsContinuous) {
    float low2 = 0.0f, high2 = 0.0f, low3 = 0.0f, high3 = 0.0f;
    float steepest2 = 0.0f, steepest3 = 0.0f;
    const float step = 1e-3f;
    for (int i = 0; i < 20000; ++i) {
        const float x = -50.0f + static_cast<float>(i) * 0.0137f;
        const float y = 20.0f - static_cast<float>(i) * 0.0071f;
        const float z = static_cast<float>(i % 97) * 0.053f;
        const float v2 = math::noise(x, y);
        const float v3 = math::noise(x, y, z);
        low2 = std::min(low2, v2), high2 = std::max(high2, v2);
        low3 = std::min(low3, v3), high3 = std::max(high3, v3);
        steepest2 = std::max(steepest2, std::fabs(math::noise(x + step, y) - v2) / step);
        steepest3 = std::max(steepest3, std::fabs(math::noise(x, y, z + step) - v3) / step);
    }
    EXPECT_GE(low2, -1.0f);
    EXPECT_LE(high2, 1.0f);
    EXPECT_GE(low3, -1.0f);
    EXPECT_LE(high3, 1.0f);
    // It uses most of its range...
    EXPECT_LT(low2, -0.6f);
    EXPECT_GT(high2, 0.6f);
    EXPECT_LT(low3, -0.6f);
    EXPECT_GT(high3, 0.6f);
    // ...without jumps: a step of 1/1000 never moves it by more than a few thousandths.
    EXPECT_LT(steepest2, 10.0f);
    EXPECT_LT(steepest3, 10.0f);
}

}  // namespace
