#include <gtest/gtest.h>

#include "support/resource_gl_test.h"
#include "visualization/content/2020/renderer.h"

namespace {

using content2020::Renderer;
using content2020::RenderState;

constexpr uint32_t kWidth = 480;
constexpr uint32_t kHeight = 270;

class PointFieldGlTest : public testsupport::ResourceGlTest {
protected:
    PointFieldGlTest() : ResourceGlTest(kWidth, kHeight) {}

    // Draws on black and answers how many pixels differ from it by more than a rounding step.
    int drawLit(Renderer& renderer, const RenderState& state) {
        clearTo(0.0f, 0.0f, 0.0f);
        renderer.draw(state);
        readBack();
        return litPixels(9);
    }
};

}  // namespace

TEST_F(PointFieldGlTest, SpriteShrinksAndFadesWithTheBlend) {
    Renderer renderer(kWidth, kHeight);
    RenderState state;
    state.camera.aspect = static_cast<float>(kWidth) / kHeight;
    state.camera.size = kHeight * 0.5f;
    state.camera.rotationMode = 3;
    state.camera.update(RotationTransition{});
    state.instances.push_back({0.0f, 0.0f, 40.0f, colorf(1.0f, 1.0f, 1.0f, 1.0f)});

    const int full = drawLit(renderer, state);
    const testsupport::Rgba centre = pixel(kWidth / 2, kHeight / 2);
    EXPECT_GT(centre.r, 200);

    renderer.setBlend(0.5f);
    // Half the side, so about a quarter of the area, at half the alpha.
    EXPECT_NEAR(drawLit(renderer, state) * 4.0, full, full * 0.15);
    EXPECT_NEAR(pixel(kWidth / 2, kHeight / 2).r, centre.r / 2.0, 3.0);

    // Nothing to draw draws nothing.
    state.instances.clear();
    EXPECT_EQ(drawLit(renderer, state), 0);
}
