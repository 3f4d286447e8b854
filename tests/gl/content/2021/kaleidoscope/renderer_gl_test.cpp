#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
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
        clearTo(0.0f, 0.0f, 1.0f);
        renderer.draw(state);
        readBack();
    }
};

// The fold worked out per pixel, as it was drawn before it became triangles.
const char* const kPerPixelVertex = R"(#version 300 es
precision highp float;
layout (location = 0) in vec4 aPosition;
uniform mat4 uViewMatrix;
uniform vec2 uAspect;
out vec2 vTexCoord;
void main() {
    gl_Position = aPosition;
    mat2 rotation = mat2(uViewMatrix[0][0], uViewMatrix[0][1], uViewMatrix[1][0], uViewMatrix[1][1]);
    vTexCoord = 0.5 + rotation * (aPosition.xy * uAspect) * 0.5;
}
)";
const char* const kPerPixelFragment = R"(#version 300 es
precision highp float;
in vec2 vTexCoord;
out vec4 FragColor;
uniform sampler2D uTexture;
uniform vec2 uCenter, uTextureAspect;
uniform vec3 uTextureOffset;
uniform float uTile, uAngleDivisor, uAngleOffset, uAngleRoll, uTextureZoom, uTextureMirrorRatio;
void main() {
    vec2 p = fract(vTexCoord * (1.0 + uTile) + uTile * 0.5 + vec2(0.0, uTile)) - uCenter;
    // The angle folded into the first half-wedge, then turned by the roll.
    float angle = atan(p.y, p.x) + uAngleOffset;
    angle = angle - uAngleDivisor * floor(angle / uAngleDivisor);
    angle = min(angle, uAngleDivisor - angle) + uAngleRoll - uAngleOffset;
    vec2 uv = vec2(cos(angle), sin(angle)) * length(p) * uTextureAspect + uCenter;
    uv = max(min(uv, uTextureMirrorRatio - uv), -uv) * uTextureZoom + uTextureOffset.z + uTextureOffset.xy;
    FragColor = vec4(texture(uTexture, uv).rgb, 1.0);
}
)";

// Draws a render state the per-pixel way, from the photograph's levels as the renderer makes them.
class PerPixelFold {
public:
    PerPixelFold() {
        mProgram.reset(gl::createProgram(kPerPixelVertex, kPerPixelFragment, {}));
        const std::vector<float> quad = {-1.0f, -1.0f, 1.0f, -1.0f, 1.0f, 1.0f, -1.0f, 1.0f};
        mQuad.reset(gl::createVertexBuffer(quad, GL_STATIC_DRAW));
        mVertexArray.reset(gl::createInterleavedVertexArray(mQuad.get(), nullptr, {{2, 0}}, 8));
    }

    void load(const std::string& path) {
        const fs::TextureData pixels =
            fs::loadTextureData(path.c_str(), &mImageWidth, &mImageHeight, &mChannels);
        ASSERT_TRUE(pixels);
        std::vector<unsigned char> levels(kLevelSetBytes);
        ASSERT_TRUE(buildLevels(pixels.get(), mImageWidth, mImageHeight, mChannels, levels.data()));
        gl::Texture2dConfig config;
        config.format = config.internalFormat = GL_RGB;
        config.wrapS = config.wrapT = GL_REPEAT;
        config.minFilter = GL_LINEAR_MIPMAP_LINEAR;
        config.unpackAlignment = 1;
        mTexture.reset(gl::createTexture2dStorage(kUniformImageSize, kUniformImageSize,
                                                  kUniformImageLevels, config));
        gl::bindTexture2d(mTexture.get());
        for (int level = 0; level < kUniformImageLevels; ++level) {
            const GLuint size = kUniformImageSize >> level;
            gl::texSubImage2d(level, 0, size, size, levels.data() + levelOffset(level));
        }
        gl::unbindTexture2d();
    }

    // The fit of the screen and of the photograph follow their longer sides.
    void draw(const RenderState& state, uint32_t width, uint32_t height) {
        const float w = static_cast<float>(width);
        const float h = static_cast<float>(height);
        const float iw = static_cast<float>(mImageWidth);
        const float ih = static_cast<float>(mImageHeight);
        const KaleidoscopeParameters& p = state.parameters;
        gl::applyBaseRenderState();
        gl::bindProgram(mProgram.get());
        gl::uniform("uTexture", 0);
        gl::uniform("uViewMatrix", state.camera.getViewMatrix(), false);
        gl::uniform("uAspect", width > height ? 1.0f : w / h, width > height ? h / w : 1.0f);
        gl::uniform("uTextureAspect", iw > ih ? 1.0f : ih / iw, iw > ih ? iw / ih : 1.0f);
        gl::uniform("uTile", p.tile);
        gl::uniform("uCenter", p.center.x, p.center.y);
        gl::uniform("uAngleDivisor", kPi / static_cast<float>(p.segments));
        gl::uniform("uAngleOffset", p.angleOffset);
        gl::uniform("uAngleRoll", p.angleRoll);
        gl::uniform("uTextureOffset", p.textureOffset.x, p.textureOffset.y, p.textureOffset.z);
        gl::uniform("uTextureZoom", p.zoom);
        gl::uniform("uTextureMirrorRatio", p.mirror + 1.0f);
        gl::activeTexture(0);
        gl::bindTexture2d(mTexture.get());
        gl::bindVertexArray(mVertexArray.get());
        glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
        gl::unbindVertexArray();
        gl::unbindProgram();
        gl::unbindTexture2d();
    }

private:
    gl::Owned<gl::Program> mProgram;
    gl::Owned<gl::VertexBuffer> mQuad;
    gl::Owned<gl::VertexArray> mVertexArray;
    gl::Owned<gl::Texture2d> mTexture;
    int mImageWidth = 0;
    int mImageHeight = 0;
    int mChannels = 0;
};

// Whether a pixel lies within two pixels of an edge of the fold (a ray between half-wedges or
// the border of a tile), where the per-pixel fold's derivatives jump and it picks another mipmap
// level.
bool nearFoldEdge(const RenderState& state, uint32_t width, uint32_t height, uint32_t x,
                  uint32_t y) {
    const float* m = state.camera.getViewMatrix().m;
    const KaleidoscopeParameters& p = state.parameters;
    const double w = width;
    const double h = height;
    const double ax = width > height ? 1.0 : w / h;
    const double ay = width > height ? h / w : 1.0;
    const double cx = (2.0 * (x + 0.5) / w - 1.0) * ax;
    const double cy = (1.0 - 2.0 * (y + 0.5) / h) * ay;
    const double tx = 0.5 + (m[0] * cx + m[4] * cy) * 0.5;
    const double ty = 0.5 + (m[1] * cx + m[5] * cy) * 0.5;
    const double band = 2.0 * ax / w;  // a pixel spans ax / w of texture space
    if (std::fabs(tx - std::round(tx)) < band || std::fabs(ty - std::round(ty)) < band) {
        return true;
    }
    const double px = tx - std::floor(tx) - p.center.x;
    const double py = ty - std::floor(ty) - p.center.y;
    const double half = kPi / p.segments * 0.5;
    const double angle = std::atan2(py, px) + p.angleOffset;
    const double fromRay = angle - half * std::round(angle / half);
    return std::hypot(px, py) * std::fabs(std::sin(fromRay)) < band;
}

}  // namespace

// The fold is drawn as triangles carrying the photograph coordinate; it must show what the fold
// worked out per pixel shows, at every wedge count the animator picks, turned, mirrored, zoomed
// and drifted, on either screen and half-way through a rotation, from photographs with detail
// down to the pixel.
TEST_F(KaleidoscopeRendererTest, TrianglesShowThePerPixelFold) {
    const std::string hubble =
        testsupport::sourceDir() + "/res/images/kaleidoscope_default/hubble_deep_field.jpg";
    std::vector<uint8_t> noise(200 * 320 * 3);
    uint32_t seed = 12345;
    for (uint8_t& value : noise) {
        seed = seed * 1664525u + 1013904223u;
        value = static_cast<uint8_t>(seed >> 24);
    }
    std::filesystem::create_directories(imageDir());
    const std::string portrait = imageDir() + "/noise.png";
    stbi_write_png(portrait.c_str(), 200, 320, 3, noise.data(), 200 * 3);

    RotationTransition halfway{};
    halfway.fractionSmoothed = halfway.fractionSnapped = 0.5f;
    halfway.angleSmoothed = halfway.angleSnapped = kPi / 4.0f;
    const uint32_t segments[] = {1, 2, 3, 5, 7};
    const float rolls[] = {0.0f, 0.7f, 2.9f, 5.5f};
    const float mirrors[] = {0.0f, 0.5f, 0.3f};
    const float zooms[] = {1.0f, 3.0f, 6.0f};
    int cases = 0;
    PerPixelFold perPixel;
    for (const auto& [width, height] : {std::pair{320u, 180u}, std::pair{180u, 320u}}) {
        useTarget(width, height);
        Renderer renderer(width, height);
        renderer.setBlend(1.0f);
        for (const std::string& image : {hubble, portrait}) {
            perPixel.load(image);
            for (int i = 0; i < 10; ++i, ++cases) {
                RenderState state = makeState(width, height, image);
                if (i >= 5) {
                    state.camera.update(halfway);
                }
                KaleidoscopeParameters& p = state.parameters;
                p.segments = segments[i % 5];
                p.angleRoll = rolls[cases % 4];
                p.mirror = mirrors[cases % 3];
                p.zoom = zooms[(cases / 2) % 3];
                p.textureOffset = {0.37f * static_cast<float>(cases % 3), 0.0f, 0.011f * cases};
                drawFrame(renderer, state);
                const std::vector<uint8_t> triangles = pixels();
                perPixel.draw(state, width, height);
                readBack();
                int compared = 0;
                int differing = 0;
                for (uint32_t y = 0; y < height; ++y) {
                    for (uint32_t x = 0; x < width; ++x) {
                        if (!nearFoldEdge(state, width, height, x, y)) {
                            const size_t at = (y * width + x) * 4;
                            ++compared;
                            differing += std::abs(triangles[at] - pixels()[at]) > 2 ||
                                         std::abs(triangles[at + 1] - pixels()[at + 1]) > 2 ||
                                         std::abs(triangles[at + 2] - pixels()[at + 2]) > 2;
                        }
                    }
                }
                ASSERT_GT(compared, static_cast<int>(width * height / 2));
                EXPECT_LE(differing, compared / 1000)
                    << width << "x" << height << ", " << segments[i % 5] << " segments"
                    << (i >= 5 ? ", turning, " : ", ") << image;
            }
        }
    }
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

    for (const auto& [path, channels] : {std::pair{writeImage("grey_alpha.png", 8, 8, 2), 2},
                                         {writeFile("corrupt.jpg", "not a picture at all"), 0},
                                         {imageDir() + "/missing.png", 0}}) {
        log.clear();
        drawFrame(renderer, makeState(32, 32, path));
        EXPECT_EQ(pixels(), good) << path;
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
    renderer.setBlend(0.5f);
    drawFrame(renderer, state);
    const Rgba half = pixel(16, 16);
    EXPECT_NEAR(half.r, full.r / 2, 3);
    EXPECT_NEAR(half.b, full.b / 2 + 128, 3);
}

// The next photograph goes up a little every frame, so that no frame stalls on it. (That it then
// looks as one loaded on the spot, whatever unpack layout the host left, the reference pictures
// and the shared-context lap show.)
TEST_F(KaleidoscopeRendererTest, AStagedPhotographGoesUpOverSeveralFrames) {
    constexpr uint32_t kSize = 128;
    useTarget(kSize, kSize);
    const std::string photos = testsupport::sourceDir() + "/res/images/kaleidoscope_default/";
    const RenderState first = makeState(kSize, kSize, photos + "coffee.jpg");
    const RenderState next = makeState(kSize, kSize, photos + "astronaut.jpg");
    ImageLoader loader;
    Renderer renderer(kSize, kSize);
    renderer.setBlend(1.0f);
    renderer.setImageLoader(&loader);
    loader.request(next.imagePath);
    int frames = 0;
    for (; frames < 600 && !renderer.isNextImageUp(); ++frames) {
        drawFrame(renderer, first);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(renderer.isNextImageUp()) << "not staged after " << frames << " frames";
    EXPECT_GT(frames, 4) << "a photograph with its levels goes up over several frames";
    drawFrame(renderer, next);
    EXPECT_FALSE(renderer.isNextImageUp());
}
