#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/gl_test.h"
#include "unit/content/2021/lines/lines_sound.h"
#include "visualization/content/2021/lines/content.h"
#include "visualization/util/gl/shared_context.h"
#include "visualization/util/random.h"

using content2021::lines::Content;
using LinesMode = content2021::lines::ContentMode;
using linestest::LinesSound;

namespace {

constexpr uint32_t kWidth = 320;
constexpr uint32_t kHeight = 180;

class LinesContentTest : public testsupport::GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        useTarget(kWidth, kHeight);
    }

    // Frames of music through the content as the player drives it; the last one is read back.
    std::vector<uint8_t> play(Content& content, LinesSound& input, float loudness, int frames,
                              float blend = 1.0f) {
        for (int i = 0; i < frames; ++i) {
            input.feed(loudness);
            gl::applyBaseRenderState();
            content.setBlend(blend);
            content.update(linestest::kDt, input.sound, RotationTransition{});
            const colorf background = content.getBackgroundColor();
            glClearColor(background.r, background.g, background.b, background.a);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            content.render();
        }
        readBack();
        return pixels();
    }
};

// Pixels that are not the background colour of the top-left corner.
int drawnPixels(const std::vector<uint8_t>& p) {
    std::vector<uint8_t> background(p.size());
    for (size_t i = 0; i < p.size(); ++i) {
        background[i] = p[i % 4];
    }
    return testsupport::differingPixels(p, background);
}

}  // namespace

TEST_F(LinesContentTest, EveryModeDrawsAndReactsToLevelAndBeat) {
    util::setRandomSeed(3);
    Content content(kWidth, kHeight, RotateInfo::Landscape);
    content.setTransition(1.0f);
    for (uint32_t mode = 0; mode < 3; ++mode) {
        const std::string name =
            content2021::lines::ContentModeNames.at(static_cast<LinesMode>(mode));
        content.setModeIndex(mode);
        LinesSound input(SoundClass::Powerful);
        const auto silent = play(content, input, 0.0f, 240);
        savePng("lines_" + name + "_silent");
        EXPECT_GT(drawnPixels(silent), 200) << name;
        const auto loud = play(content, input, 0.9f, 90);
        savePng("lines_" + name + "_loud");
        EXPECT_GT(testsupport::differingPixels(silent, loud), 200) << name;

        const auto before = play(content, input, 0.1f, 40);
        const auto beat = play(content, input, 1.0f, 12);
        savePng("lines_" + name + "_beat");
        EXPECT_GT(testsupport::differingPixels(before, beat), 100) << name;
    }
}

TEST_F(LinesContentTest, IntroBlendGrowsTheTubesFromNothing) {
    util::setRandomSeed(4);
    Content content(kWidth, kHeight, RotateInfo::Landscape);
    content.setTransition(1.0f);
    LinesSound input(SoundClass::Moderate);
    EXPECT_EQ(drawnPixels(play(content, input, 0.5f, 240, 0.0f)), 0);
    EXPECT_GT(drawnPixels(play(content, input, 0.5f, 1, 1.0f)), 200);
}
