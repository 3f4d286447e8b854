#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "visualization/content/2021/ring/animator_util.h"
#include "visualization/util/math/scalar.h"

using namespace content2021::ring;

namespace {

float gap(const vec3f& a, const vec3f& b) {
    const vec3f d = a - b;
    return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
}

std::vector<WedgeAxisAligned> ringOf(size_t n, float arc) {
    std::vector<WedgeAxisAligned> segments(n);
    for (size_t i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / n;
        segments[i].angle = 2.0f * math::kPi * t;
        segments[i].scale = {arc, 1.0f, 1.0f};
        segments[i].roll = math::kPi * t;
    }
    return segments;
}

}  // namespace

TEST(RingWedges, ArcShareAndTheClosingHalfTurn) {
    RingGeometry ring;
    ring.radius = 1.0f;
    ring.width = 0.2f;
    ring.segmentAngle = 2.0f * math::kPi / 12.0f;
    std::vector<WedgeGeometry> wedges;

    // A full arc makes neighbours meet face to face; the last one, carrying half a turn of roll,
    // meets the first with its square turned by two corners.
    buildWedges(ringOf(12, 1.0f), ring, wedges);
    ASSERT_EQ(wedges.size(), 12u);
    for (size_t i = 0; i + 1 < 12; ++i) {
        for (int k = 0; k < 4; ++k) {
            EXPECT_LT(gap(wedges[i].corners[k + 4], wedges[i + 1].corners[k]), 1e-5f) << i;
        }
    }
    for (int k = 0; k < 4; ++k) {
        EXPECT_LT(gap(wedges[11].corners[k + 4], wedges[0].corners[(k + 2) % 4]), 1e-5f);
    }
    // Every corner lies at the radius give or take half the cross-section.
    for (const WedgeGeometry& wedge : wedges) {
        for (const vec3f& c : wedge.corners) {
            const float r = std::sqrt(c.x * c.x + c.z * c.z);
            EXPECT_GT(r, 0.85f);
            EXPECT_LT(r, 1.15f);
        }
    }

    // No arc share collapses both faces onto the middle of the arc.
    buildWedges(ringOf(12, 0.0f), ring, wedges);
    for (int k = 0; k < 4; ++k) {
        EXPECT_LT(gap(wedges[3].corners[k], wedges[3].corners[k + 4]), 1e-5f);
    }

    // Segments placed by position keep their square section.
    std::vector<WedgeLineAligned> line(8);
    for (size_t i = 0; i < 8; ++i) {
        const float a = 2.0f * math::kPi * i / 8.0f;
        line[i].position = {std::cos(a), 0.0f, std::sin(a)};
        line[i].roll = math::kPi * i / 8.0f;
    }
    buildWedges(line, ring, wedges);
    ASSERT_EQ(wedges.size(), 8u);
    for (const WedgeGeometry& wedge : wedges) {
        EXPECT_NEAR(gap(wedge.corners[0], wedge.corners[2]), 0.2f * std::sqrt(2.0f), 1e-5f);
        EXPECT_NEAR(gap(wedge.corners[0], wedge.corners[1]), 0.2f, 1e-5f);
    }
}
