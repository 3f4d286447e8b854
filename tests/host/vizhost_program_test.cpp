// The host program as a user runs it, through the shared object.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <stb_image.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int exitCode = -1;
    std::string errors;  // standard error
};

std::string readText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

Outcome run(const char* program, const std::vector<std::string>& args) {
    // Tests run in parallel processes: every file they use carries the process id.
    const std::string log =
        ::testing::TempDir() + "vizhost_stderr_" + std::to_string(getpid()) + ".txt";
    std::vector<std::string> all = {program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    // Mesa's software driver keeps a few allocations past eglTerminate, which unloads it; in a
    // sanitizer build LeakSanitizer would report them from a module it can no longer name or
    // suppress. Leaks of the host's own parts are caught by their in-process tests instead.
    std::vector<std::string> variables;
    std::string sanitizer = "ASAN_OPTIONS=detect_leaks=0";
    for (char** e = environ; *e != nullptr; ++e) {
        if (std::strncmp(*e, "ASAN_OPTIONS=", 13) == 0) {
            sanitizer = std::string(*e) + ":detect_leaks=0";
        } else {
            variables.push_back(*e);
        }
    }
    variables.push_back(sanitizer);
    std::vector<char*> envp;
    for (std::string& v : variables) {
        envp.push_back(v.data());
    }
    envp.push_back(nullptr);
    pid_t child = -1;
    Outcome outcome;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) {
        int status = 0;
        waitpid(child, &status, 0);
        outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    outcome.errors = readText(log);
    return outcome;
}

Outcome runVizhost(const std::vector<std::string>& args) {
    return run(VIZHOST_PROGRAM, args);
}

std::string freshDirectory(const std::string& name) {
    const std::string dir = ::testing::TempDir() + name + "_" + std::to_string(getpid());
    fs::remove_all(dir);
    return dir;
}

// One line ending in a newline, starting with the program's name.
void expectOneMessage(const Outcome& outcome, const std::string& containing) {
    EXPECT_EQ(outcome.errors.rfind("vizhost: ", 0), 0u) << outcome.errors;
    EXPECT_EQ(std::count(outcome.errors.begin(), outcome.errors.end(), '\n'), 1) << outcome.errors;
    EXPECT_NE(outcome.errors.find(containing), std::string::npos) << outcome.errors;
}

}  // namespace

TEST(VizhostProgram, TwoSecondsHeadlessThroughTheLibraryWriteEveryFrameWithoutAGlError) {
    const std::string frames = freshDirectory("vizhost_frames");
    const std::string still = frames + "_still.png";
    const std::string log = frames + "_library.log";
    fs::remove(log);
    const Outcome outcome =
        runVizhost({"--duration", "2", "--frames", frames, "--still", still, "--still-at", "1.5",
                    "--size", "192x108", "--no-progress", "--log", log, "--rotate-at", "0.5"});
    // The host checks for GL errors after every call into the library and fails on one.
    ASSERT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_EQ(outcome.errors, "");
    EXPECT_EQ(std::distance(fs::directory_iterator(frames), fs::directory_iterator()), 120);
    int w = 0, h = 0, channels = 0;
    for (const std::string& png : {frames + "/frame_000119.png", still}) {
        ASSERT_EQ(stbi_info(png.c_str(), &w, &h, &channels), 1) << png;
        EXPECT_EQ(w, 192);
        EXPECT_EQ(h, 108);
    }
    // The library was really driven: it was created with the resource path and saw the turn.
    const std::string lines = readText(log);
    EXPECT_NE(lines.find("[Library][OnCreateGlApp]"), std::string::npos) << lines;
    EXPECT_NE(lines.find("toRotateInfo: Portrait"), std::string::npos) << lines;
    EXPECT_NE(lines.find("[Library][OnTerminateGlApp]"), std::string::npos);
}

TEST(VizhostProgram, VideoHasPictureAndSound) {
    const std::string dir = freshDirectory("vizhost_video");
    const std::string song = dir + "/song.wav";
    ASSERT_EQ(runVizhost({"--write-demo", song}).exitCode, 0);
    const std::string video = dir + "/v.mp4";
    const Outcome outcome =
        runVizhost({song, "--duration", "1", "--out", video, "--size", "160x90", "--no-progress"});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.errors;
    const std::string command =
        "ffprobe -v error -show_entries stream=codec_type -of csv=p=0 '" + video + "'";
    std::string streams;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[64];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
            streams += buffer;
        }
        pclose(pipe);
    }
    EXPECT_EQ(streams, "video\naudio\n");
}

TEST(VizhostProgram, PlaysInAWindowOnAVirtualDisplay) {
    // xvfb-run starts a private X server for the one command; without a sound card the host
    // plays on silently after one line saying so.
    const std::string dir = freshDirectory("vizhost_window");
    fs::create_directories(dir);
    const std::string log = dir + "/library.log";
    const Outcome outcome =
        run("/usr/bin/xvfb-run", {"-a", VIZHOST_PROGRAM, "--window", "--duration", "1.5",
                                  "--rotate-at", "0.2", "--log", log});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_EQ(outcome.errors.find("GL error"), std::string::npos) << outcome.errors;
    const std::string lines = readText(log);
    EXPECT_NE(lines.find("toRotateInfo: Portrait"), std::string::npos) << lines;
    EXPECT_NE(lines.find("[Library][OnTerminateGlApp]"), std::string::npos);
}

TEST(VizhostProgram, BadArgumentsFilesAndLibrariesGiveOneMessageAndFail) {
    const std::string dir = freshDirectory("vizhost_errors");
    fs::create_directories(dir);
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
        {{"--frobnicate"}, 2, "unknown option --frobnicate"},
        {{dir + "/missing.flac", "--out", out}, 1, "missing.flac"},
        {{garbage, "--out", out}, 1, "cannot decode"},
        {{"--library", dir + "/nothing.so", "--out", out, "--duration", "1"},
         1,
         "cannot load the library"},
        {{"--library", platform, "--out", out, "--duration", "1"}, 1, "lacks OnCreateGlApp"},
        {{"--res", dir + "/no-res", "--out", out, "--duration", "1"}, 1, "no resource directory"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = runVizhost(c.args);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.message;
        expectOneMessage(outcome, c.message);
    }
    EXPECT_FALSE(fs::exists(out));
}

TEST(VizgalleryProgram, WritesALabelledSheetOfTheNamedModes) {
    const std::string dir = freshDirectory("vizgallery");
    const std::string sheet = dir + "/sheet.png";
    Outcome outcome = run(VIZGALLERY_PROGRAM,
                          {"CONTENT_2021_RING_VERSION_0,CONTENT_2020_CIRCULAR_1", "--seconds",
                           "0.5", "--cell", "160x90", "--out", sheet, "--each", dir + "/each"});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.errors;
    int w = 0, h = 0, channels = 0;
    ASSERT_EQ(stbi_info(sheet.c_str(), &w, &h, &channels), 1);
    EXPECT_EQ(w, 4 + 2 * (160 + 4));
    EXPECT_EQ(h, 4 + (90 + 24 + 4));
    ASSERT_EQ(stbi_info((dir + "/each/CONTENT_2020_CIRCULAR_1.png").c_str(), &w, &h, &channels), 1);
    EXPECT_EQ(w, 960);

    outcome = run(VIZGALLERY_PROGRAM, {"CONTENT_2021_BLOBS", "--out", sheet});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_NE(outcome.errors.find("unknown mode 'CONTENT_2021_BLOBS'"), std::string::npos)
        << outcome.errors;
}
