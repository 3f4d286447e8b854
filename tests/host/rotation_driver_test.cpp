#include <gtest/gtest.h>

#include <vector>

#include "rotation_driver.h"

using namespace vizhost;

namespace {

// What the library would have been told.
struct Call {
    enum Kind { Start, Angle } kind;
    float value;
};
std::vector<Call> gCalls;

// Runs the driver at 60 frames a second from `from` seconds until it rests.
void runTurn(RotationDriver& driver, double& now) {
    for (int frame = 0; frame < 600 && driver.turning(); ++frame) {
        driver.update(now);
        now += 1.0 / 60.0;
    }
}

}  // namespace

TEST(RotationDriver, AnnouncesThenStreamsAnglesLikeAMotorToTheExactEnd) {
    gCalls.clear();
    LibraryApi api;
    api.startRotatingDevice = [](int32_t to) { gCalls.push_back({Call::Start, float(to)}); };
    api.updateRotationDegree = [](float degree) { gCalls.push_back({Call::Angle, degree}); };
    RotationDriver driver(api, RotateInfo::Landscape);
    double now = 10.0;
    driver.update(now);  // at rest: nothing to report
    EXPECT_TRUE(gCalls.empty());

    ASSERT_TRUE(driver.start(now));
    EXPECT_EQ(driver.orientation(), RotateInfo::Portrait);
    EXPECT_FALSE(driver.start(now));  // the mount is busy
    runTurn(driver, now);
    ASSERT_GE(gCalls.size(), 3u);
    EXPECT_TRUE(gCalls.front().kind == Call::Start &&
                gCalls.front().value == float(RotateInfo::Portrait) && gCalls[1].value == 0.0f &&
                gCalls.back().value == 90.0f);
    // About a second of angles, rising, slowly at first, fastest in the middle.
    EXPECT_NEAR(double(gCalls.size() - 1), 61.0, 2.0);
    float firstStep = gCalls[2].value - gCalls[1].value;
    float largestStep = 0.0f;
    for (size_t i = 2; i < gCalls.size(); ++i) {
        ASSERT_EQ(gCalls[i].kind, Call::Angle);
        const float step = gCalls[i].value - gCalls[i - 1].value;
        EXPECT_GE(step, 0.0f);
        EXPECT_LT(step, 3.0f) << "a jump of the mount at report " << i;
        largestStep = std::max(largestStep, step);
    }
    EXPECT_LT(firstStep, 0.2f * largestStep);

    // Back again: 90 down to 0, announced as a turn to landscape.
    gCalls.clear();
    ASSERT_TRUE(driver.start(now));
    runTurn(driver, now);
    EXPECT_TRUE(gCalls.front().value == float(RotateInfo::Landscape) &&
                gCalls.back().value == 0.0f && driver.orientation() == RotateInfo::Landscape);
}
