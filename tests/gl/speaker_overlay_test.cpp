// The speaker rings on screen: every layout lights rings around its own speakers and nowhere
// else, delayed speakers start late, the dots are white, and the overlay logs its scopes.
#include "visualization/speaker_overlay.h"

#include <GLES3/gl3.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "support/log_capture.h"
#include "support/resource_gl_test.h"
#include "visualization/util/random.h"

using testsupport::LogCapture;
using testsupport::ResourceGlTest;

namespace {

constexpr uint32_t kWidth = 960;
constexpr uint32_t kHeight = 540;

struct Source {
    float x, y, radius;    // radius in pixels
    bool delayed = false;  // starts an eighth of a cycle late
};

// Emits and draws the frame at `time` seconds onto black.
void drawAt(SpeakerOverlay& overlay, float time) {
    overlay.draw(time - overlay.getTime());  // moves the clock; its frame is discarded
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    overlay.draw(0.0f);
}

class SpeakerOverlayGl : public ResourceGlTest {
protected:
    void SetUp() override {
        ResourceGlTest::SetUp();
        useTarget(kWidth, kHeight);
    }

    // Checks that every lit pixel lies within reach of a speaker and returns how many lit
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

TEST_F(SpeakerOverlayGl, EveryLayoutLightsRingsAroundItsOwnSpeakers) {
    // On 960 x 540 the radius unit is 120 pixels. Sound bars spread their outer speakers by
    // 0.35 of a quarter of the width, 84 pixels.
    const auto join = [](std::vector<Source> a, const std::vector<Source>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const std::vector<Source> tvBottom = {{240, 540, 228}, {720, 540, 228}};
    const std::vector<Source> bar = {{156, 540, 180}, {480, 540, 180}, {804, 540, 180}};
    const std::vector<Source> top = {{240, 0, 162}, {720, 0, 162}};
    const std::vector<Source> lateTop = {{240, 0, 162, true}, {720, 0, 162, true}};
    const std::vector<Source> lateSides = {{0, 324, 120, true}, {960, 324, 120, true}};
    const std::map<SpeakerInfo, std::vector<Source>> layouts = {
        {SpeakerInfo::TV_1, tvBottom},
        {SpeakerInfo::TV_2, join(tvBottom, lateTop)},
        {SpeakerInfo::TV_3, join(join(tvBottom, top), lateSides)},
        {SpeakerInfo::TV_SoundBar_1, join(bar, lateTop)},
        {SpeakerInfo::TV_SoundBar_2, join(bar, lateTop)},
        {SpeakerInfo::TV_SoundBar_3, join(bar, lateTop)},
        {SpeakerInfo::SoundBar_1, bar},
        {SpeakerInfo::SoundBar_2, bar},
        {SpeakerInfo::SoundBar_3, bar},
        {SpeakerInfo::Kiro, {{480, 540, 228}}},
    };
    for (const auto& [speaker, sources] : layouts) {
        util::setRandomSeed(11);
        SpeakerOverlay overlay(kWidth, kHeight, speaker);
        for (float time : {1.0f, 3.0f}) {
            SCOPED_TRACE(std::string(toString(speaker)) + " at " + std::to_string(time) + " s");
            drawAt(overlay, time);
            readBack();
            savePng(std::string("speaker_rings_") + toString(speaker) + "_" +
                    std::to_string(int(time)) + "s");
            const std::vector<int> counts = lightPerSource(sources);
            for (size_t s = 0; s < sources.size(); ++s) {
                // At 1 s the first wave of a late speaker has not reached its innermost ring.
                if (sources[s].delayed && time < 2.0f) {
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

}  // namespace
