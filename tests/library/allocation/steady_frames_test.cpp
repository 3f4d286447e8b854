// A TV draws sixty frames a second for hours: once a mode is warm, its frames allocate nothing.
// Every mode of a lap of the playlist is played past its cross-fade, then its frames are counted
// as a host calls them: bands every frame, a rotation in one mode, then every sound class.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "library/allocation/failing_new.h"
#include "library/library_api.h"
#include "support/log_capture.h"

using testsupport::LogCapture;

namespace {

constexpr int kModes = 31;

class SteadyFrames : public testsupport::LibraryTest {
protected:
    void play(int frames) {
        for (int i = 0; i < frames; ++i) {
            sendBeatingBands(1);
            frame();
        }
    }
};

TEST_F(SteadyFrames, AllocateNothingInEveryMode) {
    if (testsupport::kSlowFrames) {
        // The count is the same under the sanitizers, only ten times slower to reach; every
        // mode's frames run under them in the shared-context lap.
        GTEST_SKIP() << "counted in the suite without the sanitizers";
    }
    LogCapture log;
    useTarget(320, 180);
    api.onCreateGlApp("res", 0);
    api.updateSpeakerInfo(0);
    std::map<std::string, uint64_t> allocations;
    size_t seen = 0;
    // The intro's mode, then track changes until every mode has played (a lap of the shuffled
    // playlist, give or take where the laps join).
    for (int step = 0; step < 2 * kModes && allocations.size() < kModes; ++step) {
        // Past the intro or the cross-fade, and long enough for a mode's records to reach the
        // sizes its music asks for.
        if (step == 0) {
            play(300);
        } else {
            api.updateTrackChange();
            play(150);
        }
        const std::string mode = log.lastMode(seen);
        seen = log.lines().size();
        ASSERT_FALSE(mode.empty()) << "step " << step << ": no mode line";

        failing_new::arm(0);
        for (int i = 0; i < 120; ++i) {
            sendBeatingBands(1);
            if (step == 7 && i == 60) {
                api.startRotatingDevice(1);
            }
            if (step == 7 && i > 60) {
                api.updateRotationDegree(static_cast<float>(i - 60) * 1.5f);
            }
            frame();
        }
        allocations[mode] += failing_new::disarm();
        if (step == 7) {
            api.updateRotationDegree(90.0f);
        }
    }
    EXPECT_EQ(allocations.size(), static_cast<size_t>(kModes)) << "every mode played";
    for (const auto& [mode, count] : allocations) {
        EXPECT_EQ(count, 0u) << mode << " allocated in 120 steady frames";
    }
    // Every sound class in turn, each long enough to pass the debounce and fade the palette.
    // (A sound class narrows the playlist, so the lap above plays without one.)
    failing_new::arm(0);
    for (int sound_class = 0; sound_class < 9; ++sound_class) {
        api.updateSoundClass(sound_class);
        play(200);
    }
    EXPECT_EQ(failing_new::disarm(), 0u) << "the sound classes allocated";
}

}  // namespace
