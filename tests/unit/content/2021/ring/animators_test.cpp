// The ring animators: what the pictures of their modes at rest cannot show (faded-out boxes, the
// pause, the half turns beats start) and the box that once crossed itself.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "support/band_music.h"
#include "visualization/content/2021/ring/animator_version_0.h"
#include "visualization/content/2021/ring/animator_version_1.h"
#include "visualization/content/2021/ring/animator_version_2.h"
#include "visualization/content/2021/ring/animator_version_3.h"
#include "visualization/content/2021/ring/animator_version_4.h"
#include "visualization/content/2021/ring/animator_version_5.h"
#include "visualization/util/random.h"

using namespace content2021::ring;
using Animator = content2021::ring::AbstractAnimator;
using testsupport::play;

namespace {

using Ring = std::unique_ptr<Animator>;

Ring makeAnimator(int version) {
    const std::function<Ring()> versions[] = {
        [] { return std::make_unique<Animator_Version_0>(1920, 1080); },
        [] { return std::make_unique<Animator_Version_1>(1920, 1080); },
        [] { return std::make_unique<Animator_Version_2>(1920, 1080); },
        [] { return std::make_unique<Animator_Version_3>(1920, 1080); },
        [] { return std::make_unique<Animator_Version_4>(1920, 1080); },
        [] { return std::make_unique<Animator_Version_5>(1920, 1080); }};
    return versions[version]();
}

// Paused, as while the player waits for band data: no new bands arrive.
void pause(Animator& animator, const testsupport::BandMusic& music, int frames) {
    animator.setPaused(true);
    for (int i = 0; i < frames; ++i) {
        animator.update(testsupport::kMusicDt, music.sound, RotationTransition{});
    }
}

// How far two frames' wedges are apart, summed over every corner.
float difference(const std::vector<WedgeGeometry>& a, const std::vector<WedgeGeometry>& b) {
    float sum = 0.0f;
    for (size_t w = 0; w < std::min(a.size(), b.size()); ++w) {
        for (int k = 0; k < 8; ++k) {
            const vec3f d = a[w].corners[k] - b[w].corners[k];
            sum += std::fabs(d.x) + std::fabs(d.y) + std::fabs(d.z);
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
        if (v > 0.02f && std::fabs(v - 1.0f) > 0.02f) {
            return false;
        }
    }
    return true;
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

}  // namespace

// No box crosses itself: each corner of a box's end face sits on the same side of the face's
// centre as the start corner it joins (VERSION_5's last box once took back a half turn). Paused,
// the ring settles and holds; VERSION_2 zeroes its three level lists, so its boxes shrink to
// their resting size in the first paused frame. Faded out, every box collapses to a point.
TEST(RingAnimators, BoxesRunStraightSettleWhilePausedAndCollapseFadedOut) {
    for (int version = 0; version < 6; ++version) {
        auto animator = makeAnimator(version);
        testsupport::BandMusic music(SoundClass::Moderate);
        play(*animator, music, 0.8f, 60);
        const auto& wedges = animator->getScene().mWedges;
        for (size_t w = 0; w < wedges.size(); ++w) {
            const vec3f* c = wedges[w].corners;
            const vec3f start = (c[0] + c[1] + c[2] + c[3]) * 0.25f;
            const vec3f end = (c[4] + c[5] + c[6] + c[7]) * 0.25f;
            for (int k = 0; k < 4; ++k) {
                EXPECT_GT(math::dot(c[k] - start, c[k + 4] - end), 0.0f)
                    << "version " << version << ", box " << w << ", corner " << k;
            }
        }

        pause(*animator, music, 1);
        const std::vector<float> firstPaused = sections(*animator);
        pause(*animator, music, 600);
        const std::vector<WedgeGeometry> before = wedges;
        pause(*animator, music, 1);
        EXPECT_LT(difference(before, wedges), 0.01f) << version;
        if (version == 2) {
            const std::vector<float> settled = sections(*animator);
            for (size_t i = 0; i < settled.size(); ++i) {
                ASSERT_NEAR(firstPaused[i], settled[i], 1e-4f) << "face " << i;
            }
        }

        animator->setFade(0.0f);
        animator->update(testsupport::kMusicDt, music.sound, RotationTransition{});
        for (const WedgeGeometry& wedge : wedges) {
            EXPECT_FLOAT_EQ(wedge.corners[0].x, wedge.corners[6].x) << version;
            EXPECT_FLOAT_EQ(wedge.corners[0].y, wedge.corners[6].y) << version;
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
        testsupport::BandMusic music(SoundClass::Dynamic);
        play(*animator, music, 0.1f);
        const math::mat44<float> rest = animator->getScene().mRingMatrix;
        play(*animator, music, 0.1f, 30);
        play(*animator, music, 1.0f, 8);
        play(*animator, music, 0.1f, 60);
        EXPECT_LT(difference(rest, animator->getScene().mRingMatrix), 1e-4f) << version;

        play(*animator, music, 1.0f, 8);
        play(*animator, music, 0.1f, 10);
        EXPECT_FALSE(isHalfTurn(animator->getScene().mRingMatrix)) << version;
        play(*animator, music, 0.1f, 200);
        const math::mat44<float> turned = animator->getScene().mRingMatrix;
        EXPECT_TRUE(isHalfTurn(turned)) << version;
        EXPECT_GT(difference(rest, turned), 1.0f) << version;
    }
}
