#include "visualization/diagnostics/bands_info_recorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "support/log_capture.h"
#include "support/test_output.h"
#include "visualization/spectrum.h"

using testsupport::LogCapture;
namespace fs = std::filesystem;

namespace {

void setBands(Spectrum& spectrum, std::vector<float> values) {
    spectrum.setBandsInfo(values.data(), uint32_t(values.size()));
}

}  // namespace

TEST(BandsInfoRecorder, WritesChangedFramesWithThePreviousUpdatesTimeThroughGaps) {
    const testsupport::ScratchDirectory scratch("recorder");
    const std::string path = scratch / "changed.txt";
    Spectrum spectrum;
    setBands(spectrum, {-63.25f, -80.0f});
    Spectrum invalid;
    const float nan = std::nanf("");
    invalid.setBandsInfo(&nan, 1);
    LogCapture log;
    {
        BandsInfoRecorder recorder;
        recorder.setPath(path);
        recorder.update(spectrum, 10.0f);
        EXPECT_EQ(log.matching("[BandsInfoRecorder][update]"),
                  (std::vector<std::string>{"[BandsInfoRecorder][update] Start recording",
                                            "[BandsInfoRecorder][update] " + path}));
        recorder.update(spectrum, 10.5f);  // unchanged: nothing written
        // A gap in the band data neither ends a started recording nor moves its clock.
        recorder.update(invalid, 10.75f);
        setBands(spectrum, {-12.5f, -119.0f});
        recorder.update(spectrum, 11.25f);
        recorder.update(spectrum, 12.0f);
    }
    EXPECT_TRUE(log.matching("End recording").empty());
    EXPECT_EQ(testsupport::readFile(path),
              "0.000000 -63.250000 -80.000000\n"
              "0.500000 -12.500000 -119.000000\n");
}

TEST(BandsInfoRecorder, SetPathStartsANewFileAtTheNextUsableFrameRetryingUntilItOpens) {
    const testsupport::ScratchDirectory scratch("recorder");
    const std::string first = scratch / "first.txt";
    const fs::path directory = scratch.path() / "later";
    const std::string second = (directory / "second.txt").string();
    Spectrum spectrum;
    setBands(spectrum, {-50.0f});
    LogCapture log;
    BandsInfoRecorder recorder;
    recorder.setPath(first);
    recorder.update(spectrum, 0.0f);
    recorder.setPath(second);
    EXPECT_EQ(testsupport::readFile(first), "0.000000 -50.000000\n");

    // An empty frame is no usable frame: nothing is opened for it.
    recorder.update(Spectrum(), 1.0f);
    EXPECT_TRUE(log.matching("Unable to open file").empty());
    recorder.update(spectrum, 2.0f);
    recorder.update(spectrum, 3.0f);
    EXPECT_EQ(log.matching("[Visualization][recordBandsInfo] Unable to open file: " + second),
              std::vector<std::string>(
                  2, "[Visualization][recordBandsInfo] Unable to open file: " + second));
    fs::create_directories(directory);
    recorder.update(spectrum, 4.0f);
    setBands(spectrum, {-40.0f});
    recorder.update(spectrum, 4.25f);
    recorder.close();
    EXPECT_EQ(testsupport::readFile(second), "0.000000 -50.000000\n0.000000 -40.000000\n");
}
