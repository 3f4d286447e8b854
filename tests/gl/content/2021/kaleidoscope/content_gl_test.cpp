#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "gl/content/2021/kaleidoscope/kaleidoscope_gl_test.h"
#include "support/log_capture.h"
#include "support/test_output.h"
#include "visualization/content/2021/kaleidoscope/content.h"

using content2021::kaleidoscope::Content;

namespace {

class KaleidoscopeContentTest : public kaleidotest::KaleidoscopeGlTest {
protected:
    // The photographs that the next advances of mode 0 show.
    std::vector<std::string> shown(Content& content, int advances) {
        std::vector<std::string> paths;
        for (int i = 0; i < advances; ++i) {
            content.setModeIndex(0);
            paths.push_back(content.getAnimator(0).getImagePath());
        }
        return paths;
    }
};

}  // namespace

TEST_F(KaleidoscopeContentTest, OnlyExactExtensionsArePlayed) {
    useTarget(32, 32);
    const std::string a = writeImage("a.jpg", 8, 8);
    writeImage("b.PNG", 8, 8);
    const std::string c = writeImage("c.jpeg", 8, 8);
    writeImage("d", 8, 8);
    writeImage("e.png.bak", 8, 8);
    testsupport::LogCapture log;
    Content content(32, 32, RotateInfo::Landscape);
    const std::vector<std::string>& entries = content.getImageEntries();
    EXPECT_EQ(std::set<std::string>(entries.begin(), entries.end()), (std::set<std::string>{a, c}));
    EXPECT_TRUE(content.isPlayable());
    const std::string scope = "[content2021][kaleidoscope][Content][Constructor] ";
    EXPECT_TRUE(log.contains(scope + "Path default images: \"" + imageDir() + "\""));
    EXPECT_TRUE(log.contains(scope + "Valid image extensions: jpg, jpeg, png"));
    EXPECT_EQ(log.matching("Path default images num entries: 2").size(), 1u);
    EXPECT_TRUE(log.matching("Default images path").empty());

    // All five modes start with the same photograph.
    for (size_t mode = 1; mode < 5; ++mode) {
        EXPECT_EQ(content.getAnimator(mode).getImagePath(), content.getAnimator(0).getImagePath());
    }
    EXPECT_EQ(content.getModePaletteIndex(), 0u);
}

TEST_F(KaleidoscopeContentTest, PlaylistLapsNeverRepeatTheLastTwo) {
    useTarget(32, 32);
    const std::string first = writeImage("0.png", 8, 8);
    {
        Content content(32, 32, RotateInfo::Landscape);
        for (const std::string& path : shown(content, 4)) {
            EXPECT_EQ(path, first);
        }
    }
    const std::string second = writeImage("1.png", 8, 8);
    {
        Content content(32, 32, RotateInfo::Landscape);
        const std::vector<std::string> paths = shown(content, 6);
        for (size_t i = 1; i < paths.size(); ++i) {
            EXPECT_NE(paths[i], paths[i - 1]);
        }
    }
    for (int i = 2; i < 5; ++i) {
        writeImage(std::to_string(i) + ".png", 8, 8);
    }
    for (uint32_t seed = 0; seed < 5; ++seed) {
        Content content(32, 32, RotateInfo::Landscape);
        // Construction handed out the first of the lap, so line the laps up first.
        std::vector<std::string> paths = shown(content, 4);
        paths = shown(content, 5 * 6);
        for (size_t lap = 0; lap < 6; ++lap) {
            const auto begin = paths.begin() + static_cast<long>(lap * 5);
            EXPECT_EQ(std::set<std::string>(begin, begin + 5).size(), 5u) << "lap " << lap;
            if (lap > 0) {
                EXPECT_NE(*begin, *(begin - 1));
                EXPECT_NE(*begin, *(begin - 2));
            }
        }
    }
}

TEST_F(KaleidoscopeContentTest, WithoutPhotographsTheModesStepAside) {
    useTarget(32, 32);
    for (bool createDirectory : {false, true}) {
        if (createDirectory) {
            std::filesystem::create_directories(imageDir());
            writeFile("notes.txt", "no photographs here");
        }
        testsupport::LogCapture log;
        Content content(32, 32, RotateInfo::Landscape);
        const std::string scope = "Validating resource directories: ";
        EXPECT_EQ(log.contains(scope + "Default images path does not exist!"), !createDirectory);
        EXPECT_TRUE(log.contains(scope + "Default images path is empty!"));
        EXPECT_FALSE(content.isPlayable());
        content.setTransition(1.0f);
        testsupport::BandMusic music;
        for (uint32_t mode = 0; mode < 5; ++mode) {
            content.setModeIndex(mode);
            play(content, music, 0.8f, 3);
            EXPECT_TRUE(content.getAnimator(mode).getImagePath().empty());
        }
        EXPECT_TRUE(testsupport::near(pixel(16, 16), testsupport::Rgba{0x15, 0x0B, 0x0F, 255}));
        content.setDisplayModeBlend(1.0f);
        play(content, music, 0.8f, 1);
        EXPECT_EQ(content.getBackgroundColor().r, 0.0f) << "the always-on look darkens it";
    }
}
