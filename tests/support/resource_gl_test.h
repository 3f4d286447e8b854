// A GL test with the resource directory of the source tree, so what it draws loads the committed
// images.
#pragma once

#include <filesystem>
#include <string>

#include "support/gl_test.h"
#include "support/test_output.h"
#include "visualization/util/system/fs.h"

namespace testsupport {

class ResourceGlTest : public GlTest {
protected:
    using GlTest::GlTest;
    void SetUp() override {
        GlTest::SetUp();
        mSavedResourcePath = fs::getResourcePath();
        // The resource path loses a leading slash when stored, so hand it a relative one.
        const std::string res = std::filesystem::relative(testsupport::sourceDir() + "/res");
        fs::setResourcePath(res.c_str());
    }
    void TearDown() override {
        fs::setResourcePath(mSavedResourcePath.c_str());
        GlTest::TearDown();
    }

    // Brightness of a pixel of the last read-back, 0 to 765.
    int light(uint32_t x, uint32_t y) const {
        const Rgba c = pixel(x, y);
        return c.r + c.g + c.b;
    }

private:
    std::string mSavedResourcePath;
};

}  // namespace testsupport
