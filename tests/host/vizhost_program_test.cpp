// The host program as a user runs it, through the shared object.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <stb_image.h>

#include "support/gl_test.h"
#include "support/test_output.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int exitCode = -1;
    std::string errors;  // standard error
};

Outcome run(const std::string& program, const std::vector<std::string>& args) {
    const testsupport::ScratchDirectory scratch("program-stderr");
    const std::string log = scratch / "stderr.txt";
    // Mesa's software driver keeps a few allocations past eglTerminate, which unloads it; in a
    // sanitizer build LeakSanitizer would report them from a module it can no longer name or
    // suppress. Leaks of the host's own parts are caught by their in-process tests instead.
    std::string command =
        "ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0\" '" + program + "'";
    for (const std::string& a : args) {
        command += " '" + a + "'";
    }
    const int status = std::system((command + " >/dev/null 2>'" + log + "'").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
            testsupport::readFile(log)};
}

Outcome runVizhost(const std::vector<std::string>& args) {
    return run(VIZHOST_PROGRAM, args);
}

// The turn reaches the library as a call, or, when building the instance took longer than the
// turn's start (under the sanitizers), as the orientation the instance starts turning to.
void expectTurnedToPortrait(const std::string& lines) {
    EXPECT_TRUE(lines.find("toRotateInfo: Portrait") != std::string::npos ||
                lines.find("Rotating from Landscape to Portrait") != std::string::npos)
        << lines;
}

}  // namespace

TEST(VizhostProgram, TwoSecondsOfAFileHeadlessThroughTheLibraryWriteFramesAndVideo) {
    const testsupport::ScratchDirectory scratch("vizhost-render");
    const std::string dir = scratch.path().string();
    const std::string frames = dir + "/frames";
    const std::string song = dir + "/song.wav";
    const std::string video = dir + "/v.mp4";
    const std::string log = dir + "/library.log";
    ASSERT_EQ(runVizhost({"--write-demo", song}).exitCode, 0);
    // One second where frames are slow.
    const int seconds = testsupport::kSlowFrames ? 1 : 2;
    const Outcome outcome =
        runVizhost({song, "--duration", std::to_string(seconds), "--frames", frames, "--still",
                    dir + "/still.png", "--still-at", "0.9", "--out", video, "--size", "192x108",
                    "--no-progress", "--log", log, "--rotate-at", "0.5"});
    // The host checks for GL errors after every call into the library and fails on one.
    ASSERT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_EQ(outcome.errors, "");
    EXPECT_EQ(std::distance(fs::directory_iterator(frames), fs::directory_iterator()),
              60 * seconds);
    int w = 0, h = 0, channels = 0;
    for (const std::string& png : {frames + "/frame_000059.png", dir + "/still.png"}) {
        ASSERT_EQ(stbi_info(png.c_str(), &w, &h, &channels), 1) << png;
        EXPECT_TRUE(w == 192 && h == 108) << png;
    }
    // The music went into the video with the pictures.
    const std::string streams = dir + "/streams.txt";
    ASSERT_EQ(std::system(("ffprobe -v error -show_entries stream=codec_type -of csv=p=0 '" +
                           video + "' > '" + streams + "'")
                              .c_str()),
              0);
    EXPECT_EQ(testsupport::readFile(streams), "video\naudio\n");
    // The library was really driven: it was created with the resource path and saw the turn.
    const std::string lines = testsupport::readFile(log);
    EXPECT_NE(lines.find("[Library][OnCreateGlApp]"), std::string::npos) << lines;
    expectTurnedToPortrait(lines);
    EXPECT_NE(lines.find("[Library][OnTerminateGlApp]"), std::string::npos);
}

TEST(VizhostProgram, PlaysInAWindowOnAVirtualDisplay) {
    // xvfb-run starts a private X server for the one command; without a sound card the host
    // plays on silently after one line saying so.
    const testsupport::ScratchDirectory scratch("vizhost-window");
    const std::string log = scratch / "library.log";
    const Outcome outcome =
        run("/usr/bin/xvfb-run", {"-a", VIZHOST_PROGRAM, "--window", "--duration", "1.5",
                                  "--rotate-at", "0.2", "--log", log});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_EQ(outcome.errors.find("GL error"), std::string::npos) << outcome.errors;
    const std::string lines = testsupport::readFile(log);
    expectTurnedToPortrait(lines);
    EXPECT_NE(lines.find("[Library][OnTerminateGlApp]"), std::string::npos);
}

TEST(VizhostProgram, BadArgumentsFilesAndLibrariesGiveOneMessageAndFail) {
    const testsupport::ScratchDirectory scratch("vizhost-errors");
    const std::string dir = scratch.path().string();
    const std::string out = dir + "/x.mp4";

    const std::string garbage = dir + "/garbage.mp3";
    std::ofstream(garbage) << std::string(5000, 'x');
    // A shared object that is not the library: it loads, but lacks the functions.
    const std::string platform =
        (fs::path(VIZHOST_PROGRAM).parent_path().parent_path() / "libvisualization-platform.so")
            .string();
    const struct {
        std::vector<std::string> args;
        int exitCode;
        const char* message;
    } cases[] = {
        {{"--bands", "0", "--out", out}, 2, "--bands"},
        {{dir + "/missing.flac", "--out", out}, 1, "missing.flac"},
        {{garbage, "--out", out}, 1, "not audio this host can read"},
        {{"--window", "--out", out}, 2, "--window plays live and writes nothing"},
        {{"--still", dir + "/late.png", "--still-at", "5", "--duration", "1"}, 1, "past the end"},
        {{"--library", dir + "/nothing.so", "--out", out, "--duration", "1"},
         1,
         "cannot load the library"},
        {{"--library", platform, "--out", out, "--duration", "1"}, 1, "lacks OnCreateGlApp"},
        {{"--res", dir + "/no-res", "--out", out, "--duration", "1"}, 1, "no resource directory"},
    };
    for (const auto& c : cases) {
        // One line, starting with the program's name.
        const Outcome outcome = runVizhost(c.args);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.message;
        EXPECT_EQ(outcome.errors.rfind("vizhost: ", 0), 0u) << outcome.errors;
        EXPECT_EQ(std::count(outcome.errors.begin(), outcome.errors.end(), '\n'), 1)
            << outcome.errors;
        EXPECT_NE(outcome.errors.find(c.message), std::string::npos) << outcome.errors;
    }
    EXPECT_FALSE(fs::exists(out));
}

TEST(VizgalleryProgram, WritesASheetOfTheNamedModesInEachLookFromAMusicFile) {
    const testsupport::ScratchDirectory scratch("vizgallery");
    const std::string dir = scratch.path().string();
    const std::string song = dir + "/song.wav";
    const std::string sheet = dir + "/sheet.png";
    ASSERT_EQ(runVizhost({"--write-demo", song}).exitCode, 0);
    std::vector<std::vector<uint8_t>> pictures;
    // One mode where frames are slow: each is an instance of its own.
    const int columns = testsupport::kSlowFrames ? 1 : 2;
    const std::string modes =
        std::string(columns == 2 ? "CONTENT_2021_RING_VERSION_0," : "") + "CONTENT_2020_CIRCULAR_1";
    // The normal look, the always-on look, and the normal look under the analyzer.
    for (const std::vector<std::string>& look :
         {std::vector<std::string>{"--display-mode", "default"},
          {"--display-mode", "aod"},
          {"--analyzer"}}) {
        const std::string each = dir + "/" + std::to_string(pictures.size());
        std::vector<std::string> args = {modes,    "--music", song,  "--seconds", "0.5", "--cell",
                                         "160x90", "--out",   sheet, "--each",    each};
        args.insert(args.end(), look.begin(), look.end());
        const Outcome outcome = run(VIZGALLERY_PROGRAM, args);
        ASSERT_EQ(outcome.exitCode, 0) << outcome.errors;
        int w = 0, h = 0, channels = 0;
        ASSERT_EQ(stbi_info(sheet.c_str(), &w, &h, &channels), 1);
        EXPECT_TRUE(w == 4 + columns * (160 + 4) && h == 4 + (90 + 24 + 4)) << w << "x" << h;
        stbi_uc* rgba =
            stbi_load((each + "/CONTENT_2020_CIRCULAR_1.png").c_str(), &w, &h, &channels, 4);
        ASSERT_NE(rgba, nullptr);
        EXPECT_EQ(w, 960);
        pictures.emplace_back(rgba, rgba + w * h * 4);
        stbi_image_free(rgba);
    }
    // The same music and clock in all three: only the look, or the overlay, differs.
    EXPECT_NE(pictures[0], pictures[1]);
    EXPECT_NE(pictures[0], pictures[2]);

    const Outcome outcome = run(VIZGALLERY_PROGRAM, {"CONTENT_2021_BLOBS", "--out", sheet});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_NE(outcome.errors.find("unknown mode 'CONTENT_2021_BLOBS'"), std::string::npos)
        << outcome.errors;
}
