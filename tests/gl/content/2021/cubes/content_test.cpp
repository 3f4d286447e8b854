#include "visualization/content/2021/cubes/content.h"

#include <gtest/gtest.h>

#include "support/content_gl_test.h"

using CubesContentTest = testsupport::ContentGlTest;

// The always-on look keeps the cubes' colours on black; a content faded out draws nothing.
TEST_F(CubesContentTest, FadedOutInTheAlwaysOnLookItDrawsNothingOnBlack) {
    content2021::cubes::Content content(kWidth, kHeight, RotateInfo::Landscape);
    SoundInput sound;
    content.setTransition(0.0f);
    content.setDisplayModeBlend(1.0f);
    content.update(testsupport::kMusicDt, sound, RotationTransition{});
    const colorf background = content.getBackgroundColor();
    EXPECT_EQ(background.r + background.g + background.b, 0.0f);
    clearTo(0.0f, 0.0f, 0.0f);
    content.render();
    readBack();
    EXPECT_EQ(litPixels(), 0);
}
