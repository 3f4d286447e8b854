// The analyzer view on screen: what it shows of a sound input, where, and that it leaves the
// context as the frame needs it.
#include "visualization/diagnostics/analyzer_debug_view.h"

#include <GLES3/gl3.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/resource_gl_test.h"

using testsupport::ResourceGlTest;
using testsupport::Rgba;

namespace {

constexpr uint32_t kWidth = 800;
constexpr uint32_t kHeight = 600;
// The panels' geometry at this size.
constexpr float kPanel = 405.0f;
constexpr float kHistoryHeight = 168.75f;
constexpr float kRow = (kHistoryHeight - 40.0f) / 9.0f;
constexpr float kGraph = kWidth - kPanel - 140.0f;

// A sound input with one valid frame of rising bands, aged by `seconds` in one step.
SoundInput soundAfter(float seconds) {
    SoundInput sound;
    std::vector<float> bands(16);
    for (size_t b = 0; b < bands.size(); ++b) {
        bands[b] = -110.0f + 6.0f * float(b);
    }
    sound.setBandsInfo(bands.data(), uint32_t(bands.size()));
    sound.update(seconds);
    return sound;
}

class AnalyzerView : public ResourceGlTest {
protected:
    AnalyzerView() : ResourceGlTest(kWidth, kHeight) {}
    void drawOnBlue(OrvantoAnalyzerDebugView& view, const SoundInput& sound) {
        clearTo(0.0f, 0.0f, 1.0f);
        view.draw(sound);
        readBack();
    }
    bool isBlue(uint32_t x, uint32_t y) const { return pixel(x, y) == Rgba{0, 0, 255, 255}; }
};

TEST_F(AnalyzerView, ClassMapShowsOneBrightDiscWhenTheClassIsSettled) {
    OrvantoAnalyzerDebugView view(kWidth, kHeight, 0);
    drawOnBlue(view, soundAfter(0.1f));
    savePng("analyzer_settled");
    // Moderate is the centre of the map's inner area; its label covers the disc's middle.
    const float cx = kWidth - kPanel + 40.0f + (kPanel - 80.0f) * 0.5f;
    const float cy = kHeight - kPanel + 40.0f + (kPanel - 80.0f) * 0.5f;
    // Solid patches of the bright grey (text is too thin to make one) lie on one disc only.
    int bright = 0;
    int far = 0;
    for (uint32_t y = uint32_t(kHeight - kPanel + 41); y < kHeight - 41; ++y) {
        for (uint32_t x = uint32_t(kWidth - kPanel + 41); x < kWidth - 41; ++x) {
            bool solid = true;
            for (int d = 0; d < 9 && solid; ++d) {
                solid = near(pixel(x + d % 3 - 1, y + d / 3 - 1), Rgba{191, 191, 191, 255}, 3);
            }
            if (solid) {
                ++bright;
                far += std::hypot(float(x) + 0.5f - cx, float(y) + 0.5f - cy) > 20.0f;
            }
        }
    }
    EXPECT_GT(bright, 600);
    EXPECT_LT(bright, 1260);
    EXPECT_EQ(far, 0);
    EXPECT_FALSE(glIsEnabled(GL_BLEND) || glIsEnabled(GL_SCISSOR_TEST));
}

// Compact, the view draws the class history and no band bars; thirty seconds of one class fill
// half the timeline.
TEST_F(AnalyzerView, CompactLayoutDrawsHistoryButNoBandBarsAndNoBandsDrawNothing) {
    OrvantoAnalyzerDebugView view(kWidth, kHeight, 0);
    const SoundInput sound = soundAfter(0.5f);
    // Inside the band graph, below its caption.
    const uint32_t x = 300;
    const uint32_t y = uint32_t(kHeight - kPanel + 236.25f * 0.5f - 25.0f);
    drawOnBlue(view, sound);
    EXPECT_FALSE(isBlue(x, y));
    view.setCompact(true);
    drawOnBlue(view, soundAfter(30.0f));
    // Moderate's row (the fifth) is white from "now" to half of the 60 seconds, and only there.
    const uint32_t moderate = uint32_t(kHeight - kHistoryHeight + 20.0f + 4.5f * kRow);
    uint32_t last = 0;
    for (uint32_t column = 160; column < kWidth - kPanel; ++column) {
        last = pixel(column, moderate) == Rgba{255, 255, 255, 255} ? column : last;
    }
    EXPECT_NEAR(float(last), 120.0f + 0.5f * kGraph, 1.5f);
    for (uint32_t column = 160; column < last; ++column) {
        ASSERT_EQ(pixel(column, moderate), (Rgba{255, 255, 255, 255})) << column;
    }
    EXPECT_FALSE(pixel(200, uint32_t(kHeight - kHistoryHeight + 20.0f + 0.5f * kRow)) ==
                 (Rgba{255, 255, 255, 255}))
        << "no other row has a bar";
    for (uint32_t row = uint32_t(kHeight - kPanel); row < kHeight - kHistoryHeight - 1; ++row) {
        ASSERT_TRUE(isBlue(x, row) && isBlue(20, row)) << row;
    }
    EXPECT_FALSE(isBlue(kWidth - 20, kHeight - 20));  // the class map stays

    // Without a usable band frame there is nothing to show.
    drawOnBlue(view, SoundInput());
    EXPECT_TRUE(isBlue(20, kHeight - 20) && isBlue(kWidth - 20, kHeight - 20));
}

}  // namespace
