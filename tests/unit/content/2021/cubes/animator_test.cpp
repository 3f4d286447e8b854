#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/band_music.h"
#include "visualization/content/2021/cubes/animator_version_0.h"
#include "visualization/content/2021/cubes/animator_version_1.h"
#include "visualization/content/2021/cubes/block.h"
#include "visualization/util/random.h"

namespace {

using namespace content2021::cubes;

// Eight equal bands per frame: a loud frame after quiet ones is a beat on both triggers.
template <typename Animator>
struct Player {
    explicit Player(SoundClass soundClass) : music(soundClass) {
        util::setRandomSeed(7);
        animator.setFade(1.0f);
    }
    void play(float db, int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            music.feedEvery(db);
            animator.update(testsupport::kMusicDt, music.sound, RotationTransition{});
        }
    }
    void beat() {
        play(-20.0f);
        ASSERT_EQ(animator.getFramesSinceBeat(), 0u);
        play(-100.0f, 11);
    }
    const std::vector<Cube>& cubes() const { return animator.getScene().cubes; }

    testsupport::BandMusic music;
    Animator animator{1920, 1080};
};

float xLength(const Cube& cube) {
    const float* m = cube.transform.m;
    return std::sqrt(m[0] * m[0] + m[1] * m[1] + m[2] * m[2]);
}

// Where the largest cube's own x axis points, as a unit vector's y component.
float xAxisUp(const std::vector<Cube>& cubes) {
    const Cube* largest = &cubes.front();
    for (const Cube& cube : cubes) {
        largest = xLength(cube) > xLength(*largest) ? &cube : largest;
    }
    return largest->transform[1] / xLength(*largest);
}

}  // namespace

// In Soft a beat event tips the block a quarter turn about y and z at once, which swings the cubes'
// x axes up or down. A second beat within 60 frames of it is ignored; one after that turns again,
// and two quarter turns bring the x axes back to the level.
TEST(CubesAnimatorVersion0, BeatEventsTurnTheBlockAtMostOnceIn61Frames) {
    Player<Animator_Version_0> p(SoundClass::Soft);
    p.play(-100.0f, 61);
    EXPECT_NEAR(xAxisUp(p.cubes()), 0.0f, 1e-5f);
    p.beat();
    p.play(-100.0f, 20);
    p.beat();  // 32 frames after the first
    p.play(-100.0f, 200);
    EXPECT_NEAR(std::abs(xAxisUp(p.cubes())), 1.0f, 0.02f) << "one quarter turn";

    p.beat();
    p.play(-100.0f, 200);
    EXPECT_NEAR(xAxisUp(p.cubes()), 0.0f, 0.02f) << "two quarter turns";
}

// The puzzle mode turns halves of its block by quarter turns and leaves the cells where the turns
// took them: turn after turn every cell keeps a grid place of its own, and the cells come to lie
// different ways.
TEST(CubesAnimatorVersion1, QuarterTurnsReshapeTheBlockWithoutTwoCellsMeeting) {
    Player<Animator_Version_1> p(SoundClass::Dynamic);
    p.play(-100.0f, 61);
    float leastAlike = 1.0f;
    for (int turn = 0; turn < 30; ++turn) {
        p.beat();
        p.play(-100.0f, 60);
        const std::vector<Cube>& cubes = p.cubes();
        ASSERT_EQ(cubes.size(), 16u);
        float closest = 1.0f;
        for (size_t i = 0; i < cubes.size(); ++i) {
            const float* a = cubes[i].transform.m;
            for (size_t k = i + 1; k < cubes.size(); ++k) {
                const float* b = cubes[k].transform.m;
                const vec3f apart{a[12] - b[12], a[13] - b[13], a[14] - b[14]};
                closest = std::min(closest, std::sqrt(math::dot(apart, apart)));
                // Cosine between the cubes' x axes and between their y axes.
                for (int column = 0; column < 8; column += 4) {
                    const vec3f u{a[column], a[column + 1], a[column + 2]};
                    const vec3f v{b[column], b[column + 1], b[column + 2]};
                    const float lengths = std::sqrt(math::dot(u, u) * math::dot(v, v));
                    if (lengths > 1e-6f) {
                        leastAlike = std::min(leastAlike, math::dot(u, v) / lengths);
                    }
                }
            }
        }
        // Neighbours are a third apart, less the quiet pulse's 15 %.
        ASSERT_GT(closest, 0.25f) << "turn " << turn;
    }
    EXPECT_LT(leastAlike, 0.5f);
}
