#include <gtest/gtest.h>

#include <cmath>

#include "support/band_music.h"
#include "visualization/content/2021/lines/animator_version_0.h"
#include "visualization/content/2021/lines/line.h"
#include "visualization/util/random.h"

using content2021::lines::Animator_Version_0;
using content2021::lines::Line;
using content2021::lines::LineGradient;
using content2021::lines::LinePoint;
using LinesSound = testsupport::BandMusic;
constexpr float kDt = testsupport::kMusicDt;

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

TEST(LinesAnimator, HighBeatRetargetsTheTrailEvenOnTheWay) {
    util::setRandomSeed(11);
    Animator_Version_0 animator(320, 180);
    LinesSound input(SoundClass::Soft);
    int retargetsOnTheWay = 0;
    for (int beat = 0; beat < 6; ++beat) {
        testsupport::play(animator, input, 0.1f, 40);
        for (int frame = 0; frame < 10; ++frame) {
            const auto before = animator.getTrail();
            testsupport::play(animator, input, 1.0f);
            // A beat (the base trigger sees the same peak as the trail's) far from the target,
            // where only the beat can move it.
            if (animator.getFramesSinceBeat() != 0 ||
                distance(before.position, before.target) < 0.15f) {
                continue;
            }
            EXPECT_FALSE(same(animator.getTrail().target, before.target)) << beat;
            ++retargetsOnTheWay;
        }
    }
    EXPECT_GE(retargetsOnTheWay, 5);
}

TEST(LinesAnimator, TrailTargetsStayInsideTheBoundsSwappedInPortrait) {
    util::setRandomSeed(5);
    Animator_Version_0 animator(180, 320);
    LinesSound input(SoundClass::Moderate);
    RotationTransition portrait{};
    portrait.current = RotateInfo::Portrait;
    bool tall = false;
    for (int frame = 0; frame < 3000; ++frame) {
        input.feed(0.3f);
        animator.setFade(1.0f);
        animator.update(kDt, input.sound, portrait);
        const vec3f& target = animator.getTrail().target;
        ASSERT_LE(std::fabs(target.x), 0.5f);
        ASSERT_LE(std::fabs(target.y), 1.0f);
        ASSERT_GE(target.z, -0.5f);
        ASSERT_LE(target.z, 1.0f);
        tall = tall || std::fabs(target.y) > 0.5f;
    }
    EXPECT_TRUE(tall) << "portrait targets use the long extent vertically";
}
