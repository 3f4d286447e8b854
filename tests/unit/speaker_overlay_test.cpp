// The speaker rings without GL: when the waves pass, how delays, opacity and odd screens change
// the dots each frame emits, and when the overlay is finished. Where the rings land on screen,
// and the log lines, are checked through pixels on the headless context.
#include "visualization/speaker_overlay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>

#include "visualization/util/random.h"

namespace {

constexpr uint32_t kWidth = 1920;
constexpr uint32_t kHeight = 1080;
constexpr float kCycle = 4.5f;
// The latest source (delay 0.125) plus the second wave (0.35) finishes after 1.475 cycles.
constexpr float kDuration = 1.475f * kCycle;

// The overlay without GL: its dots are computed, nothing is drawn.
std::unique_ptr<SpeakerOverlay> makeOverlay(SpeakerInfo speaker, uint32_t width = kWidth,
                                            uint32_t height = kHeight) {
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

TEST(SpeakerOverlay, WavesTravelOutwardsTwiceAndDelaysShiftThem) {
    // The bump: zero before and behind it, one at its crest, which sits at d = 2t - 0.5.
    EXPECT_FLOAT_EQ(SpeakerOverlay::wave(0.5f, 0.5f), 1.0f);
    EXPECT_NEAR(SpeakerOverlay::wave(0.2f, 0.6f), 0.0f, 1e-6f);  // behind the wave
    EXPECT_NEAR(SpeakerOverlay::wave(0.9f, 0.3f), 0.0f, 1e-6f);  // not reached yet
    EXPECT_NEAR(SpeakerOverlay::wave(0.25f, 0.5f), 0.5f, 1e-6f);

    // At the start both waves sit below the source: nothing to draw.
    auto tv1 = makeOverlay(SpeakerInfo::TV_1);
    EXPECT_TRUE(drawAt(*tv1, 0.0f).empty());

    // The leading edge reaches d = 2t: half the radius after a quarter cycle. Rings are 26
    // pixels apart, so the outermost lit dot is within one ring of it.
    const float maxR = 240.0f * 1.9f;
    float previousEdge = 0.0f;
    for (float time : {0.5f, 1.0f, 1.5f, 2.0f}) {
        float edge = 0.0f;
        for (const SpeakerOverlayRenderEntity& dot : drawAt(*tv1, time)) {
            const float dx = dot.position.x - (dot.position.x < 960 ? 480.0f : 1440.0f);
            edge = std::max(edge, std::hypot(dx, dot.position.y - kHeight));
        }
        const float expected = 2.0f * time / kCycle * maxR;
        EXPECT_LE(edge, expected) << time;
        EXPECT_GT(edge, expected - 26.0f) << time << ": the next ring out is within reach";
        EXPECT_GT(edge, previousEdge);
        previousEdge = edge;
    }

    // The first wave has left a delay-0 source after one cycle; the second, 0.35 cycles
    // behind, keeps it lit until 1.35 cycles.
    EXPECT_FALSE(drawAt(*tv1, 5.0f).empty());
    EXPECT_TRUE(drawAt(*tv1, 1.36f * kCycle).empty());

    // The top speakers of TV_2 start 0.125 cycles (0.5625 s) after those of TV_3, which have
    // the same radius and no delay.
    const auto topOf = [](const std::vector<SpeakerOverlayRenderEntity>& dots) {
        std::vector<SpeakerOverlayRenderEntity> top;
        std::copy_if(dots.begin(), dots.end(), std::back_inserter(top),
                     [](const auto& dot) { return dot.position.y < 400.0f; });
        return top;
    };
    for (float time : {0.8f, 3.1f}) {
        auto tv3 = makeOverlay(SpeakerInfo::TV_3);
        auto tv2 = makeOverlay(SpeakerInfo::TV_2);
        const auto top3 = topOf(drawAt(*tv3, time));
        const auto top2 = topOf(drawAt(*tv2, time + 0.5625f));
        ASSERT_FALSE(top3.empty()) << time;
        ASSERT_EQ(top2.size(), top3.size()) << time;
        for (size_t i = 0; i < top3.size(); ++i) {
            EXPECT_NEAR(top2[i].size, top3[i].size, 1e-3f);
            EXPECT_NEAR(top2[i].color.a, top3[i].color.a, 1e-5f);
        }
    }
}

TEST(SpeakerOverlay, EveryLayoutFinishesAfterTheSameDurationAndSkipsToTheEnd) {
    for (int s = 0; s <= static_cast<int>(SpeakerInfo::Kiro); ++s) {
        const auto speaker = static_cast<SpeakerInfo>(s);
        SCOPED_TRACE(toString(speaker));
        auto overlay = makeOverlay(speaker);
        int lastLit = -1;
        for (int frame = 0; frame < 420; ++frame) {  // 7 s at 60 fps
            EXPECT_EQ(overlay->isFinished(), frame / 60.0f > kDuration) << frame;
            overlay->draw(1.0f / 60.0f);
            for (const SpeakerOverlayRenderEntity& dot : overlay->getRenderEntities()) {
                ASSERT_TRUE(
                    dot.size > 0.0f && dot.color.a > 0.0f && dot.color.a <= 1.0f &&
                    dot.position.x + dot.size > 0.0f && dot.position.x - dot.size < float(kWidth) &&
                    dot.position.y + dot.size > 0.0f && dot.position.y - dot.size < float(kHeight))
                    << "an invisible dot is emitted at frame " << frame;
                lastLit = frame;
            }
        }
        // Nothing is left to see by the time the overlay reports the end, and the second wave
        // keeps every layout alive well past the first.
        EXPECT_LT(lastLit / 60.0f, kDuration);
        EXPECT_GT(lastLit / 60.0f, 5.5f);
    }

    auto overlay = makeOverlay(SpeakerInfo::TV_1);
    drawAt(*overlay, 2.0f);
    EXPECT_FALSE(overlay->isFinished());
    overlay->skip();
    EXPECT_TRUE(overlay->isFinished());
    overlay->draw(0.0f);
    EXPECT_TRUE(overlay->getRenderEntities().empty());
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
    for (float opacity : {0.0f, -0.5f}) {
        auto gone = makeOverlay(SpeakerInfo::TV_3);
        gone->setOpacity(opacity);
        EXPECT_TRUE(drawAt(*gone, 2.5f).empty()) << opacity;
        EXPECT_FALSE(gone->isFinished()) << "fading does not end the animation";
    }

    for (auto [w, h] : {std::pair<uint32_t, uint32_t>{0, 0}, {0, 1080}, {1, 1}}) {
        auto overlay = makeOverlay(SpeakerInfo::TV_3, w, h);
        for (float time : {1.0f, 3.0f}) {
            EXPECT_TRUE(drawAt(*overlay, time).empty()) << w << "x" << h;
        }
    }
}

}  // namespace
