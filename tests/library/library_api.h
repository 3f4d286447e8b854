// The shared object as a host sees it: loaded with dlopen, reached through its ten functions,
// afresh for every test, so that module state does not leak between tests.
#pragma once

#include <GLES3/gl3.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "host/library_api.h"
#include "platform.h"
#include "support/gl_test.h"
#include "support/test_output.h"
#include "visualization/library.h"

namespace testsupport {

// The release and the diagnostic shared objects of this build.
const char* libraryPath();
const char* diagnosticsLibraryPath();

// A fresh copy of the library on the manual clock, finding the source tree's resources as "res"
// from the build's test output.
class LibraryTest : public GlTest {
protected:
    static constexpr long long kFrameNs = 16'666'667;

    void SetUp() override {
        GlTest::SetUp();
        ASSERT_TRUE(enterTestOutput());
        platform_clock_set_manual(5'000'000'000LL);
        std::string error;
        ASSERT_TRUE(mLibrary.load(libraryPath(), error)) << error;
    }
    void TearDown() override {
        if (api.onTerminateGlApp != nullptr) {
            api.onTerminateGlApp();
        }
        platform_clock_set_real();
        GlTest::TearDown();
    }
    // One frame of a 60 Hz host, after which no GL error may be pending.
    void frame() {
        platform_clock_advance(kFrameNs);
        api.onUpdateGlApp();
        ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    // Bands of half-second beats over a slowly swelling spectrum, `frames` video frames on from
    // the last ones sent.
    void sendBeatingBands(int frames) {
        mMusicTime += frames / 60.0f;
        for (size_t b = 0; b < mBands.size(); ++b) {
            const float beat = std::fmod(mMusicTime, 0.5f) < 0.05f ? 25.0f : 0.0f;
            mBands[b] = -80.0f + beat + 40.0f * (0.5f + 0.5f * std::sin(mMusicTime * 3.0f + b));
        }
        BandsInfo info{static_cast<uint32_t>(mBands.size()), mBands.data()};
        api.updateBandsInfo(&info);
    }

    vizhost::LoadedLibrary mLibrary;
    const vizhost::LibraryApi& api = mLibrary.api();
    std::vector<float> mBands = std::vector<float>(16);
    float mMusicTime = 0.0f;
};

}  // namespace testsupport
