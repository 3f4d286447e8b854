// The content player's state machines on fake contents and a recording output, without a GL
// context: what the player does to the contents frame by frame, with exact frame times, and the
// log lines it writes.
#include "visualization/content_player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <set>

#include "platform.h"
#include "support/log_capture.h"
#include "visualization/log.h"

using testsupport::LogCapture;

namespace {

// 1/64 s is exact in binary, so accumulated play and transition times hit 0.25 s exactly.
constexpr float kDt = 1.0f / 64.0f;
constexpr float kNotDrawn = -100.0f;

using Lines = std::vector<std::string>;

struct FakeContent;

// What the fakes saw: the last frame, and what outlives a frame.
struct Stage {
    struct Frame {
        colorf clear;
        const FakeContent* drawn = nullptr;
        float coverBlend = 0.0f;
        // What the player had set on the content it drew.
        float blend = -1.0f;
        float displayModeBlend = -1.0f;
        RotationTransition rotation{};
        float speakerOpacity = kNotDrawn;
    } frame;
    bool covering = false;
    bool speakerFinished = false;
};

// One-off calls are logged, so that their order shows among the player's own lines.
struct FakeContent : AbstractContent {
    FakeContent(ContentCategory c, Stage& s)
        : AbstractContent(64, 64, RotateInfo::Landscape), category(c), stage(s) {
        logMessage("content %s created", toString(category));
    }
    ~FakeContent() override { logMessage("content %s deleted", toString(category)); }

    void onModeIndexSet() override { ++modeIndexSets; }
    bool isPlayable() const override { return playable; }
    void update(float, const SoundInput&, const RotationTransition& rotation) override {
        stage.frame.rotation = rotation;
    }
    void render() override {
        EXPECT_TRUE(stage.covering) << "rendered outside the AOD cover";
        stage.frame.drawn = this;
        stage.frame.blend = mBlend;
        stage.frame.displayModeBlend = mDisplayModeBlend;
    }
    void setModePaletteIndex(size_t, size_t) override {}
    uint32_t getModePaletteIndex() const override { return 0; }
    colorf getBackgroundColor() const override { return getBackgroundColor(mModeIndex); }
    colorf getBackgroundColor(uint32_t index) const override {
        return colorf(float(category) / 8.0f, float(index) / 16.0f, 0.5f, 1.0f);
    }

    ContentMode mode() const {
        for (const ContentModeRow& row : ContentModeTable) {
            if (row.category == category && row.index == mModeIndex) {
                return row.mode;
            }
        }
        return ContentMode::NONE;
    }

    ContentCategory category;
    Stage& stage;
    int modeIndexSets = 0;
    bool playable = true;
};

struct FakeOutput : ContentPlayerOutput {
    explicit FakeOutput(Stage& s) : stage(s) { logMessage("output created"); }
    ~FakeOutput() override { logMessage("output deleted"); }

    void clear(const colorf& color) override { stage.frame.clear = color; }
    void beginContent(float displayModeBlend, const AODMask&) override {
        stage.frame.coverBlend = displayModeBlend;
        stage.covering = true;
    }
    void endContent() override { stage.covering = false; }
    bool isSpeakerOverlayFinished() const override { return stage.speakerFinished; }
    void skipSpeakerOverlay() override { logMessage("speaker overlay skipped"); }
    void drawSpeakerOverlay(float opacity, float) override { stage.frame.speakerOpacity = opacity; }

    Stage& stage;
};

class ContentPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform_clock_set_manual(123'456'789LL);
        sound.populate([](float* out, uint32_t band, uint32_t, uint32_t frame, uint32_t, float lo,
                          float hi) { *out = lo + (hi - lo) * float((band + frame) % 7) / 7.0f; });
    }
    void TearDown() override {
        player.reset();
        platform_clock_set_real();
    }
    void make(const ContentPlayerPreset& preset = ContentPlayerPreset()) {
        player.reset();
        ContentPlayerFactory factory;
        factory.content = [this](ContentCategory category, uint32_t, uint32_t, RotateInfo) {
            auto content = std::make_unique<FakeContent>(category, stage);
            content->playable = unplayable.count(category) == 0;
            contents[category] = content.get();
            return content;
        };
        factory.output = [this](uint32_t, uint32_t, SpeakerInfo) {
            return std::make_unique<FakeOutput>(stage);
        };
        player = std::make_unique<ContentPlayer>(64, 64, RotateInfo::Landscape, SpeakerInfo::TV_1,
                                                 DisplayMode::DEFAULT, preset, factory);
    }
    static ContentPlayerPreset sequential(ContentMode start = ContentMode::NONE) {
        ContentPlayerPreset preset;
        preset.shufflePlaylist = false;
        preset.modeStart = start;
        return preset;
    }
    void frames(int count) {
        for (int i = 0; i < count; ++i) {
            frame = Stage::Frame();
            player->update(kDt, sound);
        }
    }
    void run(float seconds) { frames(static_cast<int>(seconds / kDt + 0.5f)); }
    void startAnimating() {
        player->activateAnimationMode();
        run(4.5f + kDt * 2);
    }
    // A track change and the whole cross-fade after it; the mode then shown.
    ContentMode playNext() {
        player->playNext();
        run(1.0f + kDt * 2);
        return drawn().mode();
    }
    // The content drawn in the last frame; what the player set on it stays until the next.
    const FakeContent& drawn() const {
        EXPECT_NE(frame.drawn, nullptr);
        return frame.drawn != nullptr ? *frame.drawn : *contents.at(ContentCategory::NONE);
    }
    FakeContent& content(ContentMode mode) { return *contents.at(ContentModeCategories.at(mode)); }

    SoundInput sound;
    Stage stage;
    Stage::Frame& frame = stage.frame;
    std::map<ContentCategory, FakeContent*> contents;
    std::set<ContentCategory> unplayable;
    std::unique_ptr<ContentPlayer> player;
};

// The session test starts after creation: the constructor's lines, and the presets the library
// never sets, are pinned here.
TEST_F(ContentPlayerTest, BuildsAndDeletesItsPartsInsideItsScopesAndSkipsTheIntroOnRequest) {
    ContentPlayerPreset preset = sequential();
    preset.hideSpeakerOverlay = true;
    preset.skipIntro = true;
    LogCapture log;
    make(preset);
    Lines expected = {"[ContentPlayer][Constructor] Begin",
                      "[ContentPlayer][Constructor] Create contents, begin"};
    Lines deleted = {"[ContentPlayer][Destructor] Begin"};
    for (const auto& category : ContentCategoryNames) {
        expected.push_back("content " + category.second + " created");
        deleted.push_back("content " + category.second + " deleted");
    }
    expected.insert(
        expected.end(),
        {"[ContentPlayer][Constructor] Create contents, end",
         "[ContentPlayer][Constructor] Create content mapping, begin",
         "[ContentPlayer][Constructor] Create content mapping, end",
         "[ContentPlayer][Constructor] Create content playlist, begin",
         "[ContentPlayer][reshufflePlaylist] Begin",
         "[ContentPlayer][reshufflePlaylist] End",
         "[ContentPlayer][setContentMode] Begin",
         "[ContentPlayer][setContentMode] Mode next: CONTENT_2020_RANDOM_1",
         "[ContentPlayer][setContentMode] Force mode: CONTENT_2020_RANDOM_1",
         "[ContentPlayer][setContentMode] End",
         "[ContentPlayer][Constructor] Create content playlist, end",
         "output created",
         "[ContentPlayer][Constructor] Preset: hide speaker overlay",
         "[ContentPlayer][Constructor] Preset: skip intro",
         "speaker overlay skipped",
         "[ContentPlayer][skipIntro]",
         "[ContentPlayer][startRotationTransition] Begin",
         "[ContentPlayer][startRotationTransition] Rotating from Landscape to Portrait ...",
         "[ContentPlayer][startRotationTransition] End",
         "[ContentPlayer][Constructor] End"});
    EXPECT_EQ(log.lines(), expected);

    // The skipped intro puts the first frame on the last instant of the fade-in, fully shown.
    frames(1);
    EXPECT_EQ(frame.blend, 1.0f);
    EXPECT_EQ(frame.speakerOpacity, kNotDrawn);

    log.clear();
    player.reset();
    deleted.insert(deleted.end(), {"output deleted", "[ContentPlayer][Destructor] End"});
    EXPECT_EQ(log.lines(), deleted);
}

TEST_F(ContentPlayerTest, IntroIdlesOnASuitableModeThenFadesIn) {
    make();
    LogCapture log;
    frames(1);
    const FakeContent& shown = drawn();
    EXPECT_EQ(ContentPlayerPreset().modesSuitable.count(shown.mode()), 1u);
    EXPECT_EQ(frame.speakerOpacity, 1.0f);
    run(1.5f);  // the frame at exactly 1.5 s still idles
    EXPECT_EQ(frame.blend, 0.0f);
    EXPECT_FALSE(drawn().isPaused()) << "waiting for data pauses only outside the idle phase";
    frames(1);
    EXPECT_GT(frame.blend, 0.0f);
    EXPECT_TRUE(drawn().isPaused());
    run(1.5f - kDt * 2);
    frames(1);  // evaluated at play time 3.0: halfway, where the smoothstep is one half
    EXPECT_FLOAT_EQ(frame.blend, 0.5f);
    player->activateAnimationMode();
    run(1.5f);  // the frame at exactly 4.5 s still belongs to the fade-in
    EXPECT_FALSE(drawn().isPaused());
    EXPECT_EQ(frame.blend, 1.0f);
    EXPECT_EQ(log.matching("to ANIMATION").size(), 0u);
    frames(1);
    EXPECT_EQ(log.matching("Switched playback mode").back(),
              "[ContentPlayer][updateContentPlayMode] Switched playback mode from INTRO_FADE_IN to "
              "ANIMATION");

    // A frame without valid band data is cleared and nothing else.
    const float bad[2] = {-30.0f, std::numeric_limits<float>::quiet_NaN()};
    sound.setBandsInfo(bad, 2);
    frames(1);
    EXPECT_TRUE(frame.drawn == nullptr && frame.speakerOpacity == kNotDrawn);
    EXPECT_EQ(color_to_hex_rgba(frame.clear), color_to_hex_rgba(shown.getBackgroundColor()));
}

TEST_F(ContentPlayerTest, CrossFadesOutThenInAndRestartsFromTheCurrentVisibility) {
    make(sequential(ContentMode::CONTENT_2020_DIAMOND_2));
    startAnimating();
    FakeContent& points = content(ContentMode::CONTENT_2020_DIAMOND_2);
    FakeContent& cubes = content(ContentMode::CONTENT_2021_CUBES_VERSION_0);
    player->playNext();
    frames(17);  // evaluated at 0.25 s: the outgoing content is half faded out
    EXPECT_EQ(drawn().mode(), ContentMode::CONTENT_2020_DIAMOND_2);
    EXPECT_FLOAT_EQ(drawn().getTransition(), 0.5f);
    EXPECT_EQ(color_to_hex_rgba(frame.clear), color_to_hex_rgba(points.getBackgroundColor()));

    frames(2);  // 0.297 s: too soon for another change
    player->playNext();
    frames(30);  // evaluated at 0.75 s: the incoming content is half faded in
    EXPECT_EQ(drawn().mode(), ContentMode::CONTENT_2021_CUBES_VERSION_0);
    EXPECT_FLOAT_EQ(drawn().getTransition(), 0.5f);
    EXPECT_EQ(cubes.modeIndexSets, 1);
    run(0.5f);
    EXPECT_EQ(cubes.getTransition(), 1.0f);
    EXPECT_EQ(color_to_hex_rgba(frame.clear), color_to_hex_rgba(cubes.getBackgroundColor()));

    // Within one family a single content fades out and back in with the next mode index. A
    // change after half a second interrupts the cross-fade from where the visibility stands.
    player->playNext();
    frames(38);  // last evaluated at 37/64 s, fading in
    EXPECT_EQ(drawn().mode(), ContentMode::CONTENT_2021_CUBES_VERSION_1);
    const float visibility = cubes.getTransition();
    EXPECT_FLOAT_EQ(visibility, (37.0f / 64.0f - 0.5f) / 0.5f);
    player->playNext();
    frames(17);
    EXPECT_EQ(drawn().mode(), ContentMode::CONTENT_2021_CUBES_VERSION_1);
    EXPECT_FLOAT_EQ(cubes.getTransition(), visibility * 0.5f);
    run(1.0f);
    EXPECT_EQ(drawn().mode(), ContentMode::CONTENT_2021_CUBES_VERSION_2);
}

TEST_F(ContentPlayerTest, LockedRestrictedAndCategoryPresetsLimitThePlaylist) {
    LogCapture log;
    ContentPlayerPreset locked;
    locked.lockPlaylist = true;
    make(locked);
    startAnimating();
    const ContentMode first = drawn().mode();
    log.clear();
    EXPECT_EQ(playNext(), first);
    EXPECT_EQ(log.lines(),
              Lines({"[ContentPlayer][playNext] Begin", "[ContentPlayer][playNext] End"}));

    ContentPlayerPreset preset = sequential();
    preset.modesRestricted = {ContentMode::CONTENT_2020_CIRCULAR_1,
                              ContentMode::CONTENT_2021_RING_VERSION_2};
    make(preset);
    EXPECT_TRUE(
        log.contains("Create content playlist Advanced playlist to restricted mode "
                     "CONTENT_2020_CIRCULAR_1"));
    startAnimating();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(playNext(), ContentMode::CONTENT_2021_RING_VERSION_2);
        EXPECT_EQ(playNext(), ContentMode::CONTENT_2020_CIRCULAR_1);
    }

    ContentPlayerPreset rings = sequential();
    rings.categories = {ContentCategory::CONTENT_2021_RING};
    make(rings);
    startAnimating();
    EXPECT_EQ(drawn().mode(), ContentMode::CONTENT_2021_RING_VERSION_0);
    EXPECT_EQ(playNext(), ContentMode::CONTENT_2021_RING_VERSION_1);
}

// Without photographs the kaleidoscope has nothing to show; the sequential playlist would
// start with its first mode.
TEST_F(ContentPlayerTest, ModesOfAContentWithNothingToShowLeaveThePlaylist) {
    unplayable = {ContentCategory::CONTENT_2021_KALEIDOSCOPE};
    make(sequential(ContentMode::CONTENT_2021_KALEIDOSCOPE_VERSION_0));
    startAnimating();
    std::set<ContentMode> shown = {drawn().mode()};
    for (int change = 0; change < 40; ++change) {
        shown.insert(playNext());
    }
    EXPECT_EQ(shown.size(), 26u);
    for (ContentMode mode : shown) {
        EXPECT_NE(ContentModeCategories.at(mode), ContentCategory::CONTENT_2021_KALEIDOSCOPE);
    }
}

TEST_F(ContentPlayerTest, ReshufflesOnceALapAfterSettingTheNextMode) {
    make();
    startAnimating();
    LogCapture log;
    for (int change = 1; change <= 31; ++change) {
        playNext();
    }
    const auto& lines = log.lines();
    const auto reshuffle =
        std::find(lines.begin(), lines.end(), "[ContentPlayer][reshufflePlaylist] Begin");
    ASSERT_NE(reshuffle, lines.end());
    EXPECT_EQ(
        Lines(reshuffle - 1, reshuffle + 3),
        Lines({"[ContentPlayer][setContentMode] End", "[ContentPlayer][reshufflePlaylist] Begin",
               "[ContentPlayer][reshufflePlaylist] End", "[ContentPlayer][advancePlaylist] End"}));
    EXPECT_EQ(log.matching("reshufflePlaylist").size(), 2u);
    EXPECT_EQ(log.matching("Mode next").size(), 31u) << "every change is to another mode";
}

TEST_F(ContentPlayerTest, DisplayModeBlendsLinearlyOrAtOnce) {
    make();
    frames(1);
    player->setDisplayMode(DisplayMode::AOD, false);
    run(0.25f + kDt * 2);
    EXPECT_FLOAT_EQ(frame.displayModeBlend, 0.25f);
    EXPECT_FLOAT_EQ(frame.coverBlend, 0.25f);
    run(0.75f);
    EXPECT_EQ(frame.displayModeBlend, 1.0f);
    player->setDisplayMode(DisplayMode::DEFAULT, true);
    frames(2);
    EXPECT_EQ(frame.displayModeBlend, 0.0f);
}

TEST_F(ContentPlayerTest, RotationSettlesWithoutOvershootAndFadesTheSpeakerOverlay) {
    make();
    player->update(0.0f, sound);  // a first frame has no time: the springs must stay at rest
    player->startRotationTransition(RotateInfo::Portrait, false);
    for (float degrees : {30.0f, 46.0f}) {
        player->setRotationTransitionAngle(degrees);
        frames(1);
        EXPECT_GT(frame.rotation.fractionSmoothed, 0.0f) << degrees;
    }
    EXPECT_EQ(frame.rotation.current, RotateInfo::Portrait);
    player->setRotationTransitionAngle(90.0f);

    // The speaker rings fade out three times as fast as the screen turns.
    float previous = frame.rotation.fractionSmoothed;
    for (int i = 0; i < 256; ++i) {
        frames(1);
        ASSERT_GE(frame.rotation.fractionSmoothed, previous) << i;
        ASSERT_LE(frame.rotation.fractionSmoothed, 1.0f) << i;
        previous = frame.rotation.fractionSmoothed;
    }
    EXPECT_NEAR(frame.rotation.angleSmoothed, kHalfPi, 1e-3f);
    EXPECT_NEAR(frame.rotation.angleSnapped, kHalfPi, 1e-3f);
    EXPECT_NEAR(frame.speakerOpacity, -2.0f, 3e-3f);
    stage.speakerFinished = true;
    frames(1);
    EXPECT_EQ(frame.speakerOpacity, kNotDrawn);
}

}  // namespace
