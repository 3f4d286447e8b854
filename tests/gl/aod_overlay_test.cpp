// The always-on cover through pixels: the shaped window shows the content and scissors it, the
// cover fades with the display-mode blend, the mask index picks the atlas cell, and rotation
// turns the window.
#include "visualization/aod_overlay.h"

#include <GLES3/gl3.h>
#include <gtest/gtest.h>

#include <array>

#include "support/resource_gl_test.h"
#include "visualization/util/math/quaternion.h"

using testsupport::ResourceGlTest;
using testsupport::Rgba;

namespace {

constexpr uint32_t kWidth = 320;
constexpr uint32_t kHeight = 180;
// The cover takes the clear colour; the content here is plain white.
const Rgba kBackground{51, 26, 77, 255};
const Rgba kContent{255, 255, 255, 255};
using Box = std::array<GLint, 4>;  // x, y, width, height
const Box kNoScissor{};

void clearWith(const Rgba& c) {
    glClearColor(c.r / 255.0f, c.g / 255.0f, c.b / 255.0f, c.a / 255.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

class AODOverlayGl : public ResourceGlTest {
protected:
    AODOverlayGl() : ResourceGlTest(kWidth, kHeight) {}

    // One frame as the content player makes it: clear with the background, let the overlay
    // open its scissor, draw the content, close with the cover. The content fills whatever
    // the scissor allows and leaves the clear colour as the player set it. Returns the scissor
    // box the content was drawn in.
    Box frame(AODOverlay& overlay, float blend, const AODMask& mask) {
        clearWith(kBackground);
        overlay.setDisplayModeBlend(blend);
        overlay.update(mask);
        overlay.begin();
        Box box = kNoScissor;
        if (glIsEnabled(GL_SCISSOR_TEST)) {
            glGetIntegerv(GL_SCISSOR_BOX, box.data());
        }
        clearWith(kContent);
        glClearColor(kBackground.r / 255.0f, kBackground.g / 255.0f, kBackground.b / 255.0f, 1.0f);
        overlay.draw();
        EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST)) << "the cover closes the scissor it opened";
        readBack();
        return box;
    }

    bool everywhere(const Rgba& expected) const {
        for (uint32_t y = 0; y < kHeight; y += 2) {
            for (uint32_t x = 0; x < kWidth; x += 2) {
                if (!testsupport::near(pixel(x, y), expected)) {
                    return false;
                }
            }
        }
        return true;
    }
};

TEST_F(AODOverlayGl, DrawsNothingInDefaultModeOrForTheDefaultMaskAndFadesInBetween) {
    AODOverlay overlay(kWidth, kHeight);
    const AODMask circle(0, vec2f{1.0f, 1.0f}, vec2f{0.0f, 0.0f});
    AODMask turnedDefault;
    turnedDefault.rotation = math::fromAxisAngle(vec3f{0.0f, 0.0f, 1.0f}, 0.5f);
    for (const auto& [blend, mask] :
         {std::pair{0.0f, circle}, {1.0f, AODMask()}, {1.0f, turnedDefault}}) {
        EXPECT_EQ(frame(overlay, blend, mask), kNoScissor);
        EXPECT_TRUE(everywhere(kContent)) << blend;
    }

    // Half way: the cover at half strength over unscissored content.
    EXPECT_EQ(frame(overlay, 0.5f, circle), kNoScissor);
    const Rgba half{153, 140, 166, 255};  // (white + background) / 2
    EXPECT_TRUE(near(pixel(10, 90), half, 3)) << pixel(10, 90);
    EXPECT_EQ(pixel(160, 90), kContent);

    // A mask handed over while still in DEFAULT shows as soon as the blend is complete.
    frame(overlay, 0.0f, circle);
    frame(overlay, 1.0f, circle);
    EXPECT_EQ(pixel(160, 90), kContent);
    EXPECT_TRUE(near(pixel(74, 4), kBackground));
}

TEST_F(AODOverlayGl, TheWindowScissorsTheContentTheMaskIndexPicksItsShapeRotationTurnsIt) {
    AODOverlay overlay(kWidth, kHeight);
    // Half the window is 90 pixels. At 0.7 of it to the right: inside the circle, in the fade
    // of the soft disc (cell 4: column 1, row 1). On the diagonal at 0.6: inside the circle,
    // outside the diamond (cell 1).
    const uint32_t sideX = 160 + 63;
    const uint32_t diagX = 160 + 54, diagY = 90 - 54;

    // The window is the 180 x 180 square in the middle of the 320 x 180 screen.
    EXPECT_EQ(frame(overlay, 1.0f, AODMask(0, vec2f{1.0f, 1.0f}, vec2f{})), (Box{70, 0, 180, 180}));
    savePng("aod_circle");
    EXPECT_EQ(pixel(160, 90), kContent);
    EXPECT_TRUE(near(pixel(sideX, 90), kContent));
    EXPECT_TRUE(near(pixel(diagX, diagY), kContent));
    // Inside the scissor box but outside the circle: the cover in the clear colour; outside
    // the box the content never arrived.
    EXPECT_TRUE(near(pixel(74, 4), kBackground)) << pixel(74, 4);
    EXPECT_TRUE(near(pixel(10, 90), kBackground));

    frame(overlay, 1.0f, AODMask(1, vec2f{1.0f, 1.0f}, vec2f{}));
    EXPECT_TRUE(near(pixel(diagX, diagY), kBackground)) << pixel(diagX, diagY);
    EXPECT_TRUE(near(pixel(160 + 75, 90), kContent)) << "the diamond's tip";

    frame(overlay, 1.0f, AODMask(4, vec2f{1.0f, 1.0f}, vec2f{}));
    savePng("aod_soft_disc");
    const Rgba fading = pixel(sideX, 90);
    EXPECT_GT(fading.g, kBackground.g + 20) << fading;
    EXPECT_LT(fading.g, kContent.g - 20) << fading;
    EXPECT_EQ(pixel(160, 90), kContent);

    // A wide window, 180 x 90, and rotation turns it and its scissor.
    AODMask wide(3, vec2f{1.0f, 0.5f}, vec2f{});
    EXPECT_EQ(frame(overlay, 1.0f, wide)[3], 90);
    EXPECT_TRUE(near(pixel(160 + 70, 90), kContent));
    EXPECT_TRUE(near(pixel(160, 90 - 70), kBackground));

    wide.rotation = math::fromAxisAngle(vec3f{0.0f, 0.0f, 1.0f}, 1.5707964f);
    EXPECT_EQ(frame(overlay, 1.0f, wide)[3], 180);
    savePng("aod_wide_turned");
    EXPECT_TRUE(near(pixel(160 + 70, 90), kBackground)) << pixel(160 + 70, 90);
    EXPECT_TRUE(near(pixel(160, 90 - 70), kContent)) << pixel(160, 90 - 70);
}

}  // namespace
