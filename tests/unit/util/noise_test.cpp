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

}  // namespace
