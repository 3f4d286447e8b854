#include "support/gl_test.h"

#include <GLES3/gl3.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include "support/test_output.h"

namespace testsupport {

std::ostream& operator<<(std::ostream& out, const Rgba& c) {
    return out << "rgba(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ", " << int(c.a)
               << ")";
}

int differingPixels(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int threshold) {
    int n = 0;
    for (size_t i = 0; i + 2 < a.size() && i + 2 < b.size(); i += 4) {
        const int d =
            std::abs(a[i] - b[i]) + std::abs(a[i + 1] - b[i + 1]) + std::abs(a[i + 2] - b[i + 2]);
        n += d > threshold ? 1 : 0;
    }
    return n;
}

bool near(const Rgba& actual, const Rgba& expected, int tolerance) {
    auto close = [tolerance](uint8_t a, uint8_t b) {
        return std::abs(int(a) - int(b)) <= tolerance;
    };
    return close(actual.r, expected.r) && close(actual.g, expected.g) &&
           close(actual.b, expected.b) && close(actual.a, expected.a);
}

bool ensureGlContext() {
    // Never destroyed: the context lives for the whole test process, like a host's.
    static headless::Context* context = nullptr;
    static std::string failure;
    if (context == nullptr && failure.empty()) {
        auto* made = new headless::Context();
        if (made->create()) {
            context = made;
        } else {
            failure = made->error();
            delete made;
        }
    }
    if (context == nullptr) {
        ADD_FAILURE() << "no headless GL context: " << failure;
        return false;
    }
    return true;
}

void GlTest::SetUp() {
    ASSERT_TRUE(ensureGlContext());
    while (glGetError() != GL_NO_ERROR) {
    }
    useTarget(mWidth, mHeight);
}

void GlTest::TearDown() {
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "GL error left pending";
    mTarget.reset();
}

void GlTest::useTarget(uint32_t width, uint32_t height) {
    mTarget.reset();
    mTarget = std::make_unique<headless::Target>(width, height);
    ASSERT_TRUE(mTarget->complete());
    mTarget->bind();
    glViewport(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height));
}

void GlTest::clearTo(float r, float g, float b) {
    glClearColor(r, g, b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void GlTest::readBack() {
    mTarget->read(mPixels);
}

int GlTest::litPixels(int threshold) const {
    return differingPixels(mPixels, std::vector<uint8_t>(mPixels.size()), threshold);
}

Rgba GlTest::pixel(uint32_t x, uint32_t y) const {
    const size_t at = (static_cast<size_t>(y) * mTarget->width() + x) * 4;
    return Rgba{mPixels[at], mPixels[at + 1], mPixels[at + 2], mPixels[at + 3]};
}

std::string GlTest::savePng(const std::string& name) const {
    std::filesystem::create_directories(testOutputDir());
    const std::string path = testsupport::testOutputDir() + "/" + name + ".png";
    headless::writePng(path, mTarget->width(), mTarget->height(), mPixels.data());
    return path;
}

}  // namespace testsupport
