// The creation rule and the C boundary, through the shared object's ten functions only.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "library/library_api.h"
#include "support/log_capture.h"

using testsupport::LogCapture;

namespace {

constexpr int32_t kLandscape = 0;
constexpr int32_t kPortrait = 1;
constexpr int32_t kTV1 = 0;
constexpr int32_t kKiro = 9;

class Library : public testsupport::LibraryTest {
protected:
    void sendBands(uint32_t count, const float* data) {
        BandsInfo info{count, data};
        api.updateBandsInfo(&info);
    }
    size_t instancesCreated(const LogCapture& log) const {
        return log.matching("[Visualization][Constructor] Begin").size();
    }
};

TEST_F(Library, CreationWaitsForPathAndSpeakerAndLogsEachStep) {
    LogCapture log;
    api.onCreateGlApp("res", kLandscape);
    api.updateSpeakerInfo(kKiro);
    EXPECT_EQ(instancesCreated(log), 0u) << "UpdateSpeakerInfo does not create";
    frame();
    EXPECT_EQ(instancesCreated(log), 1u);
    frame();
    api.onTerminateGlApp();

    const std::vector<std::string> expected = {
        "[Library][OnCreateGlApp] Begin",
        "[Library][OnCreateGlApp] resPath: res",
        "[Library][OnCreateGlApp] rotationInfo: Landscape",
        "[Library][OnCreateGlApp] End",
        "[Library][UpdateSpeakerInfo] Begin",
        "[Library][UpdateSpeakerInfo] curSpeakerInfo: Kiro",
        "[Library][UpdateSpeakerInfo] End",
        "[Library][createInstanceOnSpeakerInfoSet] Begin",
        "[Library][createInstance] Begin",
        "[Library][createInstance] End",
        "[Library][createInstanceOnSpeakerInfoSet] End",
        "[Library][OnTerminateGlApp] Begin",
        "[Library][deleteInstance] Begin",
        "[Library][deleteInstance] End",
        "[Library][OnTerminateGlApp] End",
    };
    EXPECT_EQ(log.matching("[Library]"), expected);

    const std::vector<std::string> visualization = {
        "[Visualization][Constructor] Begin",
        "[Visualization][Constructor] Path Assets:         res",
        "[Visualization][Constructor] Orientation:         Landscape",
        "[Visualization][Constructor] Speaker:             Kiro",
        "[Visualization][Constructor] Display Mode:        DEFAULT",
        "[Visualization][Constructor] Populate Spectrum Data, begin",
        "[Visualization][Constructor] Populate Spectrum Data, end",
        "[Visualization][Constructor] End",
        "[Visualization][Destructor] Begin",
        "[Visualization][Destructor] End",
    };
    EXPECT_EQ(log.matching("[Visualization]"), visualization);
    EXPECT_TRUE(log.allTagged());
}

// Without a path the speaker flag is consumed and nothing is built; terminated, the instance comes
// back with the next speaker info in the orientation of OnCreateGlApp, not the one the device was
// rotated to; speaker info first builds inside OnCreateGlApp, and a second OnCreateGlApp while
// the instance lives only replaces path and rotation.
TEST_F(Library, TheCreationRuleInEveryOrder) {
    LogCapture log;
    api.updateSpeakerInfo(kTV1);
    frame();
    EXPECT_TRUE(log.contains("[Library][createInstanceOnSpeakerInfoSet] Begin"));
    api.onCreateGlApp("res", kLandscape);
    frame();
    EXPECT_EQ(instancesCreated(log), 0u);
    api.updateSpeakerInfo(kTV1);
    frame();
    EXPECT_EQ(instancesCreated(log), 1u);

    api.startRotatingDevice(kPortrait);
    EXPECT_TRUE(log.contains("[Library][StartRotatingDevice] toRotateInfo: Portrait"));
    EXPECT_TRUE(
        log.contains("[Visualization][startRotationTransition] Transition to Portrait started"));
    api.onTerminateGlApp();
    frame();
    EXPECT_EQ(instancesCreated(log), 1u) << "no speaker info since the last creation";
    api.updateSpeakerInfo(kTV1);
    frame();
    EXPECT_EQ(instancesCreated(log), 2u);
    EXPECT_EQ(log.matching("Orientation:         Landscape").size(), 2u);

    api.onTerminateGlApp();
    api.updateSpeakerInfo(kTV1);
    api.onCreateGlApp("res", kPortrait);
    EXPECT_EQ(instancesCreated(log), 3u);
    EXPECT_TRUE(log.contains("[Visualization][Constructor] Orientation:         Portrait"));
    api.onCreateGlApp("other", kLandscape);
    frame();
    EXPECT_EQ(instancesCreated(log), 3u);
}

// A host that sends before the instance exists does so every frame: it hears of it once per
// function, and once again after the instance has been and gone.
TEST_F(Library, CallsThatNeedAnInstanceAreDroppedWithOneLineEachWithoutOne) {
    LogCapture log;
    const float bands[4] = {-50, -40, -30, -20};
    // Every call that needs an instance, then a frame, `frames` times over.
    auto sendAll = [&](int frames) {
        for (int i = 0; i < frames; ++i) {
            sendBands(4, bands);
            api.updateSoundClass(1);
            api.startRotatingDevice(kPortrait);
            api.updateRotationDegree(45.0f);
            api.updateTrackChange();
            api.updateBeatsInfo(7);
            frame();
        }
    };
    const std::string why =
        " no instance to take it; dropped (reported once until an instance "
        "exists)";
    const std::vector<std::string> dropped = {
        "[Library][UpdateBandsInfo]" + why,     "[Library][UpdateSoundClass]" + why,
        "[Library][StartRotatingDevice]" + why, "[Library][UpdateRotationDegree]" + why,
        "[Library][UpdateTrackChange]" + why,
    };
    frame();
    EXPECT_TRUE(log.lines().empty()) << "a frame without an instance logs nothing";
    sendAll(3);
    EXPECT_EQ(log.matching("no instance"), dropped);
    EXPECT_EQ(instancesCreated(log), 0u);

    api.onCreateGlApp("res", kLandscape);
    api.updateSpeakerInfo(kTV1);
    frame();
    log.clear();
    sendAll(1);
    EXPECT_TRUE(log.matching("no instance").empty());
    EXPECT_TRUE(
        log.contains("[Visualization][startRotationTransition] Transition to Portrait "
                     "started"));

    api.onTerminateGlApp();
    log.clear();
    sendAll(3);
    EXPECT_EQ(log.matching("no instance"), dropped);
}

// A host that replays time moves the clock backwards; that must read as a pause, not as time
// running backwards: 100 steps of +16 ms and -15 ms are 1.6 s of intro, past its idle part.
TEST_F(Library, FaultyHostValuesAreLoggedAndDroppedAndABackwardClockPauses) {
    api.onCreateGlApp("res", kLandscape);
    api.updateSpeakerInfo(kTV1);
    frame();
    LogCapture log;
    for (int i = 0; i < 100; ++i) {
        platform_clock_advance(16'000'000);
        api.onUpdateGlApp();
        platform_clock_advance(-15'000'000);
        api.onUpdateGlApp();
    }
    EXPECT_EQ(log.matching("Switched playback mode from INTRO_IDLE to INTRO_FADE_IN").size(), 1u);
    log.clear();
    api.onCreateGlApp(nullptr, kLandscape);
    api.updateSoundClass(42);
    api.startRotatingDevice(7);
    api.updateBandsInfo(nullptr);
    BandsInfo nullData{4, nullptr};
    api.updateBandsInfo(&nullData);
    api.updateRotationDegree(std::numeric_limits<float>::quiet_NaN());

    const std::vector<std::string> expected = {
        "[Library][OnCreateGlApp] resPath is null; ignored",
        "[Library][UpdateSoundClass] value 42 is not a sound class; ignored",
        "[Library][StartRotatingDevice] value 7 is not a rotation; ignored",
        "[Library][UpdateBandsInfo] band record is null; ignored",
        "[Library][UpdateBandsInfo] data is null with count 4; ignored",
        "[Library][UpdateRotationDegree] degree is nan; ignored",
    };
    EXPECT_EQ(log.lines(), expected);
    // None of it was a first band frame: track changes are still ignored silently.
    log.clear();
    api.updateTrackChange();
    EXPECT_TRUE(log.matching("[Visualization]").empty());

    // More than 1024 bands are cut, said once, and start the animation.
    std::vector<float> bands(2048, -40.0f);
    for (int i = 0; i < 30; ++i) {
        sendBands(static_cast<uint32_t>(bands.size()), bands.data());
        frame();
    }
    EXPECT_EQ(log.matching("[Library][UpdateBandsInfo]"),
              std::vector<std::string>{
                  "[Library][UpdateBandsInfo] count 2048 is above 1024; using the first 1024"});
    EXPECT_EQ(log.matching("Mode switched from WAITING_FOR_DATA to ANIMATING").size(), 1u);
}

// A newer host may send values this library does not know, and may build the instance inside
// OnCreateGlApp before it has a framebuffer of its own: the instance is built without a GL error,
// in the fallback layout and orientation, and draws once a framebuffer is bound.
TEST_F(Library, UnknownValuesWithoutAFramebufferFallBackAndDrawOnceOneIsBound) {
    LogCapture log;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);  // surfaceless: incomplete
    ASSERT_NE(glCheckFramebufferStatus(GL_FRAMEBUFFER),
              static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    api.updateSpeakerInfo(10);
    api.onCreateGlApp("res", 2);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(instancesCreated(log), 1u);
    for (const char* line :
         {"[Library][UpdateSpeakerInfo] value 10 is not a speaker layout; using TV_1",
          "[Library][UpdateSpeakerInfo] curSpeakerInfo: TV_1",
          "[Library][OnCreateGlApp] value 2 is not a rotation; using Landscape",
          "[Library][OnCreateGlApp] rotationInfo: Landscape"}) {
        EXPECT_TRUE(log.contains(line)) << line;
    }
    GLint bound = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    EXPECT_EQ(bound, 0);
    // Frames still without one draw nothing, leave no error behind, and say so once.
    frame();
    frame();
    EXPECT_EQ(log.matching("[Library][OnUpdateGlApp] the bound framebuffer is not complete; "
                           "nothing drawn")
                  .size(),
              1u);

    useTarget(1920, 1080);
    std::vector<float> bands(16, -40.0f);
    for (int i = 0; i < 40; ++i) {  // 3.3 s: past the intro's idle second and a half
        sendBands(static_cast<uint32_t>(bands.size()), bands.data());
        platform_clock_advance(5 * kFrameNs);
        api.onUpdateGlApp();
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    readBack();
    EXPECT_GT(litPixels(), 1000) << savePng("library_created_without_framebuffer");
}

// Errors the host leaves pending are the host's: logged with the function that found them,
// never taken for the library's own (whose checks stop the program).
TEST_F(Library, HostErrorsLeftPendingAreDrainedAndLogged) {
    LogCapture log;
    glEnable(0xDEAD);  // GL_INVALID_ENUM
    api.updateSpeakerInfo(kTV1);
    api.onCreateGlApp("res", kLandscape);  // creates the instance
    for (int i = 0; i < 10; ++i) {
        glEnable(0xDEAD);
        glBindBuffer(GL_ARRAY_BUFFER, 0xFFFF'FFFF);  // GL_INVALID_OPERATION, queued or not
        frame();
    }
    glEnable(0xDEAD);
    api.updateTrackChange();
    glEnable(0xDEAD);
    api.onTerminateGlApp();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    const std::vector<std::string> lines = log.matching("left pending by the host");
    ASSERT_EQ(lines.size(), 4u) << "the frame path reports once per instance";
    const char* functions[] = {"OnCreateGlApp", "OnUpdateGlApp", "UpdateTrackChange",
                               "OnTerminateGlApp"};
    for (size_t i = 0; i < 4; ++i) {
        // The frame's line may name the buffer's error after the enumeration's.
        const std::string expected = std::string("[Library][") + functions[i] +
                                     "] GL errors left pending by the host: GL_INVALID_ENUM";
        EXPECT_EQ(i == 1 ? lines[i].substr(0, expected.size()) : lines[i], expected);
    }
    EXPECT_EQ(instancesCreated(log), 1u);
    EXPECT_TRUE(log.contains("[Library][deleteInstance] End"));
}

TEST_F(Library, SurvivesHostileBandFramesAndManyCycles) {
    LogCapture log;
    api.onCreateGlApp("res", kLandscape);
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float wild[6] = {inf, -inf, 1e30f, -1e30f, 0.0f, -65.0f};
    const float withNan[3] = {nan, -30.0f, nan};
    std::vector<float> many(1024);
    // Every speaker layout and every sound class twice over; where frames are slow, four of them
    // in turn. The host-boundary fuzzer goes on from here with cycles of any length and order.
    constexpr int kCycles = testsupport::kSlowFrames ? 4 : 20;
    const int first = static_cast<int>(testsupport::firstTaken(90, kCycles));
    for (int cycle = first; cycle < first + kCycles; ++cycle) {
        api.updateSpeakerInfo(cycle % 10);
        frame();
        sendBands(6, wild);
        frame();
        sendBands(0, nullptr);
        frame();
        sendBands(3, withNan);
        frame();
        for (size_t i = 0; i < many.size(); ++i) {
            many[i] = -120.0f + static_cast<float>((i * 7 + static_cast<size_t>(cycle)) % 110);
        }
        sendBands(static_cast<uint32_t>(many.size()), many.data());
        api.updateSoundClass(cycle % 9);
        api.updateTrackChange();
        api.startRotatingDevice(cycle % 2);
        api.updateRotationDegree(inf);
        api.updateRotationDegree(-1.0f);
        frame();
        api.onTerminateGlApp();
        api.onTerminateGlApp();
    }
    // Every cycle built and released exactly one instance, and the wild frames counted as data.
    EXPECT_EQ(instancesCreated(log), static_cast<size_t>(kCycles));
    EXPECT_EQ(log.matching("[Library][deleteInstance] End").size(), static_cast<size_t>(kCycles));
    EXPECT_EQ(log.matching("Mode switched from WAITING_FOR_DATA to ANIMATING").size(),
              static_cast<size_t>(kCycles));
    EXPECT_EQ(log.matching("Transition abort signaled!").size(), static_cast<size_t>(kCycles));
    EXPECT_TRUE(log.matching("Assertion").empty());
    // The last terminate left frames cleared to transparent black.
    frame();
    readBack();
    EXPECT_EQ(pixel(0, 0), (testsupport::Rgba{0, 0, 0, 0}));
}

}  // namespace
