#include <gtest/gtest.h>

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
        EXPECT_NE(content.getAnimator(0).getPaletteIndex(), first);
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
