// The lines family played through its content as the player drives it during the intro. (That
// every mode follows level and beat once it plays shows in the reference pictures, drawn from a
// band signal that swells and beats.)
#include <gtest/gtest.h>

#include "support/content_gl_test.h"
#include "visualization/content/2021/lines/content.h"
#include "visualization/util/random.h"

namespace {

using FamilyModesGlTest = testsupport::ContentGlTest;

TEST_F(FamilyModesGlTest, TheIntroBlendGrowsTheTubesFromNothing) {
    util::setRandomSeed(4);
    content2021::lines::Content content(kWidth, kHeight, RotateInfo::Landscape);
    content.setTransition(1.0f);
    testsupport::BandMusic music(SoundClass::Moderate);
    EXPECT_EQ(drawnPixels(play(content, music, 0.5f, 240, 0.0f)), 0);
    EXPECT_GT(drawnPixels(play(content, music, 0.5f, 1, 1.0f)), 200);
}

}  // namespace
