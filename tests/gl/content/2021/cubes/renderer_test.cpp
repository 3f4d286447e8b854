#include "visualization/content/2021/cubes/renderer.h"

#include <GLES3/gl3.h>
#include <gtest/gtest.h>

#include "support/gl_test.h"
#include "visualization/content/2021/cubes/block.h"

namespace {

using namespace content2021::cubes;
using testsupport::Rgba;

constexpr uint32_t kWidth = 320;
constexpr uint32_t kHeight = 180;

class CubesRendererTest : public testsupport::GlTest {
protected:
    CubesRendererTest() : GlTest(kWidth, kHeight) {
        // The animators' view: isometric from (1, 1, 1), 1.35 units above and below the centre.
        mScene.camera.aspect = static_cast<float>(kWidth) / kHeight;
        mScene.camera.baseSize = 1.35f;
        mScene.camera.rotationMode = 3;
        mScene.camera.update(RotationTransition{});
    }

    Cube cube(const vec3f& at, float size, const colorf& all) const {
        Cube c;
        c.transform = translation(at) * scaling({size, size, size});
        c.colorTop = c.colorBottom = c.colorLeft = c.colorRight = c.colorFront = c.colorBack = all;
        return c;
    }

    void draw(Renderer& renderer) {
        clearTo(0.0f, 0.0f, 0.0f);
        renderer.draw(mScene);
        readBack();
    }

    Scene mScene;
};

}  // namespace

// Near the end of a fade (alpha 0.02) a cube is 98 % the global colour, whose alpha is scaled by
// smoothstep(0, 0.05, 0.02) = 0.352, and it is blended premultiplied over the background.
TEST_F(CubesRendererTest, AFadingCubeTurnsIntoTheGlobalColourAndTransparent) {
    Renderer renderer;
    mScene.cubes = {cube({0.0f, 0.0f, 0.0f}, 1.2f, colorf(0.0f, 1.0f, 0.0f, 1.0f))};
    renderer.setAlpha(0.02f);
    renderer.setGlobalColor(colorf(1.0f, 0.0f, 0.0f, 1.0f));
    draw(renderer);
    const float alpha = 0.02f + 0.98f * 0.352f;
    const Rgba expected{static_cast<uint8_t>(0.98f * alpha * 255.0f + 0.5f),
                        static_cast<uint8_t>(0.02f * alpha * 255.0f + 0.5f), 0, 255};
    // Seen from (1, 1, 1) the +x face lies to the lower right of the centre, the top above it.
    for (const Rgba face : {pixel(188, 106), pixel(160, 57)}) {
        EXPECT_TRUE(testsupport::near(face, expected)) << face << " vs " << expected;
    }
}
