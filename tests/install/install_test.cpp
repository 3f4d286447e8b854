// The installed tree as an integrator gets it: what is in it, the C example built against it
// with pkg-config alone and with find_package, and the tools run from it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kPrefix = VIZ_INSTALL_PREFIX;
const fs::path kLibDir = kPrefix / VIZ_INSTALL_LIBDIR;
const fs::path kShareDir = kPrefix / "share/visualization";
const fs::path kExample = fs::path(VIZ_SOURCE_DIR) / "examples/minimal_host.c";

std::string readText(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs a shell command with its output in `log`; answers the exit code.
int run(const std::string& command, const fs::path& log) {
    const int status = std::system((command + " >'" + log.string() + "' 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

fs::path freshDirectory(const std::string& name) {
    const fs::path dir = fs::path(::testing::TempDir()) / (name + "_" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::set<std::string> manifest(const std::string& component) {
    std::ifstream in(fs::path(VIZ_INSTALL_PREFIX "-manifests") / (component + ".txt"));
    std::set<std::string> files;
    for (std::string line; std::getline(in, line);) {
        files.insert(line);
    }
    return files;
}

// Runs the example from the installed resource directory's parent, as its comment shows, and
// checks that the frame it writes shows more than a cleared screen.
void expectExampleDraws(const fs::path& program, const fs::path& dir) {
    const fs::path frame = dir / "frame.ppm";
    const fs::path log = dir / "run.txt";
    ASSERT_EQ(run("cd '" + kShareDir.string() + "' && LD_LIBRARY_PATH='" + kLibDir.string() +
                      "' VISUALIZATION_LOG='" + (dir / "library.txt").string() + "' '" +
                      program.string() + "' res '" + frame.string() + "'",
                  log),
              0)
        << readText(log);
    const std::string library = readText(dir / "library.txt");
    EXPECT_EQ(library.find("[fs]"), std::string::npos) << "an asset is missing:\n" << library;
    EXPECT_EQ(library.find("GL ERROR"), std::string::npos) << library;

    std::ifstream in(frame, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maximum = 0;
    in >> magic >> width >> height >> maximum;
    in.get();
    ASSERT_EQ(magic, "P6");
    ASSERT_EQ(width, 1920);
    ASSERT_EQ(height, 1080);
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    ASSERT_TRUE(in.read(reinterpret_cast<char*>(rgb.data()), static_cast<long>(rgb.size())));
    std::map<unsigned, size_t> colours;
    for (size_t i = 0; i < rgb.size(); i += 3) {
        ++colours[rgb[i] << 16 | rgb[i + 1] << 8 | rgb[i + 2]];
    }
    size_t background = 0;
    for (const auto& [colour, count] : colours) {
        background = std::max(background, count);
    }
    const size_t pixels = rgb.size() / 3;
    EXPECT_GT(colours.size(), 50u) << "a frame of few colours: nothing drawn";
    EXPECT_GT(pixels - background, pixels / 100) << "under 1% of the frame is drawn";
}

TEST(InstalledTree, HoldsTheThreeComponentsAndExportsTheTenFunctions) {
    std::set<std::string> listed;
    for (const char* component : {"runtime", "dev", "tools"}) {
        const std::set<std::string> files = manifest(component);
        EXPECT_FALSE(files.empty()) << component;
        for (const std::string& file : files) {
            EXPECT_TRUE(listed.insert(file).second) << file << " is in two components";
        }
    }
    std::set<std::string> present;
    for (const auto& entry : fs::recursive_directory_iterator(kPrefix)) {
        if (!entry.is_directory() || entry.is_symlink()) {
            present.insert(entry.path().string());
        }
    }
    EXPECT_EQ(present, listed);

    // The whole resource directory, and the library under its SONAME behind the link to build
    // against.
    const fs::path res = fs::path(VIZ_SOURCE_DIR) / "res";
    for (const auto& entry : fs::recursive_directory_iterator(res)) {
        if (entry.is_regular_file()) {
            const fs::path installed = kShareDir / "res" / fs::relative(entry.path(), res);
            EXPECT_TRUE(fs::exists(installed)) << installed;
        }
    }
    for (const std::string name : {"libvisualization", "libvisualization-platform"}) {
        EXPECT_EQ(fs::read_symlink(kLibDir / (name + ".so")), name + ".so." VIZ_SOVERSION);
        EXPECT_EQ(fs::read_symlink(kLibDir / (name + ".so." VIZ_SOVERSION)),
                  name + ".so." VIZ_VERSION);
    }
    const fs::path log = freshDirectory("exports") / "log.txt";
    EXPECT_EQ(run("'" VIZ_SOURCE_DIR "/tests/check_exports.sh' '" +
                      (kLibDir / "libvisualization.so." VIZ_SOVERSION).string() + "'",
                  log),
              0)
        << readText(log);
}

TEST(InstalledTree, ExampleBuildsWithPkgConfigAloneAndDraws) {
    const fs::path dir = freshDirectory("pkg_config_example");
    const fs::path program = dir / "minimal_host";
    const fs::path log = dir / "build.txt";
    ASSERT_EQ(run("PKG_CONFIG_PATH='" + (kLibDir / "pkgconfig").string() + "' && export " +
                      "PKG_CONFIG_PATH && " VIZ_C_COMPILER " -std=c99 -Wall -Wextra -pedantic " +
                      "-Werror '" + kExample.string() + "' -o '" + program.string() +
                      "' $(pkg-config --cflags --libs visualization)",
                  log),
              0)
        << readText(log);
    expectExampleDraws(program, dir);
}

TEST(InstalledTree, ExampleBuildsWithFindPackage) {
    const fs::path dir = freshDirectory("find_package_example");
    std::ofstream(dir / "CMakeLists.txt")
        << "cmake_minimum_required(VERSION 3.25)\n"
        << "project(minimal_host C)\n"
        << "find_package(visualization " VIZ_SOVERSION " REQUIRED)\n"
        << "add_executable(minimal_host " << kExample << ")\n"
        << "target_link_libraries(minimal_host PRIVATE visualization::visualization)\n";
    const fs::path log = dir / "build.txt";
    ASSERT_EQ(run("'" VIZ_CMAKE_COMMAND "' -S '" + dir.string() + "' -B '" +
                      (dir / "build").string() + "' -DCMAKE_PREFIX_PATH='" + kPrefix.string() +
                      "' && '" VIZ_CMAKE_COMMAND "' --build '" + (dir / "build").string() + "'",
                  log),
              0)
        << readText(log);
    expectExampleDraws(dir / "build/minimal_host", dir);
}

TEST(InstalledTree, ToolsFindTheLibraryAndResourcesBesideThem) {
    const fs::path dir = freshDirectory("installed_tools");
    const fs::path log = dir / "run.txt";
    ASSERT_EQ(run("cd '" + dir.string() + "' && '" + (kPrefix / "bin/vizhost").string() +
                      "' --frames frames --size 160x90 --duration 0.1",
                  log),
              0)
        << readText(log);
    EXPECT_TRUE(fs::exists(dir / "frames/frame_000001.png")) << readText(log);
    EXPECT_EQ(run("'" + (kPrefix / "bin/vizgallery").string() + "' --help", log), 0)
        << readText(log);
}

}  // namespace
