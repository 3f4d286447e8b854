#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "support/gl_test.h"
#include "visualization/content/2021/ring/animator_util.h"
#include "visualization/content/2021/ring/renderer.h"
#include "visualization/util/gl/shared_context.h"
#include "visualization/util/math/scalar.h"

using namespace content2021::ring;

namespace {

constexpr uint32_t kWidth = 320;
constexpr uint32_t kHeight = 180;

// A camera three units in front of the origin, looking at it, as the animators place theirs.
Scene makeScene() {
    Scene scene;
    scene.camera.rotationMode = 3;
    scene.camera.aspect = static_cast<float>(kWidth) / kHeight;
    scene.camera.baseFov = 45.0f;
    scene.camera.eye = {0.0f, 0.0f, -3.0f};
    scene.camera.update(RotationTransition{});
    scene.mThickness = 2.0f * 3.0f / (kWidth * 0.5f) * scene.camera.aspect;
    return scene;
}

// One box facing the camera: the ring segment at angle pi of a ring about the vertical axis.
void addBox(Scene& scene, float distance, float size, const colorf& color) {
    std::vector<WedgeAxisAligned> segment(1);
    segment[0].angle = math::kPi;
    segment[0].color = color;
    segment[0].scale = {1.0f, 1.0f, 1.0f};
    RingGeometry ring;
    ring.radius = distance;
    ring.width = size;
    ring.segmentAngle = size / std::fabs(distance);
    ring.rollTurns = 0;
    std::vector<WedgeGeometry> wedges;
    buildWedges(segment, ring, wedges);
    scene.mWedges.push_back(wedges[0]);
}

class RingRendererTest : public testsupport::GlTest {
protected:
    RingRendererTest() : GlTest(kWidth, kHeight) {}
    void SetUp() override {
        GlTest::SetUp();
        gl::applyBaseRenderState();
    }

    void draw(Renderer& renderer, const Scene& scene) {
        clearTo(0.0f, 0.0f, 0.0f);
        renderer.draw(scene);
        readBack();
    }
};

}  // namespace

// At full alpha the lines keep their colour; at 0.05 they are 95 % the global colour, whose
// alpha is halved by the smoothstep, blended premultiplied over the background.
TEST_F(RingRendererTest, TheGlobalColourTakesOverAsTheAlphaFades) {
    Renderer renderer;
    Scene scene = makeScene();
    addBox(scene, 0.5f, 0.8f, colorf(1.0f, 1.0f, 1.0f, 1.0f));
    renderer.setGlobalColor(colorf(0.0f, 0.0f, 1.0f, 1.0f));

    // The colour most lit pixels share: the inside of the lines, away from the corners where
    // two blended lines overlap.
    auto common = [this]() {
        std::map<uint32_t, int> counts;
        for (uint32_t y = 0; y < kHeight; ++y) {
            for (uint32_t x = 0; x < kWidth; ++x) {
                const testsupport::Rgba c = pixel(x, y);
                if (c.r + c.g + c.b > 0) {
                    ++counts[(c.r << 16) | (c.g << 8) | c.b];
                }
            }
        }
        const auto most =
            std::max_element(counts.begin(), counts.end(),
                             [](const auto& a, const auto& b) { return a.second < b.second; });
        const uint32_t c = most == counts.end() ? 0u : most->first;
        return testsupport::Rgba{static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8),
                                 static_cast<uint8_t>(c), 255};
    };
    renderer.mDrawPoints = false;

    renderer.setAlpha(1.0f);
    draw(renderer, scene);
    EXPECT_TRUE(testsupport::near(common(), {255, 255, 255, 255}, 1)) << common();

    renderer.setAlpha(0.05f);
    draw(renderer, scene);
    // (0.05, 0.05, 1) x 0.525 over black.
    EXPECT_TRUE(testsupport::near(common(), {7, 7, 134, 255}, 2)) << common();
}

// The most a pass can hold, every wedge with mid-lines, draws; one wedge more would overflow the
// 16-bit indices and stops instead.
TEST_F(RingRendererTest, TheLargestSceneDrawsAndALargerOneStops) {
    Renderer renderer;
    Scene scene = makeScene();
    scene.mDrawMidLines = true;
    addBox(scene, 0.5f, 0.8f, colorf(1.0f, 0.0f, 0.0f, 1.0f));
    scene.mWedges.resize(kMaxWedges, scene.mWedges.front());
    draw(renderer, scene);
    EXPECT_GT(litPixels(128), 500);
    scene.mWedges.push_back(scene.mWedges.front());
    EXPECT_DEATH(renderer.buildGeometry(scene), "kMaxWedges");
}
