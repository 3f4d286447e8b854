// The one headless GL fixture of the suite: a process-wide OpenGL ES 3 context on Mesa's
// surfaceless EGL platform, an offscreen target per test, read-back helpers, and a check after
// every test that no GL error is left pending.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "headless_gl.h"

namespace testsupport {

// Whether frames are slow here: under the sanitizers a frame costs five to ten times as much, under
// qemu's emulation of ARM fifty. The long runs through many instances are shortened there (they
// run in full in the native suite).
#if defined(VIZ_SANITIZED) || defined(VIZ_EMULATED)
inline constexpr bool kSlowFrames = true;
#else
inline constexpr bool kSlowFrames = false;
#endif
// Where frames are slow, a walk over many alike cases takes `taken` of the `count` in turn from
// the one this run starts at, another one every run (failures name their case), so that all of
// them come round over a few runs; elsewhere all of them.
inline uint32_t firstTaken(uint32_t count, uint32_t taken) {
    return kSlowFrames && taken < count ? uint32_t(std::time(nullptr) % count) : 0;
}

// A death test in its own style runs the program again for the child, which fails under qemu's
// user-mode emulator (the kernel cannot start an ARM program itself); there the child is a fork.
#ifdef VIZ_EMULATED
inline constexpr const char* kDeathTestStyle = "fast";
#else
inline constexpr const char* kDeathTestStyle = "threadsafe";
#endif

struct Rgba {
    uint8_t r, g, b, a;
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};
std::ostream& operator<<(std::ostream& out, const Rgba& c);

// True when every channel is within `tolerance` of the expected value.
bool near(const Rgba& actual, const Rgba& expected, int tolerance = 2);

// How many pixels of two equally sized RGBA read-backs differ by more than `threshold` summed
// over red, green and blue.
int differingPixels(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                    int threshold = 24);

// The shared context, created on first use. Fails the calling test when it cannot be made.
bool ensureGlContext();

class GlTest : public ::testing::Test {
protected:
    // Fixtures that draw at one size name it here instead of binding a target in their own SetUp.
    explicit GlTest(uint32_t width = 64, uint32_t height = 64) : mWidth(width), mHeight(height) {}
    void SetUp() override;
    void TearDown() override;

    // Binds a new offscreen target of this size (replacing the previous one).
    void useTarget(uint32_t width, uint32_t height);
    // Clears colour and depth to an opaque colour, as every drawing test starts its frame.
    static void clearTo(float r, float g, float b);
    // Reads the whole target back (top row first) into pixels().
    void readBack();
    // Pixels of the last read-back farther than `threshold` (summed over red, green and blue) from
    // black: what a drawing test on a black background counts as drawn.
    int litPixels(int threshold = 0) const;
    Rgba pixel(uint32_t x, uint32_t y) const;  // (0, 0) is the top-left pixel
    const std::vector<uint8_t>& pixels() const { return mPixels; }
    // Writes the last read-back to test-output/<name>.png and returns the path.
    std::string savePng(const std::string& name) const;

    const uint32_t mWidth, mHeight;
    std::unique_ptr<headless::Target> mTarget;
    std::vector<uint8_t> mPixels;
};

}  // namespace testsupport
