// The content player's state machines, driven frame by frame with exact frame times.
#include "visualization/content_player.h"

#include <gtest/gtest.h>

#include <set>

#include "platform.h"
#include "support/gl_test.h"
#include "support/log_capture.h"

using testsupport::LogCapture;

namespace {

// 1/64 s is exact in binary, so accumulated play and transition times hit 0.25 s exactly.
constexpr float kDt = 1.0f / 64.0f;

class ContentPlayerTest : public testsupport::GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        platform_clock_set_manual(123'456'789LL);
        sound.populate([](float* out, uint32_t band, uint32_t, uint32_t frame, uint32_t, float lo,
                          float hi) { *out = lo + (hi - lo) * float((band + frame) % 7) / 7.0f; });
    }
    void TearDown() override {
        player.reset();
        platform_clock_set_real();
        GlTest::TearDown();
    }
    void make(const ContentPlayerPreset& preset = ContentPlayerPreset(),
              RotateInfo rotation = RotateInfo::Landscape) {
        player = std::make_unique<ContentPlayer>(64, 64, rotation, SpeakerInfo::TV_1,
                                                 DisplayMode::DEFAULT, preset);
    }
    void frames(int count) {
        for (int i = 0; i < count; ++i) {
            player->update(kDt, sound);
        }
    }
    void run(float seconds) { frames(static_cast<int>(seconds / kDt + 0.5f)); }
    // Runs past the intro into normal animation.
    void startAnimating() {
        player->activateAnimationMode();
        run(4.5f + kDt * 2);
        ASSERT_EQ(player->getPlaybackMode(), ContentPlayerPlaybackMode::ANIMATION);
    }
    std::string name(ContentMode mode) { return toString(mode); }

    SoundInput sound;
    std::unique_ptr<ContentPlayer> player;
};

TEST_F(ContentPlayerTest, ConstructionForcesTheFirstSuitableModeOfTheShuffledPlaylist) {
    LogCapture log;
    make();
    const ContentMode first = player->getContentMode();
    EXPECT_EQ(player->getPlaylist()[player->getPlaylistIndex()], first);
    EXPECT_EQ(ContentPlayerPreset().modesSuitable.count(first), 1u);
    EXPECT_EQ(player->getContentModePrevious(), first);
    EXPECT_EQ(player->getContentModeNext(), first);
    std::set<ContentMode> distinct(player->getPlaylist().begin(), player->getPlaylist().end());
    EXPECT_EQ(distinct.size(), 31u);
    EXPECT_EQ(distinct.count(ContentMode::NONE), 0u);

    const auto& lines = log.lines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines.front(), "[ContentPlayer][Constructor] Begin");
    EXPECT_EQ(lines[1], "[ContentPlayer][Constructor] Create contents, begin");
    EXPECT_EQ(lines.back(), "[ContentPlayer][Constructor] End");
    EXPECT_TRUE(log.contains("[ContentPlayer][setContentMode] Mode next: " + name(first)));
    EXPECT_TRUE(log.contains("[ContentPlayer][setContentMode] Force mode: " + name(first)));
    EXPECT_TRUE(log.contains(
        "[ContentPlayer][startRotationTransition] Rotating from Landscape to Portrait ..."));

    log.clear();
    run(kDt);
    EXPECT_EQ(player->getTransitionMode(), ContentPlayerTransitionMode::FINISHED);
    const std::vector<std::string> expected = {
        "[ContentPlayer][updateContentPlayMode] Switched playback mode from NONE to INTRO_IDLE",
        "[ContentPlayer][updateContentModeTransition] Transition from " + name(first) + " to " +
            name(first) + " finished",
    };
    // The content's own lines (a palette playlist moving on as its mode index is first set) are
    // its business, not the player's.
    EXPECT_EQ(log.matching("[ContentPlayer]"), expected);
    EXPECT_EQ(player->getContent(first).getTransition(), 1.0f);
}

TEST_F(ContentPlayerTest, IntroIdlesThenFadesInThenAnimates) {
    make();
    LogCapture log;
    run(1.5f);  // play time reaches 1.5 - kDt: still idle
    EXPECT_EQ(player->getPlaybackMode(), ContentPlayerPlaybackMode::INTRO_IDLE);
    EXPECT_EQ(player->getIntroBlend(), 0.0f);
    run(kDt * 2);
    EXPECT_EQ(player->getPlaybackMode(), ContentPlayerPlaybackMode::INTRO_FADE_IN);
    // Halfway through the fade-in the smoothstep is exactly one half.
    run(1.5f - kDt * 2);
    player->update(kDt, sound);  // evaluated at play time 3.0
    EXPECT_FLOAT_EQ(player->getIntroBlend(), 0.5f);
    EXPECT_FLOAT_EQ(player->getContent(player->getContentMode()).getBlend(), 0.5f);

    player->playNext();
    EXPECT_TRUE(log.contains("[ContentPlayer][playNext] In intro mode. Ignored"));
    run(1.5f);  // the frame at exactly 4.5 s still belongs to the fade-in
    EXPECT_EQ(player->getPlaybackMode(), ContentPlayerPlaybackMode::INTRO_FADE_IN);
    run(kDt);
    EXPECT_EQ(player->getPlaybackMode(), ContentPlayerPlaybackMode::ANIMATION);
    EXPECT_EQ(player->getIntroBlend(), 1.0f);
    const auto switches = log.matching("Switched playback mode");
    ASSERT_EQ(switches.size(), 3u);
    EXPECT_EQ(switches[1],
              "[ContentPlayer][updateContentPlayMode] Switched playback mode from INTRO_IDLE to "
              "INTRO_FADE_IN");
    EXPECT_EQ(switches[2],
              "[ContentPlayer][updateContentPlayMode] Switched playback mode from INTRO_FADE_IN to "
              "ANIMATION");
}

TEST_F(ContentPlayerTest, WaitingForDataPausesTheContentOutsideTheIdlePhase) {
    make();
    AbstractContent& content = player->getContent(player->getContentMode());
    run(1.0f);
    EXPECT_FALSE(content.isPaused());
    run(1.0f);
    EXPECT_TRUE(content.isPaused());
    LogCapture log;
    player->activateAnimationMode();
    player->activateAnimationMode();
    const std::vector<std::string> expected = {
        "[ContentPlayer][activateAnimationMode] Begin",
        "[ContentPlayer][activateAnimationMode] Mode switched from WAITING_FOR_DATA to ANIMATING",
        "[ContentPlayer][activateAnimationMode] End",
    };
    EXPECT_EQ(log.lines(), expected);
    run(kDt);
    EXPECT_FALSE(content.isPaused());
}

TEST_F(ContentPlayerTest, CrossFadeFactorsAndRetriggering) {
    make();
    startAnimating();
    const ContentMode first = player->getContentMode();
    LogCapture log;
    player->playNext();
    const ContentMode second = player->getContentModeNext();
    ASSERT_NE(second, first);
    EXPECT_TRUE(log.contains("[ContentPlayer][setContentMode] Mode next: " + name(second)));

    frames(16);
    frames(1);  // evaluated at transition time 16/64 = 0.25
    EXPECT_EQ(player->getTransitionMode(), ContentPlayerTransitionMode::FADING_OUT);
    EXPECT_FLOAT_EQ(player->getFadeOut(), 0.5f);
    EXPECT_FLOAT_EQ(player->getContent(first).getTransition(), 0.5f);
    EXPECT_EQ(player->getContentMode(), first);

    // 19/64 = 0.297 s after the change a second one is dropped.
    frames(2);
    player->playNext();
    EXPECT_TRUE(log.contains("[ContentPlayer][playNext] Trigger time below threshold. Ignored"));
    EXPECT_EQ(player->getContentModeNext(), second);

    frames(29);
    frames(1);  // evaluated at 48/64 = 0.75
    EXPECT_EQ(player->getTransitionMode(), ContentPlayerTransitionMode::FADING_IN);
    EXPECT_EQ(player->getContentMode(), second);
    EXPECT_FLOAT_EQ(player->getFadeIn(), 0.5f);
    EXPECT_FLOAT_EQ(player->getContent(second).getTransition(), 0.5f);

    run(0.5f);
    EXPECT_EQ(player->getTransitionMode(), ContentPlayerTransitionMode::FINISHED);
    EXPECT_EQ(player->getContent(second).getTransition(), 1.0f);
    EXPECT_TRUE(log.contains("[ContentPlayer][updateContentModeTransition] Transition from " +
                             name(first) + " to " + name(second) + " finished"));
}

TEST_F(ContentPlayerTest, ATrackChangeAfterHalfASecondRestartsFromTheCurrentVisibility) {
    make();
    startAnimating();
    player->playNext();
    const ContentMode second = player->getContentModeNext();
    frames(38);  // last evaluated at 37/64; the transition time is now 38/64 = 0.59 s
    const float visibility = player->getContent(second).getTransition();
    EXPECT_FLOAT_EQ(visibility, 1.0f - (1.0f - (37.0f / 64.0f - 0.5f) / 0.5f));

    player->playNext();
    const ContentMode third = player->getContentModeNext();
    ASSERT_NE(third, second);
    EXPECT_TRUE(player->isFading());
    frames(17);  // evaluated at 0.25 s into the new cross-fade
    // The outgoing content fades from where it was, not from 1.
    EXPECT_FLOAT_EQ(player->getContent(second).getTransition(), visibility * 0.5f);
}

TEST_F(ContentPlayerTest, LockedPlaylistLogsOnlyThePlayNextScope) {
    ContentPlayerPreset preset;
    preset.lockPlaylist = true;
    make(preset);
    startAnimating();
    const ContentMode first = player->getContentMode();
    LogCapture log;
    player->playNext();
    run(1.0f);
    const std::vector<std::string> expected = {"[ContentPlayer][playNext] Begin",
                                               "[ContentPlayer][playNext] End"};
    EXPECT_EQ(log.lines(), expected);
    EXPECT_EQ(player->getContentMode(), first);
}

TEST_F(ContentPlayerTest, SequentialPlaylistPlaysModesInOrderAndWraps) {
    ContentPlayerPreset preset;
    preset.shufflePlaylist = false;
    make(preset);
    EXPECT_EQ(player->getContentMode(), ContentMode::CONTENT_2020_RANDOM_1);
    startAnimating();
    for (int expected = 2; expected <= 33; ++expected) {
        player->playNext();
        run(1.0f + kDt * 2);
        const int mode = (expected - 1) % 31 + 1;
        ASSERT_EQ(player->getContentMode(), static_cast<ContentMode>(mode)) << expected;
    }
}

TEST_F(ContentPlayerTest, RestrictedModesAndCategoriesLimitThePlaylist) {
    ContentPlayerPreset preset;
    preset.modesRestricted = {ContentMode::CONTENT_2020_CIRCULAR_1,
                              ContentMode::CONTENT_2021_RING_VERSION_2};
    make(preset);
    startAnimating();
    ContentMode previous = player->getContentMode();
    EXPECT_EQ(preset.modesRestricted.count(previous), 1u);
    for (int i = 0; i < 6; ++i) {
        player->playNext();
        run(1.0f + kDt * 2);
        const ContentMode mode = player->getContentMode();
        EXPECT_EQ(preset.modesRestricted.count(mode), 1u);
        EXPECT_NE(mode, previous) << "the mode just shown is skipped";
        previous = mode;
    }

    player.reset();
    ContentPlayerPreset rings;
    rings.categories = {ContentCategory::CONTENT_2021_RING};
    make(rings);
    startAnimating();
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(ContentModeCategories.at(player->getContentMode()),
                  ContentCategory::CONTENT_2021_RING);
        player->playNext();
        run(1.0f + kDt * 2);
    }
}

TEST_F(ContentPlayerTest, ModeStartAndTheSuitableFilterPickTheFirstMode) {
    ContentPlayerPreset preset;
    preset.modeStart = ContentMode::CONTENT_2021_LINES_VERSION_0;
    LogCapture log;
    make(preset);
    EXPECT_EQ(player->getContentMode(), ContentMode::CONTENT_2021_LINES_VERSION_0);
    for (const auto& line : log.matching("Advanced playlist to suitable mode")) {
        EXPECT_EQ(line.rfind("Create content playlist Advanced playlist to suitable mode ", 0), 0u);
    }
}

TEST_F(ContentPlayerTest, SkipIntroStartsInAnimation) {
    ContentPlayerPreset preset;
    preset.skipIntro = true;
    preset.hideSpeakerOverlay = true;
    LogCapture log;
    make(preset);
    EXPECT_TRUE(log.contains("[ContentPlayer][Constructor] Preset: hide speaker overlay"));
    EXPECT_TRUE(log.contains("[ContentPlayer][Constructor] Preset: skip intro"));
    EXPECT_TRUE(log.contains("[ContentPlayer][skipIntro]"));
    // The intro's length is added to the play time, so the first frame sits on the last instant
    // of the fade-in with the content fully shown, and the next one animates.
    run(kDt);
    EXPECT_EQ(player->getIntroBlend(), 1.0f);
    EXPECT_EQ(player->getContent(player->getContentMode()).getBlend(), 1.0f);
    run(kDt);
    EXPECT_EQ(player->getPlaybackMode(), ContentPlayerPlaybackMode::ANIMATION);
    player->playNext();
    EXPECT_TRUE(player->isFading());
}

TEST_F(ContentPlayerTest, DisplayModeBlendsLinearlyOrAtOnce) {
    make();
    run(kDt);
    EXPECT_EQ(player->getDisplayModeBlend(), 0.0f);
    player->setDisplayMode(DisplayMode::AOD, false);
    EXPECT_EQ(player->getDisplayMode(), DisplayMode::AOD);
    run(0.25f + kDt);
    EXPECT_FLOAT_EQ(player->getDisplayModeBlend(), 0.25f);
    run(0.5f);
    EXPECT_FLOAT_EQ(player->getDisplayModeBlend(), 0.75f);
    run(0.5f);
    EXPECT_EQ(player->getDisplayModeBlend(), 1.0f);
    EXPECT_EQ(player->getContent(player->getContentMode()).getDisplayModeBlend(), 1.0f);

    player->setDisplayMode(DisplayMode::DEFAULT, true);
    run(kDt);
    EXPECT_EQ(player->getDisplayModeBlend(), 0.0f);
}

TEST_F(ContentPlayerTest, ClearsWithTheBackgroundOfTheCurrentContent) {
    ContentPlayerPreset preset;
    preset.modeStart = ContentMode::CONTENT_2020_CIRCULAR_1;
    make(preset);
    const colorf background = player->getContent(player->getContentMode()).getBackgroundColor();
    run(kDt);
    readBack();
    const auto expect = testsupport::Rgba{
        uint8_t(background.r * 255.0f + 0.5f), uint8_t(background.g * 255.0f + 0.5f),
        uint8_t(background.b * 255.0f + 0.5f), uint8_t(background.a * 255.0f + 0.5f)};
    EXPECT_TRUE(testsupport::near(pixel(10, 10), expect)) << pixel(10, 10);

    // An invalid frame shows only the clear colour and does not advance the player.
    const float play = player->getPlayTime();
    const float bad[2] = {-30.0f, std::numeric_limits<float>::quiet_NaN()};
    LogCapture log;
    sound.setBandsInfo(bad, 2);
    run(kDt);
    EXPECT_EQ(player->getPlayTime(), play);
    EXPECT_TRUE(log.contains("[Visualization][setBandsInfo] Value at 1 is nan"));
}

TEST_F(ContentPlayerTest, RotationFollowsTheReportedAngles) {
    make();
    LogCapture log;
    player->startRotationTransition(RotateInfo::Landscape, false);  // already there
    EXPECT_TRUE(log.lines().empty());

    player->startRotationTransition(RotateInfo::Portrait, false);
    EXPECT_TRUE(log.contains(
        "[ContentPlayer][startRotationTransition] Rotating from Landscape to Portrait ..."));
    const RotationTransition& rotation = player->getRotationTransition();
    for (float degrees : {0.0f, 30.0f}) {
        player->setRotationTransitionAngle(degrees);
        run(kDt);
        EXPECT_EQ(rotation.current, RotateInfo::Landscape) << degrees;
    }
    player->setRotationTransitionAngle(46.0f);
    run(kDt);
    EXPECT_EQ(rotation.current, RotateInfo::Portrait);
    EXPECT_TRUE(log.matching("Finished transition").empty());

    log.clear();
    player->setRotationTransitionAngle(-1.0f);
    EXPECT_EQ(log.lines(),
              std::vector<std::string>{
                  "[ContentPlayer][setRotationTransitionAngle] Transition abort signaled!"});
    EXPECT_FLOAT_EQ(rotation.angle, 46.0f * kDegreesToRadians);

    player->setRotationTransitionAngle(90.0f);
    EXPECT_EQ(rotation.progress, 1.0f);
    EXPECT_EQ(log.matching("Finished transition from Landscape to Portrait").size(), 1u);

    // The smoothed angle leads the reported one and settles on a quarter turn without overshoot.
    float previous = rotation.fractionSmoothed;
    for (int i = 0; i < 240; ++i) {
        run(kDt);
        EXPECT_GE(rotation.fractionSmoothed, previous);
        EXPECT_LE(rotation.fractionSmoothed, 1.0f);
        previous = rotation.fractionSmoothed;
    }
    EXPECT_NEAR(rotation.angleSmoothed, kHalfPi, 1e-3f);
    EXPECT_NEAR(rotation.angleSnapped, kHalfPi, 1e-3f);
    EXPECT_NEAR(player->getSpeakerOverlayFade(), 1.0f, 1e-3f);

    // And back: from portrait the host reports 90 down to 0.
    log.clear();
    player->startRotationTransition(RotateInfo::Landscape, false);
    for (float degrees : {90.0f, 60.0f, 44.0f}) {
        player->setRotationTransitionAngle(degrees);
        run(kDt);
    }
    EXPECT_EQ(rotation.current, RotateInfo::Landscape);
    EXPECT_TRUE(log.matching("Finished transition").empty());
    player->setRotationTransitionAngle(0.0f);
    EXPECT_EQ(log.matching("Finished transition from Portrait to Landscape").size(), 1u);
}

TEST(SmoothDamp, ApproachesWithoutOvershootAndSurvivesAZeroFrame) {
    float velocity = 0.0f;
    float value = 0.0f;
    for (int i = 0; i < 300; ++i) {
        const float next = smoothDamp(value, 1.0f, velocity, 0.5f, 1.0f / 60.0f);
        EXPECT_GE(next, value);
        EXPECT_LE(next, 1.0f);
        value = next;
    }
    EXPECT_NEAR(value, 1.0f, 1e-4f);

    velocity = 0.0f;
    EXPECT_EQ(smoothDamp(0.5f, 0.5f, velocity, 0.5f, 0.0f), 0.5f);
    EXPECT_EQ(velocity, 0.0f) << "0/0 guarded";
    velocity = 0.3f;
    EXPECT_FLOAT_EQ(smoothDamp(0.2f, 0.8f, velocity, 0.5f, 0.0f), 0.2f);
    EXPECT_EQ(velocity, 0.3f);
}

}  // namespace
