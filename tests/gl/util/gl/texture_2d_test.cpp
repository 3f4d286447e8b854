// Textures against GL: binding records per unit, and image assets written here as PNG files with
// 1, 2, 3 and 4 channels, decoded through the resource directory and sampled back by drawing them
// over the whole target.
#include "visualization/util/gl/texture_2d.h"

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "gl/util/gl/gl_state.h"
#include "support/log_capture.h"
#include "support/test_output.h"
#include "visualization/util/gl/shared_context.h"
#include "visualization/util/system/fs.h"

namespace {

using testsupport::Rgba;

const char* kQuadVertexSource = R"(#version 300 es
layout(location = 0) in vec2 aPosition;
out vec2 vUv;
void main() {
    // The image's first row at the top of the picture.
    vUv = vec2(aPosition.x * 0.5 + 0.5, 0.5 - aPosition.y * 0.5);
    gl_Position = vec4(aPosition, 0.0, 1.0);
}
)";

const char* kQuadFragmentSource = R"(#version 300 es
precision highp float;
uniform sampler2D uTexture;
in vec2 vUv;
out vec4 fragColor;
void main() {
    fragColor = texture(uTexture, vUv);
}
)";

struct Image {
    int width;
    int height;
    int channels;
    std::vector<uint8_t> bytes;  // top row first, tightly packed
};

Image testImage(int width, int height, int channels) {
    Image image{width, height, channels, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < channels; ++c) {
                image.bytes.push_back(static_cast<uint8_t>((x * 53 + y * 91 + c * 67 + 20) % 256));
            }
        }
    }
    return image;
}

// What sampling a texel gives for the texture's internal format.
Rgba expectedTexel(const Image& image, int x, int y, GLenum internalFormat) {
    const uint8_t* p = &image.bytes[(static_cast<size_t>(y) * image.width + x) * image.channels];
    switch (internalFormat) {
        case GL_LUMINANCE:
            return {p[0], p[0], p[0], 255};
        case GL_RGB:
            return {p[0], p[1], p[2], 255};
        default:
            return {p[0], p[1], p[2], p[3]};
    }
}

gl::Texture2dConfig nearest(GLenum format) {
    gl::Texture2dConfig config;
    config.format = config.internalFormat = format;
    config.minFilter = config.magFilter = GL_NEAREST;
    return config;
}

class GlTexture2dTest : public gltest::GlLayerTest {
protected:
    void SetUp() override {
        GlLayerTest::SetUp();
        // fs keeps the resource path relative to the working directory.
        mScratch = std::make_unique<testsupport::ScratchDirectory>("gl-texture-assets");
        mAssets = mScratch->relative();
        std::filesystem::create_directories(mAssets + "/images");
        fs::setResourcePath(mAssets.c_str());
        mProgram = gl::createProgram(kQuadVertexSource, kQuadFragmentSource, {});
    }

    void TearDown() override {
        gl::deleteProgram(mProgram);
        fs::setResourcePath("");
        mScratch.reset();
        GlLayerTest::TearDown();
    }

    std::string writePng(const std::string& name, const Image& image) {
        const std::string relative = "images/" + name + ".png";
        const std::string path = mAssets + "/" + relative;
        EXPECT_NE(stbi_write_png(path.c_str(), image.width, image.height, image.channels,
                                 image.bytes.data(), image.width * image.channels),
                  0);
        return relative;
    }

    // Draws the texture over the whole target and reads it back.
    void drawTexture(gl::Texture2d* texture) {
        glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glActiveTexture(GL_TEXTURE0);
        gl::bindTexture2d(texture);
        gl::bindProgram(mProgram);
        gl::uniform("uTexture", 0);
        gltest::drawPositions(mProgram, {-1, -1, 1, -1, -1, 1, 1, 1}, GL_TRIANGLE_STRIP);
        readBack();
    }

    // Every texel lands on its share of the target with the colour its format gives.
    void expectImage(const Image& image, GLenum internalFormat) {
        const uint32_t size = mTarget->width();
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                const uint32_t px = static_cast<uint32_t>((x + 0.5) * size / image.width);
                const uint32_t py = static_cast<uint32_t>((y + 0.5) * size / image.height);
                EXPECT_EQ(pixel(px, py), expectedTexel(image, x, y, internalFormat))
                    << "texel " << x << ", " << y;
            }
        }
    }

    std::unique_ptr<testsupport::ScratchDirectory> mScratch;
    std::string mAssets;
    gl::Program* mProgram = nullptr;
};

// A texture made from an asset takes the image's channels; where the config asked for others
// it is corrected, with two lines naming both formats and the asset.
TEST_F(GlTexture2dTest, ImageAssetsKeepTheirChannels) {
    const struct {
        int channels;
        GLenum requested, sampledAs;
    } cases[] = {
        {1, GL_LUMINANCE, GL_LUMINANCE}, {3, GL_RGB, GL_RGB},  // odd rows: 15 bytes each
        {4, GL_RGBA, GL_RGBA},           {4, GL_RGB, GL_RGBA}, {1, GL_RGBA, GL_LUMINANCE},
    };
    const auto name = [](GLenum format) -> std::string {
        return format == GL_RGB ? "GL_RGB" : format == GL_RGBA ? "GL_RGBA" : "GL_LUMINANCE";
    };
    int index = 0;
    for (const auto& c : cases) {
        const Image image = testImage(5, 3, c.channels);
        const std::string path = writePng("asset" + std::to_string(index++), image);
        SCOPED_TRACE(path);
        testsupport::LogCapture log;
        gl::Texture2d* texture = gl::createTexture2d(path.c_str(), nearest(c.requested));
        std::vector<std::string> expected;
        if (c.requested != c.sampledAs) {
            expected = {"[Texture2D][validateImageDataNumChannels] Image data channel format " +
                            name(c.sampledAs) + " not matching desired format " +
                            name(c.requested) + ". Switching to image data format.\n",
                        "[Texture2D][createTexture2d] Config format corrected, image asset: " +
                            path + "\n"};
        }
        EXPECT_EQ(log.lines(), expected);
        EXPECT_EQ(texture->config.internalFormat, c.sampledAs);
        drawTexture(texture);
        expectImage(image, c.sampledAs);
        gl::deleteTexture2d(texture);
    }
    savePng("gl_textured_quad");
}

TEST_F(GlTexture2dTest, UnusableAssetsGiveTheLoggedFallback) {
    const std::string path = writePng("gray_alpha", testImage(2, 2, 2));
    testsupport::LogCapture log;
    gl::Texture2d* texture = gl::createTexture2d(path.c_str(), nearest(GL_LUMINANCE_ALPHA));
    EXPECT_EQ(log.lines(),
              (std::vector<std::string>{
                  "[Texture2D][validateImageDataChannels] Unsupported num channels 2\n",
                  "[Texture2D][createTexture2d] Unsupported num channels, image asset: "
                  "images/gray_alpha.png\n"}));
    EXPECT_EQ(texture->width, 1u);
    EXPECT_EQ(texture->config.minFilter, static_cast<GLenum>(GL_LINEAR)) << "a default config";
    gl::deleteTexture2d(texture);

    log.clear();
    const std::string full = mAssets + "/images/missing.png";
    texture = gl::createTexture2d("images/missing.png", nearest(GL_RGBA));
    EXPECT_EQ(log.lines(),
              (std::vector<std::string>{
                  "[fs] Binary could not be loaded: " + full + "\n",
                  "[fs] Error loading texture data: " + full + "\n",
                  "[Texture2D][validateImageDataChannels] Unsupported num channels 0\n",
                  "[Texture2D][createTexture2d] Unsupported num channels, image asset: "
                  "images/missing.png\n"}));
    EXPECT_EQ(texture->width, 1u);
    gl::deleteTexture2d(texture);
}

}  // namespace
