// Shared set-up of the overlay GL tests: the headless target plus the resource directory of the
// source tree, so the overlays load the committed images.
#pragma once

#include <filesystem>
#include <string>

#include "support/gl_test.h"
#include "visualization/util/system/fs.h"

namespace overlaytest {

class OverlayGlTest : public testsupport::GlTest {
protected:
    void SetUp() override {
        testsupport::GlTest::SetUp();
        mSavedResourcePath = fs::getResourcePath();
        // The resource path loses a leading slash when stored, so hand it a relative one.
        const std::string res = std::filesystem::relative(std::string(VIZ_SOURCE_DIR) + "/res");
        fs::setResourcePath(res.c_str());
    }
    void TearDown() override {
        fs::setResourcePath(mSavedResourcePath.c_str());
        testsupport::GlTest::TearDown();
    }

    // Brightness of a pixel of the last read-back, 0 to 765.
    int light(uint32_t x, uint32_t y) const {
        const testsupport::Rgba c = pixel(x, y);
        return c.r + c.g + c.b;
    }

private:
    std::string mSavedResourcePath;
};

}  // namespace overlaytest
