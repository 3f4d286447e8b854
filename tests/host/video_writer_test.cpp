#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/test_output.h"
#include "video_writer.h"

using namespace vizhost;

namespace {

// The stream list of a media file, as ffprobe prints it.
std::string probe(const std::string& path) {
    const std::string listing = path + ".streams";
    const std::string command =
        "ffprobe -v error -show_entries stream=codec_type,width,height,duration -of compact '" +
        path + "' > '" + listing + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return testsupport::readFile(listing);
}

}  // namespace

TEST(VideoWriter, WritesPicturesAndEveryTrackOfMusicForExactlyTheirFrames) {
    ASSERT_FALSE(VideoWriter::findFfmpeg().empty()) << "ffmpeg is installed by scripts/setup.sh";
    // Two tracks of different rates: 30 and 15 frames at 60 per second, the first longer than
    // its frames (0.5 s), the second shorter.
    AudioClip first{"", 48000, 2, std::vector<float>(48000, 0.1f), {}};
    AudioClip second{"", 22050, 1, std::vector<float>(1000, -0.1f), {}};
    mixToMono(first);
    mixToMono(second);

    const testsupport::ScratchDirectory scratch("video-writer");
    const std::string path = scratch / "v.mp4";
    VideoWriter writer;
    std::string error;
    ASSERT_TRUE(writer.open(path, 64, 48, 60, {{&first, 30}, {&second, 15}}, error)) << error;
    std::vector<uint8_t> frame(64 * 48 * 4);
    for (int i = 0; i < 45; ++i) {
        std::fill(frame.begin(), frame.end(), uint8_t(i * 5));
        ASSERT_TRUE(writer.write(frame.data(), error)) << error;
    }
    ASSERT_TRUE(writer.close(error)) << error;
    const std::string streams = probe(path);
    EXPECT_NE(streams.find("codec_type=video|width=64|height=48|duration=0.75"), std::string::npos)
        << streams;
    const size_t audio = streams.find("codec_type=audio");
    const size_t duration = streams.find("duration=", audio);
    ASSERT_NE(duration, std::string::npos) << streams;
    EXPECT_NEAR(std::stod(streams.substr(duration + 9)), 0.75, 0.03) << streams;
}

TEST(VideoWriter, AFileFfmpegCannotWriteIsReportedNotFatal) {
    VideoWriter writer;
    std::string error;
    ASSERT_TRUE(writer.open("/nonexistent-dir/v.mp4", 32, 32, 60, {}, error)) << error;
    std::vector<uint8_t> frame(32 * 32 * 4, 0);
    bool ok = true;
    for (int i = 0; i < 200 && ok; ++i) {
        ok = writer.write(frame.data(), error);
    }
    if (ok) {
        ok = writer.close(error);
    }
    EXPECT_FALSE(ok);
    EXPECT_NE(error.find("/nonexistent-dir/v.mp4"), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
}
