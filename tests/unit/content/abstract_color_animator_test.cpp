#include "visualization/content/abstract_color_animator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/log_capture.h"

// Exact comparison: every colour checked here is either copied or mixed the same way the base does.
static bool operator==(const colorf& a, const colorf& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}
static void PrintTo(const colorf& c, std::ostream* os) {
    *os << '(' << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ')';
}

namespace {

constexpr float kDt = 1.0f / 60.0f;
using Preset = AbstractColorAnimator::Preset;

// Red tells the palette, green the group, blue the look (0 DEFAULT, 1 AOD); the beat background
// is white.
Preset makePreset(size_t count, size_t countAOD) {
    Preset preset;
    for (DisplayMode mode : {DisplayMode::DEFAULT, DisplayMode::AOD}) {
        auto& palettes = preset.palettes[mode];
        palettes.resize(mode == DisplayMode::DEFAULT ? count : countAOD);
        for (size_t p = 0; p < palettes.size(); ++p) {
            for (size_t g = 0; g < 5; ++g) {
                const colorf c(0.1f * p, 0.1f * g, static_cast<float>(mode), 1.0f);
                palettes[p][g] = {{c, c}, {c, colorf(1.0f, 1.0f)}};
            }
        }
    }
    return preset;
}

// A family in miniature: it mixes its palette every frame and keeps what its animate() saw.
class TestAnimator : public AbstractColorAnimator {
public:
    explicit TestAnimator(const Preset& preset) : AbstractColorAnimator(64, 32), mPreset(preset) {
        createPalettePlaylist(mPreset);
    }

    // Eight equal bands per frame; a loud frame after eleven quiet ones is a beat.
    void play(float db, int frames = 1) {
        const std::vector<float> bands(8, db);
        for (int i = 0; i < frames; ++i) {
            sound.setBandsInfo(bands.data(), 8);
            sound.update(kDt);
            update(kDt, sound, RotationTransition{});
        }
    }

    SoundInput sound;
    ColorPalette palette;
    float time = 0.0f;
    bool triggered = false;

protected:
    void animate(float, const SoundInput&, const RotationTransition&) override {
        palette = updatePalette(mPreset);
        time = mTime;
        triggered = isBeatTriggered();
    }
    Preset mPreset;
};

}  // namespace

// Five palettes reshuffle with the engine on reaching the end of their order; two have no order
// that avoids the last two shown: they alternate without drawing from the engine. Every advance
// logs the palette it lands on.
TEST(AbstractColorAnimator, PlaylistAdvancesLogTheirPaletteAndTwoPalettesAlternate) {
    std::mt19937 engine(2024);
    TestAnimator five(makePreset(5, 5));
    const std::mt19937 unused = engine;
    for (int advance = 0; advance < 3; ++advance) {
        five.advancePalettePlaylist(engine);
    }
    EXPECT_TRUE(engine == unused) << "no reshuffle before the end of the order";
    five.advancePalettePlaylist(engine);
    EXPECT_FALSE(engine == unused);

    const std::mt19937 before = engine;
    TestAnimator pair(makePreset(2, 2));
    testsupport::LogCapture log;
    const std::string scope = "[AbstractColorAnimator][advancePalettePlaylist] ";
    std::vector<std::string> expected;
    for (const char* index : {"1", "0", "1"}) {
        pair.advancePalettePlaylist(engine);
        expected.insert(expected.end(),
                        {scope + "Begin", scope + "Palette index: " + index, scope + "End"});
    }
    EXPECT_TRUE(engine == before);
    EXPECT_EQ(log.lines(), expected);
}

TEST(AbstractColorAnimator, PaletteFollowsTheDisplayModeBlendAndTheSoundClassSwitch) {
    TestAnimator a(makePreset(3, 3));
    SoundInput still;  // never updated, so no sound-class change ever progresses
    using Colors = std::vector<colorf>;

    // The first frame jumps to its target, here halfway between the two looks. Then the colours
    // hold, and selecting the palette already shown is no palette change; another one is.
    a.setDisplayModeBlend(0.5f);
    a.update(kDt, still, RotationTransition{});
    EXPECT_EQ(a.palette.colors, Colors(2, colorf(0.0f, 0.2f, 0.5f, 1.0f)));
    a.setDisplayModeBlend(1.0f);
    a.advancePaletteIndexTo(0);
    a.update(kDt, still, RotationTransition{});
    EXPECT_EQ(a.palette.colors, Colors(2, colorf(0.0f, 0.2f, 0.5f, 1.0f)));
    a.advancePaletteIndexTo(2);
    a.update(kDt, still, RotationTransition{});
    EXPECT_EQ(a.palette.colors, Colors(2, colorf(0.2f, 0.2f, 1.0f, 1.0f)));

    // A switch to Loud holds the colours on the frame it begins, then moves them steadily to the
    // loud group (green 0.3) of the DEFAULT look.
    a.setDisplayModeBlend(0.0f);
    a.sound.setSoundClass(SoundClass::Loud, false);
    colorf previous = a.palette.colors[0];
    bool begun = false;
    for (int frame = 0; frame < 8 * 60; ++frame) {
        a.play(-100.0f);
        const colorf c = a.palette.colors[0];
        if (begun) {
            ASSERT_TRUE(c.g > previous.g || 0.3f - c.g < 1e-4f) << "frame " << frame;
        } else if (a.sound.getSoundClassNext() == SoundClass::Loud) {
            begun = true;
            EXPECT_EQ(c, previous);
        }
        previous = c;
    }
    EXPECT_NEAR(previous.g, 0.3f, 1e-4f);
    EXPECT_NEAR(previous.b, 0.0f, 1e-4f);
}

TEST(AbstractColorAnimator, BeatsFlashTheBackgroundInDrivingClassesAndOutlastAPause) {
    TestAnimator a(makePreset(1, 1));
    a.play(-100.0f, 20);
    EXPECT_NEAR(a.time, 19 * kDt, 1e-5f) << "animate() sees the time at the start of its frame";

    // In Calm a beat only restarts the frame count. A paused clock stops; the beats go on.
    a.sound.setSoundClass(SoundClass::Calm, true);
    a.setPaused(true);
    const float paused = a.time + kDt;
    a.play(-20.0f);
    EXPECT_TRUE(a.triggered && a.getFramesSinceBeat() == 0u);
    EXPECT_EQ(a.getBackgroundColor(), a.palette.background[0]);
    a.play(-100.0f, 11);
    EXPECT_EQ(a.time, paused);
    a.setPaused(false);

    // Each beat drives the background further toward its beat colour; it settles in the quiet
    // after them, kept shorter than the 240 frames after which unchanging input counts as frozen.
    a.sound.setSoundClass(SoundClass::Dynamic, true);
    float peak = 0.0f;
    for (int beat = 0; beat < 6; ++beat) {
        a.play(-20.0f);
        ASSERT_GT(a.getBeatImpulse(), peak);
        peak = a.getBeatImpulse();
        a.play(-100.0f, 11);
    }
    a.play(-100.0f, 3 * 60);
    EXPECT_LT(a.getBeatImpulse(), 0.1f * peak);
    EXPECT_EQ(a.getBackgroundColor(),
              mix_color(a.palette.background[0], a.palette.background[1], a.getBeatImpulse()));
}
