// The speaker rings on screen: every layout lights rings around its own speakers and nowhere
// else, and delayed speakers start late.
#include "visualization/speaker_overlay.h"

#include <GLES3/gl3.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "support/resource_gl_test.h"
#include "visualization/util/random.h"

using testsupport::ResourceGlTest;

namespace {

constexpr uint32_t kWidth = 960;
constexpr uint32_t kHeight = 540;

struct Source {
    float x, y, radius;    // radius in pixels
    bool delayed = false;  // starts an eighth of a cycle late
};

// Moves the overlay's clock `now` on to `time` seconds and draws that frame onto black.
void drawAt(SpeakerOverlay& overlay, float& now, float time) {
    overlay.draw(time - now);  // its frame is discarded
    now = time;
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    overlay.draw(0.0f);
}

// Where each layout's speakers are, and how far their rings reach.
std::map<SpeakerInfo, std::vector<Source>> layouts() {
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
    return {
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
}

class SpeakerOverlayGl : public ResourceGlTest {
protected:
    SpeakerOverlayGl() : ResourceGlTest(kWidth, kHeight) {}

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
    for (const auto& [speaker, sources] : layouts()) {
        util::setRandomSeed(11);
        SpeakerOverlay overlay(kWidth, kHeight, speaker);
        float now = 0.0f;
        for (float time : {1.0f, 3.0f}) {
            SCOPED_TRACE(std::string(toString(speaker)) + " at " + std::to_string(time) + " s");
            drawAt(overlay, now, time);
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
        }
    }
}

TEST_F(SpeakerOverlayGl, ALargeScreenDrawsWithoutOverflowingItsIndices) {
    // At 7680 pixels wide the blueprint is so large that six sources would exceed what 16-bit
    // indices address; the renderer draws what fits and no more. Drawn to a target an eighth of
    // that size, the rings it draws lie where the layout puts them, with no stray triangles.
    SpeakerOverlay overlay(kWidth * 8, kHeight * 8, SpeakerInfo::TV_3);
    float now = 0.0f;
    drawAt(overlay, now, 3.0f);
    readBack();
    savePng("speaker_rings_8k");
    EXPECT_GT(lightPerSource(layouts().at(SpeakerInfo::TV_3)).front(), 50);
}

}  // namespace
