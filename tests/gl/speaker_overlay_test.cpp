#include "visualization/speaker_overlay.h"

#include <GLES3/gl3.h>
#include <gtest/gtest.h>

#include <cmath>

#include "gl/overlay_gl_test.h"
#include "support/log_capture.h"
#include "visualization/util/random.h"

using overlaytest::OverlayGlTest;
using testsupport::LogCapture;

namespace {

constexpr uint32_t kWidth = 960;
constexpr uint32_t kHeight = 540;

struct Source {
    float x, y, radius;  // radius in pixels
};

// Emits and draws the frame at `time` seconds onto black.
void drawAt(SpeakerOverlay& overlay, float time) {
    overlay.draw(time - overlay.getTime());  // moves the clock; its frame is discarded
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    overlay.draw(0.0f);
}

}  // namespace

class SpeakerOverlayGl : public OverlayGlTest {
protected:
    void SetUp() override {
        OverlayGlTest::SetUp();
        useTarget(kWidth, kHeight);
        util::setRandomSeed(11);
    }

    // Checks that every lit pixel lies within reach of a lit speaker and returns how many lit
    // pixels each speaker has around it.
    std::vector<int> lightPerSource(const std::vector<Source>& sources) {
        std::vector<int> counts(sources.size(), 0);
        int stray = 0;
        for (uint32_t y = 0; y < kHeight; ++y) {
            for (uint32_t x = 0; x < kWidth; ++x) {
                if (light(x, y) < 24) {
                    continue;
                }
                bool near = false;
                for (size_t s = 0; s < sources.size(); ++s) {
                    // A dot's quad reaches 13 pixels beyond its centre.
                    if (std::hypot(x + 0.5f - sources[s].x, y + 0.5f - sources[s].y) <=
                        sources[s].radius + 14.0f) {
                        ++counts[s];
                        near = true;
                    }
                }
                stray += near ? 0 : 1;
            }
        }
        EXPECT_EQ(stray, 0) << "light far from every speaker";
        return counts;
    }
};

TEST_F(SpeakerOverlayGl, RingsLightUpAroundTheSpeakersOverTime) {
    // On 960 x 540 the radius unit is 120 pixels.
    // On 960 x 540 the radius unit is 120 pixels: bottom, top, then the sides.
    const std::vector<Source> sources = {{240, 540, 228}, {720, 540, 228}, {240, 0, 162},
                                         {720, 0, 162},   {0, 324, 120},   {960, 324, 120}};
    SpeakerOverlay overlay(kWidth, kHeight, SpeakerInfo::TV_3);
    for (float time : {1.0f, 3.0f}) {
        SCOPED_TRACE(std::to_string(time) + " s");
        drawAt(overlay, time);
        readBack();
        savePng("speaker_rings_TV_3_" + std::to_string(int(time)) + "s");
        const std::vector<int> counts = lightPerSource(sources);
        for (size_t s = 0; s < sources.size(); ++s) {
            // The side speakers start an eighth of a cycle late: at 1 s their first wave has
            // not reached the innermost ring yet.
            if (s >= 4 && time < 2.0f) {
                EXPECT_EQ(counts[s], 0) << "source " << s;
            } else {
                EXPECT_GT(counts[s], 50) << "source " << s;
            }
        }
        // The dots are white: every lit pixel is grey.
        for (uint32_t y = 0; y < kHeight; y += 3) {
            for (uint32_t x = 0; x < kWidth; x += 3) {
                const testsupport::Rgba c = pixel(x, y);
                ASSERT_TRUE(c.r == c.g && c.g == c.b) << x << ", " << y << ": " << c;
            }
        }
    }
}

TEST_F(SpeakerOverlayGl, NothingShowsAtZeroOpacityAndTheFadeDims) {
    SpeakerOverlay overlay(kWidth, kHeight, SpeakerInfo::TV_2);
    const auto total = [this] {
        readBack();
        long sum = 0;
        for (uint32_t y = 0; y < kHeight; ++y) {
            for (uint32_t x = 0; x < kWidth; ++x) {
                sum += light(x, y);
            }
        }
        return sum;
    };
    drawAt(overlay, 2.5f);
    const long full = total();
    overlay.setOpacity(0.3f);
    drawAt(overlay, 2.5f);
    // Fainter and smaller dots: far less than 30 % of the light.
    EXPECT_LT(total(), full * 3 / 10);
    overlay.setOpacity(0.0f);
    drawAt(overlay, 2.5f);
    EXPECT_EQ(total(), 0);
}

TEST_F(SpeakerOverlayGl, LogsItsScopesAndFindsItsSprite) {
    LogCapture log;
    auto overlay = std::make_unique<SpeakerOverlay>(kWidth, kHeight, SpeakerInfo::Kiro);
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               "[SpeakerOverlay][Constructor] Begin",
                               "[SpeakerOverlay][createBlueprint] Begin",
                               "[SpeakerOverlay][createBlueprint] End",
                               "[SpeakerOverlayRenderer][Constructor] Begin",
                               "[SpeakerOverlayRenderer][Constructor] End",
                               "[SpeakerOverlay][Constructor] Speaker Info Kiro",
                               "[SpeakerOverlay][Constructor] End",
                           }));
    log.clear();
    overlay->draw(0.1f);
    EXPECT_TRUE(log.lines().empty()) << "drawing logs nothing";
    overlay.reset();
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               "[SpeakerOverlay][Destructor] Begin",
                               "[SpeakerOverlayRenderer][Destructor] Begin",
                               "[SpeakerOverlayRenderer][Destructor] End",
                               "[SpeakerOverlay][Destructor] End",
                           }));
}

TEST_F(SpeakerOverlayGl, ALargeScreenDrawsWithoutOverflowingItsIndices) {
    // At 7680 pixels wide the blueprint is so large that six sources could exceed what 16-bit
    // indices address; the renderer draws what fits and no more.
    useTarget(7680 / 8, 4320 / 8);
    SpeakerOverlay overlay(7680, 4320, SpeakerInfo::TV_3);
    drawAt(overlay, 3.0f);
    EXPECT_GT(overlay.getRenderEntities().size(), 16384u);
    readBack();
}
