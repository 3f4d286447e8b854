// Simplex noise against sample values of a reference evaluation done in double precision from
// the published algorithm (simplex found by ranking the cell coordinates, corners visited in a
// loop), spread over cells with negative and large coordinates.
#include "visualization/util/noise.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

TEST(Noise, AgreesWithTheReferenceEvaluation) {
    const float samples[][4] = {
        // x, y, z (NAN for the 2D noise), expected
        {-0.5f, 0.0f, NAN, -0.872617f},      {12.345f, -6.789f, NAN, 0.918184f},
        {250.25f, -199.5f, NAN, -0.449797f}, {-17.8f, -3.3f, NAN, -0.757834f},
        {-0.5f, 0.25f, -1.75f, 0.009389f},   {0.3f, 0.7f, 0.1f, 0.159371f},
        {-123.4f, 56.7f, 88.1f, -0.274658f}, {250.25f, -199.5f, -42.0f, -0.116463f},
    };
    for (const auto& [x, y, z, expected] : samples) {
        EXPECT_NEAR(std::isnan(z) ? math::noise(x, y) : math::noise(x, y, z), expected, 2e-4)
            << x << " " << y << " " << z;
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
    // It is 0 at the origin, a corner of the grid, and uses most of its range...
    EXPECT_TRUE(math::noise(0.0f, 0.0f) == 0.0f && math::noise(0.0f, 0.0f, 0.0f) == 0.0f);
    EXPECT_TRUE(low2 >= -1.0f && low2 < -0.6f && high2 > 0.6f && high2 <= 1.0f);
    EXPECT_TRUE(low3 >= -1.0f && low3 < -0.6f && high3 > 0.6f && high3 <= 1.0f);
    // ...without jumps: a step of 1/1000 never moves it by more than a few thousandths.
    EXPECT_LT(steepest2, 10.0f);
    EXPECT_LT(steepest3, 10.0f);
}

}  // namespace
