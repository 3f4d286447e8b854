#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "support/content_gl_test.h"
#include "support/log_capture.h"
#include "unit/content/2021/ring/ring_sound.h"
#include "visualization/content/2021/ring/content.h"
#include "visualization/util/random.h"

using content2021::ring::Content;
using RingMode = content2021::ring::ContentMode;
using ringtest::RingSound;

using RingContentTest = testsupport::ContentGlTest;

TEST_F(RingContentTest, ModesPalettesScopesAndTheEmptyMode) {
    testsupport::LogCapture log;
    {
        Content content(kWidth, kHeight, RotateInfo::Landscape);
        EXPECT_EQ(log.lines().front(), "[content2021][ring][Content][Constructor] Begin");
        EXPECT_TRUE(log.contains("[content2021][ring][Renderer][Constructor] Begin"));

        // Leaving a mode moves its palette on; choosing a palette shows it.
        const uint32_t first = content.getModePaletteIndex();
        content.setModeIndex(2);
        content.setModeIndex(0);
        EXPECT_NE(content.getModePaletteIndex(), first);
        content.setModePaletteIndex(0, 3);
        EXPECT_EQ(content.getModePaletteIndex(), 3u);

        // NONE has no animator: it draws nothing on black.
        content.setModeIndex(static_cast<uint32_t>(RingMode::NONE));
        RingSound input;
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        content.update(testsupport::kMusicDt, input.sound, RotationTransition{});
        content.render();
        readBack();
        EXPECT_EQ(pixel(kWidth / 2, kHeight / 2), (testsupport::Rgba{0, 0, 0, 255}));
        EXPECT_EQ(content.getBackgroundColor().a, 1.0f);
        EXPECT_THROW(content.getBackgroundColor(7), std::out_of_range);
        log.clear();
    }
    // The animators go first, then the renderer, all inside the content's scope.
    const std::vector<std::string>& lines = log.lines();
    ASSERT_EQ(lines.size(), 2u + 6u * 2u + 2u);
    EXPECT_EQ(lines.front(), "[content2021][ring][Content][Destructor] Begin");
    EXPECT_EQ(lines[1], "[content2021][ring][Animator_Version_0][Destructor] Begin");
    EXPECT_EQ(lines[13], "[content2021][ring][Renderer][Destructor] Begin");
    EXPECT_EQ(lines.back(), "[content2021][ring][Content][Destructor] End");
}

// The loudest a host can send: every band above the top of the range the sound input clamps to,
// in bursts half a second apart so that each is a beat, in the class whose parameters move the
// rings most. No mode reaches the edge of the screen: in every fifth frame the outermost pixels
// of its picture are still background.
TEST_F(RingContentTest, EveryModeStaysOnScreenAtTheLoudestInput) {
    for (uint32_t mode = 0; mode < 6; ++mode) {
        util::setRandomSeed(7);
        Content content(kWidth, kHeight, RotateInfo::Landscape);
        content.setTransition(1.0f);
        content.setModeIndex(mode);
        testsupport::BandMusic music(SoundClass::Powerful);
        const std::string name = "ring_" + content2021::ring::ContentModeNames.at(RingMode(mode));
        for (int frame = 0; frame < 1200; ++frame) {
            music.feedEvery(frame % 30 < 10 ? -120.0f : 0.0f);
            content.update(testsupport::kMusicDt, music.sound, RotationTransition{});
            if (frame % 5 != 0) {
                continue;
            }
            const colorf background = draw(content);
            const testsupport::Rgba clear{static_cast<uint8_t>(std::lround(background.r * 255.0f)),
                                          static_cast<uint8_t>(std::lround(background.g * 255.0f)),
                                          static_cast<uint8_t>(std::lround(background.b * 255.0f)),
                                          255};
            readBack();
            int cut = 0;
            for (uint32_t x = 0; x < kWidth; ++x) {
                cut += !testsupport::near(pixel(x, 0), clear) +
                       !testsupport::near(pixel(x, kHeight - 1), clear);
            }
            for (uint32_t y = 1; y + 1 < kHeight; ++y) {
                cut += !testsupport::near(pixel(0, y), clear) +
                       !testsupport::near(pixel(kWidth - 1, y), clear);
            }
            if (cut != 0) {
                ADD_FAILURE() << name << " reaches the edge at frame " << frame << ": "
                              << savePng(name + "_edge");
                break;
            }
        }
    }
}
