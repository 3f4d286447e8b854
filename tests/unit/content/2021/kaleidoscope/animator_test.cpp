#include <gtest/gtest.h>

#include <cmath>

#include "support/band_music.h"
#include "visualization/content/2021/kaleidoscope/animator_version_0.h"
#include "visualization/util/random.h"

namespace {

using namespace content2021::kaleidoscope;

constexpr float kDt = 1.0f / 60.0f;
constexpr float kTwoPi = 6.28318530717958647692f;
constexpr float kTurn = 0.0675f * kTwoPi;

// The beat comes from the test, not from the trigger, so that its spacing is exact.
class DrivenAnimator : public Animator_Version_0 {
public:
    using Animator_Version_0::Animator_Version_0;
    bool beat = false;

protected:
    void animate(float dt, const SoundInput& sound, const RotationTransition& rotation) override {
        mBeatTrigger.triggered = beat;
        Animator_Version_0::animate(dt, sound, rotation);
    }
};

struct Player {
    explicit Player(SoundClass soundClass) : music(soundClass) {
        util::setRandomSeed(11);
        play(-100.0f, 120);
    }
    void setClass(SoundClass soundClass) { music.sound.setSoundClass(soundClass, true); }
    void play(float db, int frames = 1, bool beat = false) {
        animator.beat = beat;
        for (int i = 0; i < frames; ++i) {
            music.feedEvery(db);
            animator.update(kDt, music.sound, RotationTransition{});
        }
        animator.beat = false;
    }
    // A beat `quiet` frames after the previous one.
    void beatAfter(int quiet) {
        play(-100.0f, quiet);
        play(-20.0f, 1, true);
    }
    const KaleidoscopeParameters& out() const { return animator.getRenderState().parameters; }

    testsupport::BandMusic music;
    DrivenAnimator animator{1920, 1080};
};

}  // namespace

TEST(KaleidoscopeEasing, SmoothDampNeverOvershootsAndAnglesTakeTheShortWay) {
    for (float dt : {1.0f / 60.0f, 0.1f, 0.5f, 2.0f}) {
        float value = 0.0f;
        float velocity = 0.0f;
        float previous = value;
        for (int i = 0; i < 200; ++i) {
            value = content2021::kaleidoscope::smoothDamp(value, 1.0f, velocity, 0.3f, dt);
            ASSERT_LE(value, 1.0f) << "dt " << dt;
            ASSERT_GE(value, previous) << "dt " << dt;
            previous = value;
        }
        EXPECT_NEAR(value, 1.0f, 1e-4f);
        // From above as well, and with a velocity that points past the target.
        velocity = -50.0f;
        value = content2021::kaleidoscope::smoothDamp(2.0f, 1.0f, velocity, 0.3f, dt);
        EXPECT_GE(value, 1.0f);
    }

    EXPECT_NEAR(deltaAngle(0.1f, kTwoPi - 0.1f), -0.2f, 1e-5f);
    EXPECT_NEAR(deltaAngle(kTwoPi - 0.1f, 0.1f), 0.2f, 1e-5f);
    EXPECT_NEAR(deltaAngle(-0.1f, 0.3f), 0.4f, 1e-5f);
    EXPECT_NEAR(deltaAngle(1.0f, 1.0f + 4.0f * kTwoPi), 0.0f, 1e-4f);
    EXPECT_NEAR(posmod(-0.5f, 2.0f), 1.5f, 1e-6f);

    // Across the wrap the angle moves the short way, not three quarters round.
    float velocity = 0.0f;
    const float angle = smoothDampAngle(0.1f, kTwoPi - 0.1f, velocity, 0.2f, kDt);
    EXPECT_LT(angle, 0.1f);
    EXPECT_GT(angle, -0.2f);
}

TEST(KaleidoscopeAnimator, BeatGatesAt59And60And80Frames) {
    // Soft keeps three wedges and the picture centred; a Dark beat only 59 frames later
    // changes the zoom alone.
    Player player(SoundClass::Soft);
    player.beatAfter(100);
    EXPECT_EQ(player.out().zoom, 1.0f);
    player.setClass(SoundClass::Dark);
    player.beatAfter(59);
    EXPECT_EQ(player.out().zoom, 6.0f);
    EXPECT_EQ(player.out().segments, 3u);
    EXPECT_EQ(player.out().textureOffset.x, 0.0f);

    // At 60 frames Dark picks four to six wedges and jumps the picture by at least 0.175.
    player.beatAfter(60);
    EXPECT_GE(player.out().segments, 4u);
    EXPECT_LE(player.out().segments, 6u);
    EXPECT_GE(player.out().textureOffset.x, 0.175f);
    EXPECT_LT(player.out().textureOffset.x, 1.0f);

    // Dynamic pushes the mirror out by 0.25; only a beat 80 frames on takes that back.
    player.setClass(SoundClass::Dynamic);
    player.play(-100.0f, 300);
    player.beatAfter(79);
    player.play(-100.0f);
    const float mirrorHeld = player.out().mirror;
    EXPECT_GT(mirrorHeld, 0.2f);
    player.beatAfter(80);
    EXPECT_LT(player.out().mirror, mirrorHeld - 0.2f);
}

TEST(KaleidoscopeAnimator, LoudBeatsTurnTheFoldAndSoftRelaxesItToRest) {
    Player player(SoundClass::Loud);
    // Ten frames after a beat are enough for the next turn; nine are not.
    player.beatAfter(100);
    player.beatAfter(9);
    player.play(-100.0f, 240);
    EXPECT_NEAR(player.out().angleRoll, kTurn, 2e-3f);
    player.beatAfter(100);
    player.beatAfter(10);
    player.play(-100.0f, 240);
    EXPECT_NEAR(player.out().angleRoll, 3.0f * kTurn, 2e-3f);

    // Soft turns nothing on a beat. The roll and its target share one velocity, which the
    // target's approach resets every frame, so the fold drifts back to rest only slowly.
    player.setClass(SoundClass::Soft);
    const float start = player.out().angleRoll;
    float previous = start;
    for (int i = 0; i < 20; ++i) {
        player.beatAfter(100);
        const float roll = player.out().angleRoll;
        EXPECT_LE(roll, previous) << "beat " << i;
        EXPECT_GT(roll, 0.0f);
        previous = roll;
    }
    EXPECT_LT(previous, start - 0.01f);
}

TEST(KaleidoscopeAnimator, PausedHoldsTheFold) {
    Player player(SoundClass::Powerful);
    player.play(-30.0f, 30);
    const KaleidoscopeParameters before = player.out();
    player.animator.setPaused(true);
    for (int i = 0; i < 30; ++i) {
        player.animator.update(kDt, player.music.sound, RotationTransition{});
    }
    EXPECT_EQ(player.out().textureOffset.z, before.textureOffset.z);
    EXPECT_EQ(player.out().angleRoll, before.angleRoll);
}
