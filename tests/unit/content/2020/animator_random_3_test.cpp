#include "visualization/content/2020/animator_random_3.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "support/sound_frames.h"
#include "visualization/util/random.h"

namespace {

using content2020::AnimatorRandom_3;
using testsupport::kRest;
using testsupport::SoundHistories;

}  // namespace

TEST(AnimatorRandom_3, StarsScatteredOverTheCanvasJoinedToNearNeighbours) {
    AnimatorRandom_3 a(1920, 1080);
    EXPECT_EQ(a.getNumPalettes(), 10u);
    const auto& stars = a.getEntities();
    ASSERT_EQ(stars.size(), 200u);
    for (size_t i = 0; i < stars.size(); ++i) {
        EXPECT_GE(stars[i].restX, -960.0f);
        EXPECT_LT(stars[i].restX, 960.0f);
        EXPECT_GE(stars[i].restY, -540.0f);
        EXPECT_LT(stars[i].restY, 540.0f);
        EXPECT_GE(stars[i].phase, 0.0f);
        EXPECT_LT(stars[i].phase, 1.0f);
        EXPECT_EQ(stars[i].group, i % 3);
    }
    const auto& links = a.getLinks();
    // Each star adds at most its two nearest, so a random field gives a few hundred lines.
    EXPECT_GT(links.size(), 150u);
    EXPECT_LE(links.size(), 400u);
    std::set<std::pair<uint32_t, uint32_t>> seen;
    for (const auto& link : links) {
        ASSERT_LT(link.a, link.b);
        EXPECT_TRUE(seen.insert({link.a, link.b}).second);
        const float d = std::hypot(stars[link.a].restX - stars[link.b].restX,
                                   stars[link.a].restY - stars[link.b].restY);
        EXPECT_GE(d, 50.0f);
        EXPECT_LE(d, 300.0f);
        EXPECT_EQ(link.dots, static_cast<uint32_t>(std::ceil(d / 10.0f)) - 1);
    }

    SoundHistories sound;
    a.update(0.05f, kRest, sound.frame());
    EXPECT_TRUE(a.getRenderState().instances.empty());
}

TEST(AnimatorRandom_3, StarsOffScreenKeepTheirLinksDark) {
    // Every star loud on a landscape screen, then the screen turns upright and only the stars
    // of the maximum history stay loud. The stars beyond the narrower view are no longer
    // updated; their old loud level must not light their links into the view.
    util::setRandomSeed(5);  // a field with such links
    AnimatorRandom_3 a(1920, 1080);
    SoundHistories sound;
    sound.fill(1.0f);
    for (int i = 0; i < 60; ++i) {
        a.update(0.05f, kRest, sound.frame());
    }
    const RotationTransition portrait = testsupport::portraitAtRest();
    sound.min.assign(240, 0.0f);
    sound.mid.assign(240, 0.0f);
    for (int i = 0; i < 200; ++i) {
        a.update(0.05f, portrait, sound.frame());
    }

    // Every sprite is a star or a dot between two stars in view.
    const auto& camera = a.getRenderState().camera;
    const auto& stars = a.getEntities();
    auto inView = [&](uint32_t i) {
        return !camera.isOutside(stars[i].restX, stars[i].restY, 100.0f);
    };
    auto explained = [&](const content2020::Instance& dot) {
        for (const auto& star : stars) {
            if (std::hypot(star.x - dot.x, star.y - dot.y) < 1e-3f) {
                return true;
            }
        }
        for (const auto& link : a.getLinks()) {
            const auto& p = stars[link.a];
            const auto& q = stars[link.b];
            const float dx = q.x - p.x;
            const float dy = q.y - p.y;
            const float across = ((dot.x - p.x) * dy - (dot.y - p.y) * dx) / std::hypot(dx, dy);
            const float along = ((dot.x - p.x) * dx + (dot.y - p.y) * dy) / (dx * dx + dy * dy);
            if (inView(link.a) && inView(link.b) && std::abs(across) < 1e-2f && along > 0.0f &&
                along < 1.0f) {
                return true;
            }
        }
        return false;
    };
    ASSERT_FALSE(a.getRenderState().instances.empty());
    for (const auto& dot : a.getRenderState().instances) {
        EXPECT_TRUE(explained(dot)) << dot.x << ", " << dot.y;
    }
}
