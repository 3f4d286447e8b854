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
    void SetUp() override {
        ResourceGlTest::SetUp();
        useTarget(kWidth, kHeight);
    }

    void clear(const colorf& c) {
        glClearColor(c.r, c.g, c.b, c.a);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    // Pixels that differ from the clear colour by more than a rounding step.
    int lit(const testsupport::Rgba& background) const {
        int count = 0;
        for (uint32_t y = 0; y < kHeight; ++y) {
            for (uint32_t x = 0; x < kWidth; ++x) {
                count += near(pixel(x, y), background, 3) ? 0 : 1;
            }
        }
        return count;
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

    clear(colorf(0.0f, 1.0f));
    renderer.draw(state);
    readBack();
    const int full = lit({0, 0, 0, 255});
    const testsupport::Rgba centre = pixel(kWidth / 2, kHeight / 2);
    EXPECT_GT(centre.r, 200);

    renderer.setBlend(0.5f);
    clear(colorf(0.0f, 1.0f));
    renderer.draw(state);
    readBack();
    // Half the side, so about a quarter of the area, at half the alpha.
    EXPECT_NEAR(lit({0, 0, 0, 255}) * 4.0, full, full * 0.15);
    EXPECT_NEAR(pixel(kWidth / 2, kHeight / 2).r, centre.r / 2.0, 3.0);

    // Nothing to draw draws nothing.
    state.instances.clear();
    clear(colorf(0.0f, 1.0f));
    renderer.draw(state);
    readBack();
    EXPECT_EQ(lit({0, 0, 0, 255}), 0);
}
