// Textures made from image assets written here as PNG files with 1, 2, 3 and 4 channels, odd row
// lengths among them, decoded through the resource directory: what they take of the image and
// what they log. What they look like drawn is in the reference pictures.
#include "visualization/util/gl/texture_2d.h"

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <filesystem>
#include <string>
#include <vector>

#include "gl/util/gl/gl_state.h"
#include "support/log_capture.h"
#include "support/test_output.h"
#include "visualization/util/system/fs.h"

namespace {

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
        std::filesystem::create_directories(mAssets + "/images");
        fs::setResourcePath(mAssets.c_str());
    }

    void TearDown() override {
        fs::setResourcePath("");
        GlLayerTest::TearDown();
    }

    // An image of one grey level, rows tightly packed.
    std::string writePng(const std::string& name, int width, int height, int channels) {
        const std::string relative = "images/" + name + ".png";
        const std::string path = mAssets + "/" + relative;
        const std::vector<uint8_t> bytes(static_cast<size_t>(width * height * channels), 99);
        EXPECT_NE(
            stbi_write_png(path.c_str(), width, height, channels, bytes.data(), width * channels),
            0);
        return relative;
    }

    testsupport::ScratchDirectory mScratch{"gl-texture-assets"};
    const std::string mAssets = mScratch.relative();  // fs keeps the resource path relative
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
        const std::string path = writePng("asset" + std::to_string(index++), 5, 3, c.channels);
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
        EXPECT_EQ(texture->width, 5u);
        gl::deleteTexture2d(texture);
    }
}

TEST_F(GlTexture2dTest, UnusableAssetsGiveTheLoggedFallback) {
    const std::string path = writePng("gray_alpha", 2, 2, 2);
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
}

}  // namespace
