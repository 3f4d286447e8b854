// The speaker rings without GL: when the overlay is finished, and how opacity and odd screens
// change the dots it emits. Where the rings land on screen, and the log lines, are checked
// through pixels on the headless context.
#include "visualization/speaker_overlay.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "visualization/util/random.h"

namespace {

// The overlay without GL: its dots are computed, nothing is drawn.
std::unique_ptr<SpeakerOverlay> makeOverlay(SpeakerInfo speaker, uint32_t width = 1920,
                                            uint32_t height = 1080) {
    util::setRandomSeed(7);
    return std::make_unique<SpeakerOverlay>(width, height, speaker, false);
}

// Emits the frame at `time` seconds. A draw shows the time it starts at and then advances, so
// the first call moves the clock and the second emits.
const std::vector<SpeakerOverlayRenderEntity>& drawAt(SpeakerOverlay& overlay, float time) {
    overlay.draw(time - overlay.getTime());
    overlay.draw(0.0f);
    return overlay.getRenderEntities();
}

}  // namespace

// The latest source (delay 0.125) plus the second wave (0.35) finishes after 1.475 cycles of
// 4.5 s, whatever the layout; skipping ends it at once.
TEST(SpeakerOverlay, EveryLayoutFinishesAfterTheSameDurationOrWhenSkipped) {
    constexpr float kDuration = 1.475f * 4.5f;
    for (int s = 0; s <= static_cast<int>(SpeakerInfo::Kiro); ++s) {
        const auto speaker = static_cast<SpeakerInfo>(s);
        SpeakerOverlay overlay(1920, 1080, speaker, false);
        for (int frame = 0; frame < 420; ++frame) {  // 7 s at 60 fps
            ASSERT_EQ(overlay.isFinished(), frame / 60.0f > kDuration)
                << toString(speaker) << " frame " << frame;
            overlay.draw(1.0f / 60.0f);
        }
    }
    SpeakerOverlay overlay(1920, 1080, SpeakerInfo::TV_1, false);
    overlay.draw(2.0f);
    EXPECT_FALSE(overlay.isFinished());
    overlay.skip();
    EXPECT_TRUE(overlay.isFinished());
}

TEST(SpeakerOverlay, OpacityFadesAndShrinksEveryDotAndOddScreensDrawNothing) {
    // The player lowers the opacity while the screen rotates (1 - 3 x progress, so it goes
    // negative once a third of the turn is done).
    auto full = makeOverlay(SpeakerInfo::TV_3);
    auto half = makeOverlay(SpeakerInfo::TV_3);
    half->setOpacity(0.5f);
    const auto& a = drawAt(*full, 2.5f);
    const auto& b = drawAt(*half, 2.5f);
    ASSERT_FALSE(a.empty());
    // Halving can push the faintest dots below the visible size, never add any.
    ASSERT_LE(b.size(), a.size());
    size_t j = 0;
    for (const auto& dot : b) {
        while (j < a.size() &&
               (a[j].position.x != dot.position.x || a[j].position.y != dot.position.y)) {
            ++j;
        }
        ASSERT_LT(j, a.size());
        EXPECT_NEAR(dot.color.a, 0.5f * a[j].color.a, 1e-6f);
        EXPECT_NEAR(dot.size, 0.5f * a[j].size, 1e-4f);
    }
    auto gone = makeOverlay(SpeakerInfo::TV_3);
    gone->setOpacity(-0.5f);
    EXPECT_TRUE(drawAt(*gone, 2.5f).empty());
    EXPECT_FALSE(gone->isFinished()) << "fading does not end the animation";
    for (auto [w, h] : {std::pair<uint32_t, uint32_t>{0, 0}, {0, 1080}, {1, 1}}) {
        EXPECT_TRUE(drawAt(*makeOverlay(SpeakerInfo::TV_3, w, h), 2.5f).empty()) << w << "x" << h;
    }
}
