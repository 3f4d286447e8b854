#include <gtest/gtest.h>

#include <cmath>

#include "visualization/content/2021/lines/line.h"

using content2021::lines::Line;
using content2021::lines::LineGradient;
using content2021::lines::LinePoint;
constexpr float kDt = 1.0f / 60.0f;

namespace {

const LineGradient kWhite = {colorf(1.0f, 1.0f), colorf(1.0f, 1.0f), colorf(1.0f, 1.0f)};

float distance(const vec3f& a, const vec3f& b) {
    return math::length(a - b);
}

bool same(const vec3f& a, const vec3f& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

}  // namespace

TEST(LinesLine, ChainKeepsItsSpacingWhenTheHeadJumps) {
    Line line({0.0f, 0.0f, 0.0f}, 100, 26);
    line.headEasing = 0.0f;
    line.followEasing = 0.0f;
    line.slack = 0.4f;
    const float rest = line.slack * (line.length / 100.0f) * (2.0f - line.slack);
    // From a single spot the chain unfolds to its rest spacing, all links alike.
    for (int frame = 0; frame < 5; ++frame) {
        line.update(kDt, kWhite, 1.0f);
    }
    const auto& p = line.drawable.points;
    for (size_t i = 1; i < p.size(); ++i) {
        ASSERT_NEAR(distance(p[i].position, p[i - 1].position), rest, 1e-5f) << i;
    }

    line.headTarget = {3.0f, -2.0f, 1.0f};
    line.update(kDt, kWhite, 1.0f);
    EXPECT_TRUE(same(p[0].position, line.headTarget)) << "no easing: the head point jumps";
    for (size_t i = 1; i < p.size(); ++i) {
        EXPECT_GE(distance(p[i].position, p[i - 1].position), rest * 0.9999f) << i;
    }
    // The stretched links contract by the slack every frame; each point lags its predecessor by
    // a few frames, so the tail comes to rest well after the head.
    for (int frame = 0; frame < 600; ++frame) {
        line.update(kDt, kWhite, 1.0f);
    }
    for (size_t i = 1; i < p.size(); ++i) {
        EXPECT_NEAR(distance(p[i].position, p[i - 1].position), rest, 1e-4f) << i;
    }
}

TEST(LinesLine, FramesStayOrthonormalThroughFastTurns) {
    Line line({0.0f, 0.0f, 0.0f}, 100, 26);
    line.headEasing = 0.0f;
    line.followEasing = 0.0f;
    std::vector<vec3f> lastNormals(100);
    for (int frame = 0; frame < 1200; ++frame) {
        // A head that whips round a tight knot, reversing and crossing the tube's own path.
        const float t = static_cast<float>(frame) * kDt;
        line.headTarget = {0.6f * std::sin(7.0f * t), 0.4f * std::sin(11.0f * t),
                           0.5f * std::cos(5.0f * t)};
        line.update(kDt, kWhite, 1.0f);
        const auto& p = line.drawable.points;
        for (size_t i = 0; i < p.size(); ++i) {
            const LinePoint& q = p[i];
            const float error = std::fabs(math::length(q.tangent) - 1.0f) +
                                std::fabs(math::length(q.normal) - 1.0f) +
                                std::fabs(math::length(q.binormal) - 1.0f) +
                                std::fabs(math::dot(q.tangent, q.normal)) +
                                std::fabs(math::dot(q.tangent, q.binormal)) +
                                std::fabs(math::dot(q.normal, q.binormal));
            ASSERT_LT(error, 1e-3f) << "frame " << frame << ", point " << i;
            // Carried, not rebuilt: neighbours and successive frames never flip the normal.
            if (i > 0) {
                ASSERT_GT(math::dot(q.normal, p[i - 1].normal), 0.0f) << frame << " " << i;
            }
            if (frame > 0) {
                ASSERT_GT(math::dot(q.normal, lastNormals[i]), 0.0f) << frame << " " << i;
            }
            lastNormals[i] = q.normal;
        }
    }
}
