#include <gtest/gtest.h>

#include "support/gl_test.h"
#include "visualization/content/2021/lines/renderer.h"
#include "visualization/util/gl/shared_context.h"
#include "visualization/util/math/scalar.h"

using namespace content2021::lines;

namespace {

constexpr uint32_t kWidth = 160;
constexpr uint32_t kHeight = 90;

// The animator's resting camera: one unit in front of the origin on the -z side.
Scene makeScene() {
    Scene scene;
    scene.camera.rotationMode = 3;
    scene.camera.aspect = static_cast<float>(kWidth) / kHeight;
    scene.camera.baseFov = 65.0f;
    scene.camera.eye = {0.0f, 0.0f, -1.0f};
    scene.camera.update(RotationTransition{});
    return scene;
}

// A straight tube along x, frames as the animator carries them.
LineDrawable straightLine(float from, float to, size_t count, float radius, uint32_t sides) {
    LineDrawable line;
    line.sides = sides;
    line.points.resize(count);
    for (size_t i = 0; i < count; ++i) {
        LinePoint& p = line.points[i];
        p.position = {math::mix(from, to, count > 1 ? float(i) / float(count - 1) : 0.0f), 0, 0};
        p.tangent = {1.0f, 0.0f, 0.0f};
        p.normal = {0.0f, 1.0f, 0.0f};
        p.binormal = math::cross(p.tangent, p.normal);
        p.radius = radius;
        p.color = colorf(1.0f, 0.0f, 0.0f, 1.0f);
    }
    return line;
}

class LinesRendererTest : public testsupport::GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        useTarget(kWidth, kHeight);
        gl::applyBaseRenderState();
    }

    void render(Renderer& renderer, const Scene& scene) {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        renderer.draw(scene);
        readBack();
    }

    // Red pixels along the middle row (or column).
    int coverage(bool row) const {
        int n = 0;
        for (uint32_t i = 0; i < (row ? kWidth : kHeight); ++i) {
            n += (row ? pixel(i, kHeight / 2) : pixel(kWidth / 2, i)).r > 128 ? 1 : 0;
        }
        return n;
    }
};

}  // namespace

// The tube itself is in the reference pictures; what they never show is a scale of 0 and lines
// too short to have a direction.
TEST_F(LinesRendererTest, ScaleZeroAndLinesOfFewerThanTwoPointsDrawNothing) {
    Renderer renderer;
    Scene scene = makeScene();
    scene.lines = {straightLine(-0.5f, 0.5f, 100, 0.1f, 26)};
    render(renderer, scene);
    EXPECT_GT(coverage(true), 0);
    renderer.setScale(0.0f);
    render(renderer, scene);
    EXPECT_EQ(coverage(true), 0) << "scale 0 leaves every radius at 0";
    EXPECT_EQ(coverage(false), 0);

    renderer.setScale(1.0f);
    scene.lines = {straightLine(0, 0, 0, 0.1f, 26), straightLine(0, 0, 1, 0.1f, 26)};
    render(renderer, scene);
    EXPECT_EQ(coverage(true), 0);
}
