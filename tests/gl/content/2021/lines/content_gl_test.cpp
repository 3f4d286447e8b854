#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/content_gl_test.h"
#include "visualization/content/2021/lines/content.h"
#include "visualization/util/random.h"

using content2021::lines::Content;
using LinesMode = content2021::lines::ContentMode;
using LinesSound = testsupport::BandMusic;

namespace {

using LinesContentTest = testsupport::ContentGlTest;

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
