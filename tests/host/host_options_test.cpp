#include <gtest/gtest.h>

#include "host_options.h"

using namespace vizhost;

namespace {

bool parse(const std::vector<std::string>& args, HostOptions& options, std::string& error) {
    error.clear();
    return parseHostOptions(args, options, error);
}

}  // namespace

TEST(HostOptions, WithoutArgumentsRendersTheDemoSongToOut) {
    HostOptions options;
    std::string error;
    ASSERT_TRUE(parse({}, options, error));
    EXPECT_TRUE(options.files.empty());
    EXPECT_EQ(options.out, "out/demo.mp4");
    EXPECT_EQ(options.still, "out/demo.png");
    EXPECT_TRUE(options.width == 1280u && options.height == 720u);
}

TEST(HostOptions, ReadsEveryOptionAndKeepsFilesInOrder) {
    HostOptions options;
    std::string error;
    const std::vector<std::string> args = {"b.flac",
                                           "--out",
                                           "v.mp4",
                                           "--bands",
                                           "32",
                                           "--speaker",
                                           "TV_SoundBar_2",
                                           "--orientation",
                                           "Portrait",
                                           "--rotate-at",
                                           "12.5",
                                           "--rotate-at",
                                           "3",
                                           "--duration",
                                           "9",
                                           "--still-at",
                                           "4",
                                           "a.wav",
                                           "--no-progress",
                                           "--",
                                           "--odd-name.wav"};
    ASSERT_TRUE(parse(args, options, error)) << error;
    EXPECT_EQ(options.files, (std::vector<std::string>{"b.flac", "a.wav", "--odd-name.wav"}));
    EXPECT_TRUE(options.bands == 32u && options.speaker == SpeakerInfo::TV_SoundBar_2 &&
                options.duration == 9.0f && options.stillAt == 4.0f && !options.progress);
    // Portrait output unless a size is given.
    EXPECT_TRUE(options.width == 720u && options.height == 1280u);
    EXPECT_EQ(options.rotateAt, (std::vector<float>{3.0f, 12.5f}));

    ASSERT_TRUE(
        parse({"--window", "--size", "640x360", "--orientation", "portrait"}, options, error));
    EXPECT_TRUE(options.window && options.width == 640u && options.height == 360u);
}

TEST(HostOptions, RefusesBadArgumentsWithOneSentenceNamingThem) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--bogus"}, "unknown option --bogus"},
        {{"--out"}, "the option --out needs a value"},
        {{"--bands", "257", "--out", "x.mp4"}, "'257'"},
        {{"--size", "641x360", "--out", "x.mp4"}, "'641x360'"},
        {{"--duration", "nan", "--out", "x.mp4"}, "'nan'"},
        {{"--speaker", "TV_4", "--out", "x.mp4"}, "unknown speaker layout 'TV_4'"},
        {{"--orientation", "diagonal", "--out", "x.mp4"}, "'diagonal'"},
        {{"song.wav"}, "nothing to write"},
    };
    for (const auto& [args, expected] : cases) {
        HostOptions options;
        std::string error;
        EXPECT_FALSE(parse(args, options, error)) << args.front();
        EXPECT_NE(error.find(expected), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
    // The speaker names are listed for the user who guessed wrong.
    HostOptions options;
    std::string error;
    parse({"--speaker", "tv_1", "--out", "x.mp4"}, options, error);
    EXPECT_NE(error.find("Kiro"), std::string::npos) << error;
}
