// Shared set-up of the kaleidoscope GL tests: a scratch resource directory below the build's test
// output (the resource path is kept relative) and photographs written into it; the contents are
// played as the other families' are.
#pragma once

#include <stb_image_write.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/content_gl_test.h"
#include "support/test_output.h"
#include "visualization/util/system/fs.h"

namespace kaleidotest {

class KaleidoscopeGlTest : public testsupport::ContentGlTest {
protected:
    void SetUp() override {
        ContentGlTest::SetUp();  // which puts the resource path back afterwards
        fs::setResourcePath(mRoot.c_str());
    }

    std::string imageDir() const { return mRoot + "/images/kaleidoscope_default"; }

    // A picture that differs everywhere: red across, green down, blue by `tint`. Returns the
    // path as the content lists it.
    std::string writeImage(const std::string& name, int width, int height, int channels = 3,
                           uint8_t tint = 0) {
        std::filesystem::create_directories(imageDir());
        std::vector<uint8_t> pixels(static_cast<size_t>(width * height * channels));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                uint8_t* p = &pixels[static_cast<size_t>((y * width + x) * channels)];
                const uint8_t values[4] = {static_cast<uint8_t>(255 * x / (width - 1)),
                                           static_cast<uint8_t>(255 * y / (height - 1)), tint, 255};
                for (int c = 0; c < channels; ++c) {
                    p[c] = values[c];
                }
            }
        }
        const std::string path = imageDir() + "/" + name;
        stbi_write_png(path.c_str(), width, height, channels, pixels.data(), width * channels);
        return path;
    }

    std::string writeFile(const std::string& name, const std::string& bytes) {
        std::filesystem::create_directories(imageDir());
        const std::string path = imageDir() + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    testsupport::ScratchDirectory mScratch{"kaleidoscope"};
    const std::string mRoot = mScratch.relative();
};

}  // namespace kaleidotest
