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
        api.UpdateBandsInfo(&info);
    }
    size_t instancesCreated(const LogCapture& log) const {
        return log.matching("[Visualization][Constructor] Begin").size();
    }
};

TEST_F(Library, FramesWithoutAnInstanceAreTransparentBlack) {
    LogCapture log;
    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    api.OnUpdateGlApp();
    readBack();
    EXPECT_EQ(pixel(0, 0), (testsupport::Rgba{0, 0, 0, 0}));
    EXPECT_EQ(pixel(63, 63), (testsupport::Rgba{0, 0, 0, 0}));
    EXPECT_TRUE(log.lines().empty()) << "a frame without an instance logs nothing";

    // A path alone creates nothing either.
    api.OnCreateGlApp("res", kLandscape);
    for (int i = 0; i < 3; ++i) {
        frame();
    }
    EXPECT_EQ(instancesCreated(log), 0u);
}

TEST_F(Library, CreationWaitsForPathAndSpeakerAndLogsEachStep) {
    LogCapture log;
    api.OnCreateGlApp("res", kLandscape);
    api.UpdateSpeakerInfo(kKiro);
    EXPECT_EQ(instancesCreated(log), 0u) << "UpdateSpeakerInfo does not create";
    frame();
    EXPECT_EQ(instancesCreated(log), 1u);
    frame();
    api.OnTerminateGlApp();

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

TEST_F(Library, SpeakerFirstCreatesInsideOnCreateGlApp) {
    LogCapture log;
    api.UpdateSpeakerInfo(kTV1);
    api.OnCreateGlApp("res", kPortrait);
    EXPECT_EQ(instancesCreated(log), 1u);
    EXPECT_TRUE(log.contains("[Visualization][Constructor] Orientation:         Portrait"));

    // A second OnCreateGlApp while the instance lives only replaces path and rotation.
    api.OnCreateGlApp("other", kLandscape);
    frame();
    EXPECT_EQ(instancesCreated(log), 1u);
}

TEST_F(Library, AnEmptyPathConsumesTheSpeakerFlag) {
    LogCapture log;
    api.UpdateSpeakerInfo(kTV1);
    frame();  // the flag is consumed without an instance
    EXPECT_TRUE(log.contains("[Library][createInstanceOnSpeakerInfoSet] Begin"));
    api.OnCreateGlApp("res", kLandscape);
    frame();
    EXPECT_EQ(instancesCreated(log), 0u);
    api.UpdateSpeakerInfo(kTV1);
    frame();
    EXPECT_EQ(instancesCreated(log), 1u);
}

TEST_F(Library, RecreationStartsInTheOrientationOfOnCreateGlApp) {
    LogCapture log;
    api.OnCreateGlApp("res", kLandscape);
    api.UpdateSpeakerInfo(kTV1);
    frame();
    api.StartRotatingDevice(kPortrait);
    EXPECT_TRUE(log.contains("[Library][StartRotatingDevice] toRotateInfo: Portrait"));
    EXPECT_TRUE(
        log.contains("[Visualization][startRotationTransition] Transition to Portrait started"));
    api.OnTerminateGlApp();
    frame();
    EXPECT_EQ(instancesCreated(log), 1u) << "no speaker info since the last creation";
    api.UpdateSpeakerInfo(kTV1);
    frame();
    EXPECT_EQ(instancesCreated(log), 2u);
    EXPECT_EQ(log.matching("Orientation:         Landscape").size(), 2u);
}

TEST_F(Library, CallsThatNeedAnInstanceAreDroppedWithoutOne) {
    LogCapture log;
    const float bands[4] = {-50, -40, -30, -20};
    sendBands(4, bands);
    api.UpdateSoundClass(1);
    api.UpdateRotationDegree(45.0f);
    api.UpdateBeatsInfo(7);
    EXPECT_TRUE(log.lines().empty());
    api.UpdateTrackChange();
    const std::vector<std::string> expected = {"[Library][UpdateTrackChange] Begin",
                                               "[Library][UpdateTrackChange] End"};
    EXPECT_EQ(log.lines(), expected);
}

TEST_F(Library, FaultyHostValuesAreLoggedAndDropped) {
    api.OnCreateGlApp("res", kLandscape);
    api.UpdateSpeakerInfo(kTV1);
    frame();
    LogCapture log;
    api.OnCreateGlApp(nullptr, kLandscape);
    api.OnCreateGlApp("res", 2);
    api.UpdateSpeakerInfo(10);
    api.UpdateSpeakerInfo(-1);
    api.UpdateSoundClass(42);
    api.StartRotatingDevice(7);
    api.UpdateBandsInfo(nullptr);
    BandsInfo nullData{4, nullptr};
    api.UpdateBandsInfo(&nullData);
    std::vector<float> huge(1025, -50.0f);
    BandsInfo tooMany{1025, huge.data()};
    api.UpdateBandsInfo(&tooMany);
    api.UpdateRotationDegree(std::numeric_limits<float>::quiet_NaN());

    const std::vector<std::string> expected = {
        "[Library][OnCreateGlApp] resPath is null; ignored",
        "[Library][OnCreateGlApp] value 2 is not a rotation; ignored",
        "[Library][UpdateSpeakerInfo] value 10 is not a speaker layout; ignored",
        "[Library][UpdateSpeakerInfo] value -1 is not a speaker layout; ignored",
        "[Library][UpdateSoundClass] value 42 is not a sound class; ignored",
        "[Library][StartRotatingDevice] value 7 is not a rotation; ignored",
        "[Library][UpdateBandsInfo] band record is null; ignored",
        "[Library][UpdateBandsInfo] data is null with count 4; ignored",
        "[Library][UpdateBandsInfo] count 1025 is above 1024; ignored",
        "[Library][UpdateRotationDegree] degree is nan; ignored",
    };
    EXPECT_EQ(log.lines(), expected);
    // None of it was a first band frame: track changes are still ignored silently.
    log.clear();
    api.UpdateTrackChange();
    EXPECT_TRUE(log.matching("[Visualization]").empty());
    frame();
}

TEST_F(Library, SurvivesHostileBandFramesAndManyCycles) {
    api.OnCreateGlApp("res", kLandscape);
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float wild[6] = {inf, -inf, 1e30f, -1e30f, 0.0f, -65.0f};
    const float withNan[3] = {nan, -30.0f, nan};
    std::vector<float> many(1024);
    for (int cycle = 0; cycle < 100; ++cycle) {
        api.UpdateSpeakerInfo(cycle % 10);
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
        api.UpdateSoundClass(cycle % 9);
        api.UpdateTrackChange();
        api.StartRotatingDevice(cycle % 2);
        api.UpdateRotationDegree(inf);
        api.UpdateRotationDegree(-1.0f);
        frame();
        api.OnTerminateGlApp();
        api.OnTerminateGlApp();
    }
}

}  // namespace
