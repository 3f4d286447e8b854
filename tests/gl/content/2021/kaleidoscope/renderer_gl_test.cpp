#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "gl/content/2021/kaleidoscope/kaleidoscope_gl_test.h"
#include "support/log_capture.h"
#include "support/test_output.h"
#include "visualization/content/2021/kaleidoscope/image_loader.h"
#include "visualization/content/2021/kaleidoscope/renderer.h"
#include "visualization/util/gl/shared_context.h"

using namespace content2021::kaleidoscope;
using testsupport::Rgba;

namespace {

constexpr float kPi = 3.14159265358979323846f;

class KaleidoscopeRendererTest : public kaleidotest::KaleidoscopeGlTest {
protected:
    RenderState makeState(uint32_t width, uint32_t height, const std::string& path) {
        RenderState state;
        state.camera.aspect = static_cast<float>(width) / static_cast<float>(height);
        state.camera.size = static_cast<float>(height) * 0.5f;
        state.camera.rotationMode = 3;
        state.camera.update(RotationTransition{});
        state.imagePath = path;
        return state;
    }

    void drawFrame(Renderer& renderer, const RenderState& state) {
        gl::applyBaseRenderState();
        glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        renderer.draw(state);
        readBack();
    }

    // The pixel that shows the fold at this angle and radius (in texture space, where the fold
    // is computed), through the inverse of the camera's turn on a square target.
    Rgba at(const RenderState& state, uint32_t size, float angle, float radius) const {
        const float* m = state.camera.getViewMatrix().m;
        const float tx = radius * std::cos(angle);
        const float ty = radius * std::sin(angle);
        const float vx = 2.0f * (m[0] * tx + m[1] * ty);
        const float vy = 2.0f * (m[4] * tx + m[5] * ty);
        const auto px = static_cast<uint32_t>((vx + 1.0f) * 0.5f * size);
        const auto py = static_cast<uint32_t>((1.0f - vy) * 0.5f * size);
        return pixel(px, py);
    }
};

}  // namespace

TEST_F(KaleidoscopeRendererTest, EachWedgeMirrorsItsNeighbour) {
    constexpr uint32_t kSize = 256;
    useTarget(kSize, kSize);
    Renderer renderer(kSize, kSize);
    renderer.setBlend(1.0f);
    for (uint32_t segments : {3u, 5u}) {
        RenderState state = makeState(kSize, kSize, writeImage("gradient.png", 64, 64));
        state.parameters.segments = segments;
        drawFrame(renderer, state);
        savePng("kaleidoscope_fold_" + std::to_string(segments));
        const float wedge = kPi / static_cast<float>(segments);
        int distinct = 0;
        for (float t : {0.1f, 0.3f, 0.45f, 0.7f, 0.9f}) {
            const float angle = t * wedge;
            const Rgba reference = at(state, kSize, angle, 0.3f);
            distinct += testsupport::near(reference, at(state, kSize, 0.0f, 0.3f), 6) ? 0 : 1;
            for (int k = 1; k < 2 * static_cast<int>(segments); ++k) {
                // Across each wedge edge the picture is mirrored: angle and its reflection
                // about every edge show the same colour.
                const float mirrored = (k % 2 == 1) ? k * wedge - angle : k * wedge + angle;
                EXPECT_TRUE(testsupport::near(at(state, kSize, mirrored, 0.3f), reference, 6))
                    << "segments " << segments << " wedge " << k << " t " << t << ": "
                    << at(state, kSize, mirrored, 0.3f) << " vs " << reference;
            }
        }
        EXPECT_GE(distinct, 3) << "the fold shows one colour only";
    }
}

TEST_F(KaleidoscopeRendererTest, FitsFollowTheLongerSides) {
    useTarget(64, 32);
    {
        Renderer renderer(64, 32);
        renderer.setBlend(1.0f);
        drawFrame(renderer, makeState(64, 32, writeImage("portrait.png", 16, 32)));
        EXPECT_EQ(renderer.getAspect().x, 1.0f);
        EXPECT_EQ(renderer.getAspect().y, 0.5f);
        EXPECT_EQ(renderer.getTextureAspect().x, 2.0f);
        EXPECT_EQ(renderer.getTextureAspect().y, 1.0f);
    }
    useTarget(32, 64);
    Renderer renderer(32, 64);
    renderer.setBlend(1.0f);
    drawFrame(renderer, makeState(32, 64, writeImage("landscape.png", 32, 16)));
    EXPECT_EQ(renderer.getAspect().x, 0.5f);
    EXPECT_EQ(renderer.getAspect().y, 1.0f);
    EXPECT_EQ(renderer.getTextureAspect().x, 1.0f);
    EXPECT_EQ(renderer.getTextureAspect().y, 2.0f);
}

TEST_F(KaleidoscopeRendererTest, UnusableImagesAreLoggedAndTheLastGoodOneStays) {
    useTarget(32, 32);
    Renderer renderer(32, 32);
    renderer.setBlend(1.0f);
    const Rgba background{0, 0, 255, 255};
    testsupport::LogCapture log;

    // Before any usable image nothing is drawn.
    const std::string grey = writeImage("grey.png", 8, 8, 1);
    drawFrame(renderer, makeState(32, 32, grey));
    EXPECT_EQ(pixel(16, 16), background);
    const std::string scope = "[content2021][kaleidoscope][Renderer][updateTexture] ";
    EXPECT_TRUE(log.contains(scope + "Asset size: 8x8, num channels: 1"));
    EXPECT_TRUE(log.contains(scope + "Asset \"" + grey + "\" has invalid number of channels: 1"));

    drawFrame(renderer, makeState(32, 32, writeImage("good.png", 8, 8, 4, 200)));
    const std::vector<uint8_t> good = pixels();
    EXPECT_FALSE(pixel(16, 16) == background);
    EXPECT_EQ(log.matching("Duration total: ").size(), 1u);

    const std::string greyAlpha = writeImage("grey_alpha.png", 8, 8, 2);
    const std::string corrupt = writeFile("corrupt.jpg", "not a picture at all");
    const std::string missing = imageDir() + "/missing.png";
    for (const std::string& path : {greyAlpha, corrupt, missing}) {
        log.clear();
        drawFrame(renderer, makeState(32, 32, path));
        EXPECT_EQ(pixels(), good) << path;
        const int channels = path == greyAlpha ? 2 : 0;
        EXPECT_TRUE(log.contains(scope + "Asset path: " + path));
        EXPECT_TRUE(log.contains(scope + "Asset \"" + path +
                                 "\" has invalid number of channels: " + std::to_string(channels)))
            << path;
        // A failed path is not retried on the next frame.
        log.clear();
        drawFrame(renderer, makeState(32, 32, path));
        EXPECT_TRUE(log.lines().empty());
    }
    EXPECT_TRUE(log.allTagged());
}

TEST_F(KaleidoscopeRendererTest, BlendBelowOneIsPremultipliedOverTheBackground) {
    useTarget(32, 32);
    Renderer renderer(32, 32);
    const RenderState state = makeState(32, 32, writeImage("white.png", 8, 8, 3, 255));
    renderer.setBlend(1.0f);
    drawFrame(renderer, state);
    const Rgba full = pixel(16, 16);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    renderer.setBlend(0.5f);
    drawFrame(renderer, state);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    const Rgba half = pixel(16, 16);
    EXPECT_NEAR(half.r, full.r / 2, 3);
    EXPECT_NEAR(half.b, full.b / 2 + 128, 3);
}

// The next photograph goes up a little every frame, resampled to the size both staging slots
// share; shown from its slot, it must look exactly as it does when loaded on the spot (which
// resamples it alike), whatever unpack layout the host left behind.
TEST_F(KaleidoscopeRendererTest, AStagedPhotographLooksAsOneLoadedOnTheSpot) {
    constexpr uint32_t kSize = 128;
    useTarget(kSize, kSize);
    const std::string photos = testsupport::sourceDir() + "/res/images/kaleidoscope_default/";
    const RenderState first = makeState(kSize, kSize, photos + "coffee.jpg");
    const RenderState next = makeState(kSize, kSize, photos + "astronaut.jpg");
    std::vector<uint8_t> onTheSpot;
    {
        Renderer renderer(kSize, kSize);
        renderer.setBlend(1.0f);
        drawFrame(renderer, next);
        onTheSpot = pixels();
    }

    ImageLoader loader;
    Renderer renderer(kSize, kSize);
    renderer.setBlend(1.0f);
    renderer.setImageLoader(&loader);
    loader.request(next.imagePath);
    GLuint unpackBuffer = 0;
    glGenBuffers(1, &unpackBuffer);
    glBindBuffer(GL_PIXEL_UNPACK_BUFFER, unpackBuffer);
    glBufferData(GL_PIXEL_UNPACK_BUFFER, 64, nullptr, GL_STATIC_DRAW);
    int frames = 0;
    for (; frames < 600 && !renderer.isNextImageUp(); ++frames) {
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 4096);
        glPixelStorei(GL_UNPACK_SKIP_ROWS, 9);
        glPixelStorei(GL_UNPACK_SKIP_PIXELS, 7);
        glBindBuffer(GL_PIXEL_UNPACK_BUFFER, unpackBuffer);
        drawFrame(renderer, first);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    glDeleteBuffers(1, &unpackBuffer);
    ASSERT_TRUE(renderer.isNextImageUp()) << "not staged after " << frames << " frames";
    EXPECT_GT(frames, 4) << "a photograph with its levels goes up over several frames";

    drawFrame(renderer, next);
    EXPECT_FALSE(renderer.isNextImageUp());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    savePng("kaleidoscope_staged");
    const std::vector<uint8_t>& staged = pixels();
    ASSERT_EQ(staged.size(), onTheSpot.size());
    EXPECT_EQ(testsupport::differingPixels(staged, onTheSpot, 0), 0);
    EXPECT_GT(testsupport::differingPixels(staged, std::vector<uint8_t>(staged.size())), 0);
}
