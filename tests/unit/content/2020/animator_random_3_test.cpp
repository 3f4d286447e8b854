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

TEST(AnimatorRandom_3, PeaksFlareStarsTheMedianPulsesLinksTheQuietLevelTurnsTheDrift) {
    AnimatorRandom_3 a(1920, 1080);
    SoundHistories sound;
    sound.fill(1.0f);
    a.update(0.05f, kRest, sound.frame());
    EXPECT_EQ(a.getLinkPulse(), 1.0f - 0.1f);
    EXPECT_EQ(a.getDriftDirection(), -1.0f);

    size_t flared = 0;
    for (const auto& e : a.getEntities()) {
        ASSERT_FLOAT_EQ(e.level, 0.4f);  // 8 dt of the way to the loud history
        const float magnitude = 0.55f + 0.45f * std::fmod(e.phase * 8.0f, 1.0f);
        const float level = std::pow(0.4f, 0.9f) * magnitude;
        if (e.flare > 0.0f) {
            // A flared star was drawn at full flare, then decayed by dt.
            EXPECT_FLOAT_EQ(e.flare, 0.95f);
            EXPECT_NEAR(e.size, 10.0f * (level * 2.0f + 1.5f), 1e-4f);
            ++flared;
        } else {
            EXPECT_NEAR(e.size, 10.0f * level, 1e-4f);
        }
    }
    // Fifty picks with repeats.
    EXPECT_GT(flared, 30u);
    EXPECT_LE(flared, 50u);
    size_t dots = 0;
    for (const auto& link : a.getLinks()) {
        dots += link.dots;
    }
    const size_t drawn = a.getRenderState().instances.size();
    EXPECT_GT(drawn, 200u + dots / 2);
    EXPECT_LE(drawn, 200u + dots);

    // The triggers stay active while the levels hold: nothing flares again, the drift keeps
    // its direction.
    for (int i = 0; i < 20; ++i) {
        a.update(0.05f, kRest, sound.frame());
    }
    EXPECT_EQ(a.getDriftDirection(), -1.0f);
    for (const auto& e : a.getEntities()) {
        EXPECT_EQ(e.flare, 0.0f);
    }

    // A paused field ignores a new peak.
    AnimatorRandom_3 b(1920, 1080);
    b.setPaused(true);
    b.update(0.05f, kRest, sound.frame());
    for (const auto& e : b.getEntities()) {
        EXPECT_EQ(e.flare, 0.0f);
    }
    EXPECT_EQ(b.getLinkPulse(), 0.0f);
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
