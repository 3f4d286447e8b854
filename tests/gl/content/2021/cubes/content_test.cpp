#include "visualization/content/2021/cubes/content.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/content_gl_test.h"
#include "support/log_capture.h"

namespace cubes = content2021::cubes;

using content2021::cubes::Content;
using CubesContentTest = testsupport::ContentGlTest;
constexpr float kDt = testsupport::kMusicDt;

TEST_F(CubesContentTest, ScopesTablesAndPalettesOfTheThreeModes) {
    testsupport::LogCapture log;
    auto content = std::make_unique<Content>(kWidth, kHeight, RotateInfo::Landscape);
    const std::string c = "[content2021][cubes]";
    std::vector<std::string> expected = {c + "[Content][Constructor] Begin"};
    for (const char* version : {"0", "1", "2"}) {
        expected.push_back(c + "[Animator_Version_" + version + "][Constructor] Begin");
        expected.push_back(c + "[Animator_Version_" + version + "][Constructor] End");
    }
    expected.insert(expected.end(),
                    {c + "[Renderer][Constructor] Begin", c + "[Renderer][Constructor] End",
                     c + "[Content][Constructor] End"});
    EXPECT_EQ(log.lines(), expected);

    for (const auto& [mode, text] : cubes::ContentModeNames) {
        EXPECT_EQ(cubes::ContentModeValues.at(text), mode);
    }
    EXPECT_THROW(content->setModePaletteIndex(3, 0), std::out_of_range);
    EXPECT_THROW(content->getBackgroundColor(3), std::out_of_range);

    // A chosen palette shows when its mode comes up; leaving a mode moves its playlist on.
    content->setModePaletteIndex(1, 3);
    content->setModeIndex(1);
    EXPECT_EQ(content->getModePaletteIndex(), 3u);
    log.clear();
    content->setModeIndex(2);
    const std::vector<std::string> advanced = log.matching("Palette index: ");
    ASSERT_EQ(advanced.size(), 1u);
    content->setModeIndex(1);
    EXPECT_EQ(advanced[0], "[AbstractColorAnimator][advancePalettePlaylist] Palette index: " +
                               std::to_string(content->getModePaletteIndex()));

    // The always-on look keeps the cubes' colours on black; a content faded out draws nothing.
    SoundInput sound;
    content->setTransition(0.0f);
    content->setDisplayModeBlend(1.0f);
    content->update(kDt, sound, RotationTransition{});
    const colorf background = content->getBackgroundColor();
    EXPECT_EQ(background.r + background.g + background.b, 0.0f);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    content->render();
    readBack();
    for (size_t i = 0; i < pixels().size(); i += 4) {
        ASSERT_EQ(pixels()[i] + pixels()[i + 1] + pixels()[i + 2], 0) << "pixel " << i / 4;
    }

    log.clear();
    content.reset();
    expected = {c + "[Content][Destructor] Begin"};
    for (const char* version : {"0", "1", "2"}) {
        expected.push_back(c + "[Animator_Version_" + version + "][Destructor] Begin");
        expected.push_back(c + "[Animator_Version_" + version + "][Destructor] End");
    }
    expected.insert(expected.end(),
                    {c + "[Renderer][Destructor] Begin", c + "[Renderer][Destructor] End",
                     c + "[Content][Destructor] End"});
    EXPECT_EQ(log.lines(), expected);
}
