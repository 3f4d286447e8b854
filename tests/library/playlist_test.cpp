// The shuffled playlist as a host sees it: track changes walk through every mode, and each
// mode, once its cross-fade is over, draws its own sound-reactive picture.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "library/library_api.h"
#include "support/log_capture.h"

using testsupport::LogCapture;

namespace {

// Five video frames per call keeps dt under the 100 ms the library treats as a stall, and the
// test fast at full HD.
constexpr int kFramesPerCall = 5;
constexpr int kCallsPerMode = 14;  // 1.17 s: the 1 s cross-fade is over
const std::string kModeLine = "[ContentPlayer][setContentMode] Mode next: ";

class Playlist : public testsupport::LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        useTarget(1920, 1080);
    }

    void frame() {
        sendBeatingBands(kFramesPerCall);
        platform_clock_advance(kFramesPerCall * kFrameNs);
        api.OnUpdateGlApp();
        ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    // Distinct colours of the frame: an interim content or an empty mode shows one.
    size_t colourCount() {
        readBack();
        std::set<uint32_t> colours;
        const std::vector<uint8_t>& p = pixels();
        for (size_t i = 0; i + 3 < p.size() && colours.size() < 64; i += 4 * 7) {
            colours.insert(uint32_t(p[i]) << 24 | uint32_t(p[i + 1]) << 16 |
                           uint32_t(p[i + 2]) << 8 | p[i + 3]);
        }
        return colours.size();
    }
};

TEST_F(Playlist, TrackChangesVisitEveryModeAndEachModeDraws) {
    LogCapture log;
    api.OnCreateGlApp("res", 0);
    api.UpdateSpeakerInfo(0);
    // The intro and the speaker overlay are over after 7 s.
    for (int i = 0; i < 7 * 12; ++i) {
        frame();
    }

    std::set<std::string> visited;
    std::set<std::string> drawn;
    std::string current;
    size_t seen = 0;
    // The mode of the intro and then 30 track changes: one lap of the shuffled playlist.
    for (int change = 0; change <= 30; ++change) {
        if (change > 0) {
            api.UpdateTrackChange();
            for (int i = 0; i < kCallsPerMode; ++i) {
                frame();
            }
        }
        for (; seen < log.lines().size(); ++seen) {
            if (log.lines()[seen].rfind(kModeLine, 0) == 0) {
                current = log.lines()[seen].substr(kModeLine.size());
                EXPECT_TRUE(visited.insert(current).second) << current << " twice in one lap";
            }
        }
        // Sprites blend into many shades; flat cubes and thin ring lines may show one colour over
        // the background, where a mode that draws nothing shows none.
        if (colourCount() >= (current.rfind("CONTENT_2020_", 0) == 0 ? 8u : 2u)) {
            drawn.insert(current);
        }
        if (current == "CONTENT_2020_CIRCULAR_1" || current == "CONTENT_2021_CUBES_VERSION_1" ||
            current == "CONTENT_2021_RING_VERSION_0" || current == "CONTENT_2021_LINES_VERSION_0" ||
            current == "CONTENT_2021_KALEIDOSCOPE_VERSION_0") {
            savePng("library_playlist_" + current);
        }
    }
    api.OnTerminateGlApp();

    EXPECT_EQ(visited.size(), 31u);
    EXPECT_EQ(drawn, visited) << "every mode draws its own picture";
}

}  // namespace
