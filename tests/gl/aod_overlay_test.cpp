#include "visualization/aod_overlay.h"

#include <GLES3/gl3.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "gl/overlay_gl_test.h"
#include "support/log_capture.h"
#include "visualization/speaker_overlay.h"
#include "visualization/util/math/quaternion.h"
#include "visualization/util/random.h"

using overlaytest::OverlayGlTest;
using testsupport::LogCapture;
using testsupport::Rgba;

namespace {

constexpr uint32_t kWidth = 320;
constexpr uint32_t kHeight = 180;
// The cover takes the clear colour; the content here is plain white.
const Rgba kBackground{51, 26, 77, 255};
const Rgba kContent{255, 255, 255, 255};

void clearWith(const Rgba& c) {
    glClearColor(c.r / 255.0f, c.g / 255.0f, c.b / 255.0f, c.a / 255.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

}  // namespace

class AODOverlayGl : public OverlayGlTest {
protected:
    void SetUp() override {
        OverlayGlTest::SetUp();
        useTarget(kWidth, kHeight);
    }

    // One frame as the content player makes it: clear with the background, let the overlay
    // open its scissor, draw the content, close with the cover. The content fills whatever
    // the scissor allows and leaves the clear colour as the player set it.
    void frame(AODOverlay& overlay, float blend, const AODMask& mask) {
        clearWith(kBackground);
        overlay.setDisplayModeBlend(blend);
        overlay.update(mask);
        overlay.begin();
        clearWith(kContent);
        restoreClearColour();
        overlay.draw();
        readBack();
    }

    static void restoreClearColour() {
        glClearColor(kBackground.r / 255.0f, kBackground.g / 255.0f, kBackground.b / 255.0f, 1.0f);
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

TEST_F(AODOverlayGl, CoversAroundTheWindowAndScissorsTheContentInAOD) {
    AODOverlay overlay(kWidth, kHeight);
    const AODMask circle(0, vec2f{1.0f, 1.0f}, vec2f{0.0f, 0.0f});

    clearWith(kBackground);
    overlay.setDisplayModeBlend(1.0f);
    overlay.update(circle);
    EXPECT_TRUE(overlay.isActive());
    EXPECT_TRUE(overlay.isScissorEnabled());
    overlay.begin();
    // The window is the 180 x 180 square in the middle of the 320 x 180 screen.
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    std::array<GLint, 4> box{};
    glGetIntegerv(GL_SCISSOR_BOX, box.data());
    EXPECT_EQ(box, (std::array<GLint, 4>{70, 0, 180, 180}));
    clearWith(kContent);
    restoreClearColour();
    readBack();
    EXPECT_EQ(pixel(160, 90), kContent);
    EXPECT_EQ(pixel(60, 90), kBackground) << "the scissor keeps the content out";

    overlay.draw();
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    readBack();
    EXPECT_EQ(pixel(160, 90), kContent);
    EXPECT_TRUE(near(pixel(160 + 70, 90), kContent)) << "inside the circle";
    // Inside the scissor box but outside the circle: the cover in the clear colour.
    EXPECT_TRUE(near(pixel(74, 4), kBackground)) << pixel(74, 4);
    EXPECT_TRUE(near(pixel(10, 90), kBackground));
    savePng("aod_circle");
}

TEST_F(AODOverlayGl, DrawsNothingInDefaultModeOrForTheDefaultMaskAndFadesInBetween) {
    AODOverlay overlay(kWidth, kHeight);
    const AODMask circle(0, vec2f{1.0f, 1.0f}, vec2f{0.0f, 0.0f});

    frame(overlay, 0.0f, circle);
    EXPECT_FALSE(overlay.isActive());
    EXPECT_FALSE(overlay.isScissorEnabled());
    EXPECT_TRUE(everywhere(kContent));

    AODMask turnedDefault;
    turnedDefault.rotation = math::fromAxisAngle(vec3f{0.0f, 0.0f, 1.0f}, 0.5f);
    for (const AODMask& none : {AODMask(), turnedDefault}) {
        frame(overlay, 1.0f, none);
        EXPECT_FALSE(overlay.isActive());
        EXPECT_TRUE(everywhere(kContent));
    }

    // Half way: the cover at half strength over unscissored content.
    frame(overlay, 0.5f, circle);
    EXPECT_TRUE(overlay.isActive());
    EXPECT_FALSE(overlay.isScissorEnabled());
    const Rgba half{153, 140, 166, 255};  // (white + background) / 2
    EXPECT_TRUE(near(pixel(10, 90), half, 3)) << pixel(10, 90);
    EXPECT_EQ(pixel(160, 90), kContent);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));

    // A mask handed over while still in DEFAULT shows as soon as the blend is complete.
    frame(overlay, 0.0f, circle);
    frame(overlay, 1.0f, circle);
    EXPECT_EQ(pixel(160, 90), kContent);
    EXPECT_TRUE(near(pixel(74, 4), kBackground));
}

TEST_F(AODOverlayGl, TheMaskIndexPicksTheShapeFromItsAtlasCell) {
    AODOverlay overlay(kWidth, kHeight);
    // Half the window is 90 pixels. At 0.7 of it to the right: inside the circle, in the fade
    // of the soft disc (cell 4: column 1, row 1). On the diagonal at 0.6: inside the circle,
    // outside the diamond (cell 1).
    const uint32_t sideX = 160 + 63;
    const uint32_t diagX = 160 + 54, diagY = 90 - 54;

    frame(overlay, 1.0f, AODMask(0, vec2f{1.0f, 1.0f}, vec2f{}));
    EXPECT_TRUE(near(pixel(sideX, 90), kContent));
    EXPECT_TRUE(near(pixel(diagX, diagY), kContent));

    frame(overlay, 1.0f, AODMask(1, vec2f{1.0f, 1.0f}, vec2f{}));
    EXPECT_TRUE(near(pixel(diagX, diagY), kBackground)) << pixel(diagX, diagY);
    EXPECT_TRUE(near(pixel(160 + 75, 90), kContent)) << "the diamond's tip";

    frame(overlay, 1.0f, AODMask(4, vec2f{1.0f, 1.0f}, vec2f{}));
    savePng("aod_soft_disc");
    const Rgba fading = pixel(sideX, 90);
    EXPECT_GT(fading.g, kBackground.g + 20) << fading;
    EXPECT_LT(fading.g, kContent.g - 20) << fading;
    EXPECT_EQ(pixel(160, 90), kContent);
}

TEST_F(AODOverlayGl, RotationTurnsTheCoverWithoutNewVertices) {
    AODOverlay overlay(kWidth, kHeight);
    // A wide window, 180 x 90.
    AODMask wide(3, vec2f{1.0f, 0.5f}, vec2f{});
    frame(overlay, 1.0f, wide);
    const AODOverlayMesh::Vertices before = overlay.getMesh().vertices();
    EXPECT_FLOAT_EQ(overlay.getScissorMax().y - overlay.getScissorMin().y, 90.0f);
    EXPECT_TRUE(near(pixel(160 + 70, 90), kContent));
    EXPECT_TRUE(near(pixel(160, 90 - 70), kBackground));

    wide.rotation = math::fromAxisAngle(vec3f{0.0f, 0.0f, 1.0f}, 1.5707964f);
    frame(overlay, 1.0f, wide);
    EXPECT_EQ(overlay.getMesh().vertices(), before);
    EXPECT_NEAR(overlay.getScissorMax().y - overlay.getScissorMin().y, 180.0f, 1e-3f);
    EXPECT_TRUE(near(pixel(160 + 70, 90), kBackground)) << pixel(160 + 70, 90);
    EXPECT_TRUE(near(pixel(160, 90 - 70), kContent)) << pixel(160, 90 - 70);
    savePng("aod_wide_turned");
}

TEST_F(AODOverlayGl, AnAODFrameOverTheSpeakerRings) {
    useTarget(960, 540);
    util::setRandomSeed(5);
    AODOverlay overlay(960, 540);
    SpeakerOverlay rings(960, 540, SpeakerInfo::TV_SoundBar_1);
    rings.draw(3.0f);
    const Rgba background{10, 20, 60, 255};
    clearWith(background);
    overlay.setDisplayModeBlend(1.0f);
    overlay.update(AODMask(4, vec2f{1.1f, 1.7f}, vec2f{}));
    overlay.begin();
    rings.draw(0.0f);
    overlay.draw();
    readBack();
    savePng("aod_frame_rings");
    // Outside the window's bounding box only the cover remains; rings that reach the sides
    // of the screen are gone.
    for (uint32_t y = 0; y < 540; y += 4) {
        ASSERT_TRUE(near(pixel(40, y), background) && near(pixel(920, y), background)) << y;
    }
}

TEST_F(AODOverlayGl, LogsItsScopesAndLoadsTheAtlas) {
    LogCapture log;
    auto overlay = std::make_unique<AODOverlay>(kWidth, kHeight);
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"[AODOverlay][Constructor] Begin",
                                                     "[AODOverlay][Constructor] End"}));
    log.clear();
    frame(*overlay, 1.0f, AODMask(2, vec2f{1.0f, 2.0f}, vec2f{}));
    EXPECT_TRUE(log.lines().empty());
    overlay.reset();
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"[AODOverlay][Destructor] Begin",
                                                     "[AODOverlay][Destructor] End"}));
}
