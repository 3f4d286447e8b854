// The diagnostic build of the shared object: the same ten functions, plus the analyzer view and
// the band recorder, switched on by the environment when the instance is created.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "library/library_api.h"
#include "support/log_capture.h"
#include "support/test_output.h"

using testsupport::LogCapture;

namespace {

constexpr uint32_t kWidth = 1920;
constexpr uint32_t kHeight = 1080;
constexpr int kFrames = 12;  // 0.2 s: the intro's pause, when the picture is the clear colour

class DiagnosticLibrary : public testsupport::LibraryTest {
protected:
    void TearDown() override {
        unsetenv("VISUALIZATION_ANALYZER");
        unsetenv("VISUALIZATION_RECORD_BANDS");
        LibraryTest::TearDown();
    }

    // The same start, clock and music through `library`; the last frame read back.
    std::vector<uint8_t> play(const vizhost::LibraryApi& library) {
        platform_clock_set_manual(5'000'000'000LL);
        library.updateSpeakerInfo(0);
        library.onCreateGlApp("res", 0);
        std::vector<float> bands(16);
        for (int f = 0; f < kFrames; ++f) {
            for (size_t b = 0; b < bands.size(); ++b) {
                bands[b] = -100.0f + float((b * 7 + size_t(f) * 3) % 80);
            }
            const BandsInfo info{uint32_t(bands.size()), bands.data()};
            library.updateBandsInfo(&info);
            platform_clock_advance(kFrameNs);
            library.onUpdateGlApp();
            EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "frame " << f;
        }
        readBack();
        library.onTerminateGlApp();
        return pixels();
    }

    // Pixels of the rectangle [x0, x1) × [y0, y1) (top-left origin) that differ between a and b.
    static size_t differing(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                            uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1) {
        size_t count = 0;
        for (uint32_t y = y0; y < y1; ++y) {
            for (uint32_t x = x0; x < x1; ++x) {
                const size_t i = (size_t(y) * kWidth + x) * 4;
                count += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2];
            }
        }
        return count;
    }
};

// Without the variables the diagnostic build draws what the release build draws.
TEST_F(DiagnosticLibrary, DrawsTheAnalyzerOverThePictureAndRecordsTheBandsWhenAsked) {
    useTarget(kWidth, kHeight);
    const std::vector<uint8_t> release = play(api);
    vizhost::LoadedLibrary diagnostic;
    std::string error;
    ASSERT_TRUE(diagnostic.load(testsupport::diagnosticsLibraryPath(), error)) << error;
    {
        LogCapture log;
        EXPECT_EQ(play(diagnostic.api()), release);
        EXPECT_TRUE(log.contains(
            "[Diagnostics][fromEnvironment] VISUALIZATION_ANALYZER not set: no analyzer view"));
        EXPECT_TRUE(log.matching("[BandsInfoRecorder]").empty());
    }

    const testsupport::ScratchDirectory scratch("diagnostic-bands");
    const std::string recording = scratch / "bands.txt";
    setenv("VISUALIZATION_ANALYZER", "1", 1);
    setenv("VISUALIZATION_RECORD_BANDS", recording.c_str(), 1);
    LogCapture log;
    const std::vector<uint8_t> analyzed = play(diagnostic.api());
    savePng("diagnostic_library_analyzer");

    EXPECT_TRUE(
        log.contains("[Diagnostics][fromEnvironment] VISUALIZATION_ANALYZER=1: analyzer view"));
    EXPECT_TRUE(log.contains("[Diagnostics][fromEnvironment] VISUALIZATION_RECORD_BANDS=" +
                             recording + ": recording the bands"));
    // The panels fill the bottom 405 rows; above them, away from the frame-rate graph in the top
    // right corner, the picture is the release library's.
    EXPECT_EQ(differing(release, analyzed, 0, 0, kWidth - 200, kHeight - 420), 0u);
    EXPECT_GT(differing(release, analyzed, 0, kHeight - 405, kWidth, kHeight),
              size_t(kWidth) * 405 / 2);
    // The frame-rate graph's box: black at half alpha behind its text.
    EXPECT_EQ(differing(release, analyzed, kWidth - 130, 0, kWidth, 50), 130u * 50u);

    // Every frame's bands differ: one line each.
    std::ifstream in(recording);
    EXPECT_EQ(std::count(std::istreambuf_iterator<char>(in), {}, '\n'), kFrames);
}

}  // namespace
