// The shared object as a host sees it: loaded with dlopen, reached through its ten functions.
// Each LibraryApi loads a fresh copy, so module state does not leak between tests.
#pragma once

#include <GLES3/gl3.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "platform.h"
#include "support/gl_test.h"
#include "visualization/library.h"

namespace testsupport {

struct LibraryApi {
    explicit LibraryApi(const char* path = VIZ_LIBRARY_PATH);
    ~LibraryApi();
    LibraryApi(const LibraryApi&) = delete;
    LibraryApi& operator=(const LibraryApi&) = delete;

    bool loaded() const { return handle != nullptr; }

    void* handle = nullptr;
    std::string error;
    decltype(&::OnCreateGlApp) OnCreateGlApp = nullptr;
    decltype(&::OnTerminateGlApp) OnTerminateGlApp = nullptr;
    decltype(&::OnUpdateGlApp) OnUpdateGlApp = nullptr;
    decltype(&::UpdateTrackChange) UpdateTrackChange = nullptr;
    decltype(&::UpdateBandsInfo) UpdateBandsInfo = nullptr;
    decltype(&::UpdateBeatsInfo) UpdateBeatsInfo = nullptr;
    decltype(&::UpdateSoundClass) UpdateSoundClass = nullptr;
    decltype(&::StartRotatingDevice) StartRotatingDevice = nullptr;
    decltype(&::UpdateRotationDegree) UpdateRotationDegree = nullptr;
    decltype(&::UpdateSpeakerInfo) UpdateSpeakerInfo = nullptr;
};

// A fresh copy of the library on the manual clock, finding its resources in the source tree.
class LibraryTest : public GlTest {
protected:
    static constexpr long long kFrameNs = 16'666'667;

    void SetUp() override {
        GlTest::SetUp();
        ASSERT_EQ(chdir(VIZ_SOURCE_DIR), 0);
        platform_clock_set_manual(5'000'000'000LL);
        ASSERT_TRUE(api.loaded()) << api.error;
    }
    void TearDown() override {
        api.OnTerminateGlApp();
        platform_clock_set_real();
        GlTest::TearDown();
    }
    // One frame of a 60 Hz host, after which no GL error may be pending.
    void frame() {
        platform_clock_advance(kFrameNs);
        api.OnUpdateGlApp();
        ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    LibraryApi api;
};

}  // namespace testsupport
