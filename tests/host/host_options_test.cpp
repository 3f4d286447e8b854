#include <gtest/gtest.h>

#include <sstream>

#include "host_options.h"

using namespace vizhost;

namespace {

// Parses the words of a command line into fresh options.
bool parse(const std::string& line, HostOptions& options, std::string& error) {
    std::istringstream in(line);
    std::vector<std::string> args;
    for (std::string word; in >> word;) {
        args.push_back(word);
    }
    options = HostOptions();
    error.clear();
    return parseHostOptions(args, options, error);
}

// The program test runs the file options through a render; what it cannot see is here.
TEST(HostOptions, KeepsFilesInOrderSortsTurnsAndPicksTheLibraryAndTheShape) {
    HostOptions options;
    std::string error;
    ASSERT_TRUE(
        parse("b.flac --out v.mp4 --bands 32 --speaker TV_SoundBar_2 --orientation Portrait "
              "--rotate-at 12.5 --rotate-at 3 a.wav -- --odd-name.wav",
              options, error))
        << error;
    EXPECT_EQ(options.files, (std::vector<std::string>{"b.flac", "a.wav", "--odd-name.wav"}));
    EXPECT_TRUE(options.bands == 32u && options.speaker == SpeakerInfo::TV_SoundBar_2);
    // Portrait output unless a size is given.
    EXPECT_TRUE(options.width == 720u && options.height == 1280u);
    EXPECT_EQ(options.rotateAt, (std::vector<float>{3.0f, 12.5f}));
    ASSERT_TRUE(parse("--window --size 640x360 --orientation portrait", options, error));
    EXPECT_TRUE(options.window && options.width == 640u && options.height == 360u);
    EXPECT_STREQ(defaultLibraryName(options), "libvisualization.so");

    // Diagnostic options choose the diagnostic library.
    ASSERT_TRUE(parse("--window --analyzer=compact", options, error)) << error;
    EXPECT_EQ(options.analyzer, "compact");
    EXPECT_STREQ(defaultLibraryName(options), "libvisualization-diagnostics.so");
    ASSERT_TRUE(parse("--window --analyzer --record-bands b.txt", options, error)) << error;
    EXPECT_TRUE(options.analyzer == "1" && options.recordBands == "b.txt");
}

TEST(HostOptions, RefusesBadArgumentsWithOneSentenceNamingThem) {
    for (const auto& [line, expected] : std::vector<std::pair<std::string, std::string>>{
             {"--bogus", "unknown option --bogus"},
             {"--out", "the option --out needs a value"},
             {"--bands 257 --out x.mp4", "'257'"},
             {"--size 641x360 --out x.mp4", "'641x360'"},
             {"--duration nan --out x.mp4", "'nan'"},
             {"--speaker TV_4 --out x.mp4", "unknown speaker layout 'TV_4'"},
             // The speaker names are listed for the user who guessed wrong.
             {"--speaker tv_1 --out x.mp4", "Kiro"},
             {"--orientation diagonal --out x.mp4", "'diagonal'"},
             {"song.wav", "nothing to write"},
             {"--window --analyzer=tiny", "--analyzer takes no value or =compact"},
             {"--window --analyzers", "unknown option --analyzers"},
         }) {
        HostOptions options;
        std::string error;
        EXPECT_FALSE(parse(line, options, error)) << line;
        EXPECT_NE(error.find(expected), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
}

}  // namespace
