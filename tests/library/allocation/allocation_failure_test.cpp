// Memory running out anywhere in the library, as a TV host would meet it: the N-th allocation of
// the library's own code throws std::bad_alloc, for N sampled across the creation of an instance,
// its first frames, track changes into every family, and on the photograph worker. Whatever
// fails, the host's call returns, one line names the function and the exception, the instance is
// gone with every GL object it had made, and UpdateSpeakerInfo and a frame build a new one.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "gl_object_counter.h"
#include "library/allocation/failing_new.h"
#include "library/library_api.h"
#include "support/log_capture.h"

using testsupport::LogCapture;

namespace {

constexpr long long kStepNs = 99'000'000;  // the longest frame that still advances the picture
constexpr int kIntroFrames = 47;           // 4.6 s: the intro, during which track changes wait
const std::string kFailure =
    "exception \"std::bad_alloc\"; the instance is deleted, UpdateSpeakerInfo builds a new one";
const char* const kFamilies[] = {"2020", "CUBES", "RING", "LINES", "KALEIDOSCOPE"};
// Under the sanitizers a point costs ten times as much; fewer keep the run under a minute.
constexpr uint64_t kThinning = testsupport::kSlowFrames ? 4 : 1;

std::string family(const std::string& mode) {
    for (const char* name : kFamilies) {
        if (mode.find(name) != std::string::npos) {
            return name;
        }
    }
    return mode;
}

// The point-th of `points` allocations spread over 1..allocations, each moved into its stride by
// a different amount, so that the points do not fall into step with a repeating pattern; where
// frames are slow, moved on further every run.
uint64_t spread(uint64_t point, uint64_t points, uint64_t allocations) {
    const uint64_t stride = std::max<uint64_t>(allocations / points, 1);
    return 1 + point * stride + (point * 37 + testsupport::firstTaken(stride, 1)) % stride;
}

// How many points of creation to try: VIZ_CREATION_POINTS=100000 tries every allocation (two to
// three minutes), for a change to the building of contents or renderers.
uint64_t creationPoints(uint64_t allocations) {
    const char* points = std::getenv("VIZ_CREATION_POINTS");
    return std::min<uint64_t>(points != nullptr ? std::strtoull(points, nullptr, 10)
                                                : (testsupport::kSlowFrames ? 25 : 200),
                              allocations);
}

class AllocationFailure : public testsupport::LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        api.onCreateGlApp("res", 0);
        mNoInstance = soak::liveGlObjects();
    }

    // Frames of 99 ms with bands, so that few calls cover seconds of music.
    void play(int frames) {
        for (int i = 0; i < frames; ++i) {
            sendBeatingBands(6);
            platform_clock_advance(kStepNs - kFrameNs);  // frame() adds the rest
            frame();
        }
    }

    // A new instance, built by the next frame as a host builds one.
    void build() {
        api.updateSpeakerInfo(0);
        frame();
    }

    template <typename Part>
    static uint64_t allocationsOf(Part part) {
        failing_new::arm(0);
        part();
        return failing_new::disarm();
    }

    // After a failure: the one line, no error, no instance and none of its GL objects, and
    // nothing built again until the host asks.
    void expectContained(const LogCapture& log, size_t from, const std::string& where) {
        const std::vector<std::string> lines = log.matching(kFailure, from);
        ASSERT_EQ(lines.size(), 1u) << where;
        mFunctions.insert(lines[0].substr(0, lines[0].find(']', 9) + 1));
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << where;
        EXPECT_TRUE(log.matching("GL ERROR", from).empty()) << where;
        EXPECT_EQ(soak::liveGlObjects(), mNoInstance) << where << ": GL objects left behind";
        mNoInstance = soak::liveGlObjects();  // each point judged on its own
        const size_t after = log.lines().size();
        frame();
        EXPECT_TRUE(log.matching("[Visualization][Constructor]", after).empty()) << where;
    }

    // Lit pixels of a full-HD frame after three seconds of music.
    size_t litAfterThreeSeconds() {
        useTarget(1920, 1080);
        play(30);
        readBack();
        return size_t(litPixels());
    }

    // Counts the allocations `part` makes after `prepare`, then fails `points` of them spread
    // over that count, one per run of the two, and builds an instance that draws.
    template <typename Prepare, typename Part>
    void failAcross(const char* what, const LogCapture& log, uint64_t points, Prepare prepare,
                    Part part) {
        prepare();
        const uint64_t allocations = allocationsOf(part);
        api.onTerminateGlApp();
        ASSERT_GT(allocations, 10u) << "the library's allocations do not reach the replacement";
        points = points == 0 ? creationPoints(allocations) : points;
        for (uint64_t point = 0; point < points; ++point) {
            const uint64_t n = spread(point, points, allocations);
            prepare();
            const size_t from = log.lines().size();
            failing_new::arm(n);
            part();
            failing_new::disarm();
            ASSERT_TRUE(failing_new::fired()) << "allocation " << n << " of " << allocations;
            expectContained(log, from, std::string(what) + ", allocation " + std::to_string(n));
        }
        build();
        EXPECT_GT(litAfterThreeSeconds(), 1000u)
            << savePng(std::string("allocation_failure_after_") + what);
    }

    std::array<int64_t, soak::kGlObjectKinds> mNoInstance{};
    std::set<std::string> mFunctions;  // "[Library][<function>]" of the failures
};

TEST_F(AllocationFailure, InCreationTheHalfBuiltInstanceIsDeletedAndANewOneStarts) {
    LogCapture log;
    build();  // whatever runs once per process is done
    // Deleting allocates nothing, so it cannot fail half-way (in a destructor, which would end
    // the process).
    failing_new::arm(1);
    api.onTerminateGlApp();
    EXPECT_EQ(failing_new::disarm(), 0u) << "deleting an instance allocates";
    EXPECT_EQ(soak::liveGlObjects(), mNoInstance);

    failAcross(
        "creation", log, 0, [this] { api.updateSpeakerInfo(0); }, [this] { frame(); });
    EXPECT_EQ(mFunctions, std::set<std::string>{"[Library][OnUpdateGlApp]"});
}

// The first band frame and the intro allocate what a warm instance reuses.
TEST_F(AllocationFailure, InTheFirstFramesTheInstanceIsDeleted) {
    LogCapture log;
    build();  // whatever runs once per process is done
    play(kIntroFrames);
    api.onTerminateGlApp();
    failAcross(
        "first_frames", log, 12 / kThinning, [this] { build(); }, [this] { play(kIntroFrames); });
}

// A warm instance allocates only when a mode first outgrows the capacity its per-frame records
// were built with. So the failing allocation moves through the first few of each step, and a
// family whose frames allocate nothing (the cubes) has nothing to fail.
TEST_F(AllocationFailure, InTrackChangesIntoEveryFamilyTheInstanceIsDeleted) {
    LogCapture log;
    build();
    play(kIntroFrames);
    std::map<std::string, int> failures;
    std::map<std::string, uint64_t> allocations;
    std::string mode;
    size_t seen = 0;
    int total = 0;
    // Each step is a track change and 1.2 s of music, past the cross-fade, now and then with a
    // rotation.
    for (int step = 0; step < 16; ++step) {
        const size_t from = log.lines().size();
        failing_new::arm(step % kThinning == 0 ? 1 + step * 5 % 7 : 0);
        api.updateTrackChange();
        if (step % 9 == 4) {
            api.startRotatingDevice(1);
            api.updateRotationDegree(30.0f);
            api.updateRotationDegree(-1.0f);
        }
        play(12);
        const uint64_t made = failing_new::disarm();
        mode = log.lastMode(seen).empty() ? mode : log.lastMode(seen);
        seen = log.lines().size();
        allocations[family(mode)] += made;
        if (failing_new::fired()) {
            expectContained(log, from, "step " + std::to_string(step) + " in " + mode);
            ++failures[family(mode)];
            ++total;
            build();
            play(kIntroFrames);
        }
    }
    for (const char* name : kFamilies) {
        EXPECT_TRUE(allocations.count(name) > 0) << name << " never played";
        // Thinned, most steps only count: a family may allocate in those alone.
        EXPECT_TRUE(failures[name] > 0 || allocations[name] == 0 || kThinning > 1) << name;
    }
    EXPECT_GT(total, kThinning > 1 ? 0 : 6);
    EXPECT_GT(litAfterThreeSeconds(), 1000u) << savePng("allocation_failure_after_track_changes");
}

// The worker decodes the next photograph while the instance is built. When it cannot, the
// render thread says so once, loads that photograph itself when its mode comes, and the worker
// serves the next ones; the instance lives on and is deleted, worker joined, as usual.
TEST_F(AllocationFailure, OnThePhotographWorkerThePhotographIsSkipped) {
    LogCapture log;
    failing_new::arm(1, failing_new::Threads::Others);
    build();
    failing_new::disarm();
    ASSERT_TRUE(failing_new::fired());
    const std::string suffix = ": exception \"std::bad_alloc\"; photograph skipped";
    const std::vector<std::string> skipped = log.matching(suffix);
    ASSERT_EQ(skipped.size(), 1u);
    const std::string prefix = "[content2021][kaleidoscope][ImageLoader] ";
    ASSERT_EQ(skipped[0].rfind(prefix, 0), 0u) << skipped[0];
    const std::string path =
        skipped[0].substr(prefix.size(), skipped[0].size() - prefix.size() - suffix.size());

    failing_new::arm(0, failing_new::Threads::Others);
    play(kIntroFrames);
    std::vector<std::string> shown;
    for (int step = 0; step < 31 && shown.size() < 3; ++step) {
        const size_t from = log.lines().size();
        api.updateTrackChange();
        play(12);
        for (const std::string& line :
             log.matching("[Renderer][updateTexture] Asset path: ", from)) {
            shown.push_back(line.substr(line.find(": ") + 2));
        }
    }
    EXPECT_GT(failing_new::disarm(), 0u) << "the worker decodes the next photographs";
    ASSERT_GE(shown.size(), 3u) << "three kaleidoscope modes in a lap";
    EXPECT_EQ(shown[0], path) << "the skipped photograph is the first one shown";
    EXPECT_TRUE(log.matching("has invalid number of channels").empty());
    EXPECT_EQ(log.matching(suffix).size(), 1u);
    EXPECT_TRUE(log.matching(kFailure).empty());

    api.onTerminateGlApp();
    EXPECT_EQ(soak::liveGlObjects(), mNoInstance);
}

}  // namespace
