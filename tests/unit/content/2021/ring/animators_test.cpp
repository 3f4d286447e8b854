#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/log_capture.h"
#include "unit/content/2021/ring/ring_sound.h"
#include "visualization/util/math/scalar.h"
#include "visualization/util/random.h"

using namespace ringtest;
using content2021::ring::WedgeGeometry;

namespace {

// How far two frames' wedges are apart, summed over every corner.
float difference(const std::vector<WedgeGeometry>& a, const std::vector<WedgeGeometry>& b) {
    float sum = 0.0f;
    for (size_t w = 0; w < std::min(a.size(), b.size()); ++w) {
        for (int k = 0; k < 8; ++k) {
            sum += std::fabs(a[w].corners[k].x - b[w].corners[k].x) +
                   std::fabs(a[w].corners[k].y - b[w].corners[k].y) +
                   std::fabs(a[w].corners[k].z - b[w].corners[k].z);
        }
    }
    return sum;
}

float difference(const math::mat44<float>& a, const math::mat44<float>& b) {
    float sum = 0.0f;
    for (int i = 0; i < 16; ++i) {
        sum += std::fabs(a[i] - b[i]);
    }
    return sum;
}

// A turn by half turns keeps every matrix element at -1, 0 or 1.
bool isHalfTurn(const math::mat44<float>& m) {
    for (int i = 0; i < 16; ++i) {
        const float v = std::fabs(m[i]);
        if (std::fabs(v) > 0.02f && std::fabs(v - 1.0f) > 0.02f) {
            return false;
        }
    }
    return true;
}

}  // namespace

TEST(RingAnimators, LayoutAndConstructorScopes) {
    for (int version = 0; version < 6; ++version) {
        testsupport::LogCapture log;
        auto animator = makeAnimator(version);
        const std::string scope =
            "[content2021][ring][Animator_Version_" + std::to_string(version) + "][Constructor] ";
        EXPECT_EQ(log.lines().front(), scope + "Begin");
        EXPECT_EQ(log.lines().back(), scope + "End");

        RingSound input;
        play(*animator, input, 0.5f, 10);
        const auto& scene = animator->getScene();
        // The line width is a couple of pixels at any resolution.
        EXPECT_GT(scene.mThickness * 1080.0f / 2.0f, 2.9f);
        EXPECT_LT(scene.mThickness * 1080.0f / 2.0f, 4.1f);
        // The ring lies about the origin, within a unit of it.
        for (const WedgeGeometry& wedge : scene.mWedges) {
            for (const vec3f& c : wedge.corners) {
                ASSERT_TRUE(std::isfinite(c.x) && std::isfinite(c.y) && std::isfinite(c.z));
                EXPECT_LT(std::sqrt(c.x * c.x + c.y * c.y + c.z * c.z), 1.0f) << version;
            }
        }
        // No box crosses itself: each corner of a box's end face sits on the same side of the
        // face's centre as the start corner it joins, so the four long edges run side by side.
        for (size_t w = 0; w < scene.mWedges.size(); ++w) {
            const vec3f* c = scene.mWedges[w].corners;
            const vec3f start = (c[0] + c[1] + c[2] + c[3]) * 0.25f;
            const vec3f end = (c[4] + c[5] + c[6] + c[7]) * 0.25f;
            for (int k = 0; k < 4; ++k) {
                EXPECT_GT(math::dot(c[k] - start, c[k + 4] - end), 0.0f)
                    << "version " << version << ", box " << w << ", corner " << k;
            }
        }

        // Faded out, every box collapses to a point.
        animator->setFade(0.0f);
        animator->update(kDt, input.sound, RotationTransition{});
        for (const WedgeGeometry& wedge : scene.mWedges) {
            EXPECT_FLOAT_EQ(wedge.corners[0].x, wedge.corners[6].x);
            EXPECT_FLOAT_EQ(wedge.corners[0].y, wedge.corners[6].y);
        }
    }
}

// The sizes of every box's two end faces, corner to opposite corner.
std::vector<float> sections(const Animator& animator) {
    std::vector<float> sizes;
    for (const WedgeGeometry& w : animator.getScene().mWedges) {
        sizes.push_back(math::length(w.corners[0] - w.corners[2]));
        sizes.push_back(math::length(w.corners[4] - w.corners[6]));
    }
    return sizes;
}

// Version_2 zeroes its three level lists while paused, so its boxes shrink to their resting size
// in the first paused frame; the others ease there.
TEST(RingAnimators, WhilePausedTheRingSettlesAndHolds) {
    for (int version = 0; version < 6; ++version) {
        auto animator = makeAnimator(version);
        RingSound input(SoundClass::Moderate);
        play(*animator, input, 0.8f, 60);
        pause(*animator, input, 1);
        const std::vector<float> firstPaused = sections(*animator);
        pause(*animator, input, 600);
        const std::vector<WedgeGeometry> before = animator->getScene().mWedges;
        pause(*animator, input, 1);
        EXPECT_LT(difference(before, animator->getScene().mWedges), 0.01f) << version;
        if (version == 2) {
            const std::vector<float> settled = sections(*animator);
            for (size_t i = 0; i < settled.size(); ++i) {
                ASSERT_NEAR(firstPaused[i], settled[i], 1e-4f) << "face " << i;
            }
        }
    }
}

// Beats in a beat-driven class. The first trigger (on the very first frame, whose peak history is
// all its own) only arms the turning, and the peaks stay high until a louder burst sets the
// range; after the quiet that follows, the next burst starts a half turn about some axis, on
// which the ring settles.
TEST(RingAnimators, ABeatStartsAHalfTurnOnceArmed) {
    for (int version : {0, 4}) {
        util::setRandomSeed(11);
        auto animator = makeAnimator(version);
        RingSound input(SoundClass::Dynamic);
        play(*animator, input, 0.1f);
        const math::mat44<float> rest = animator->getScene().mRingMatrix;
        play(*animator, input, 0.1f, 30);
        play(*animator, input, 1.0f, 8);
        play(*animator, input, 0.1f, 60);
        EXPECT_LT(difference(rest, animator->getScene().mRingMatrix), 1e-4f) << version;

        play(*animator, input, 1.0f, 8);
        play(*animator, input, 0.1f, 10);
        EXPECT_FALSE(isHalfTurn(animator->getScene().mRingMatrix)) << version;
        play(*animator, input, 0.1f, 200);
        const math::mat44<float> turned = animator->getScene().mRingMatrix;
        EXPECT_TRUE(isHalfTurn(turned)) << version;
        EXPECT_GT(difference(rest, turned), 1.0f) << version;
    }
}
