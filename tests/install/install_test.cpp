// The installed tree as an integrator gets it: what is in it, the C example built against it
// with pkg-config alone and with find_package, and the tools run from it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_output.h"

namespace {

namespace fs = std::filesystem;

const fs::path kPrefix = VIZ_INSTALL_PREFIX;
const fs::path kLibDir = kPrefix / VIZ_INSTALL_LIBDIR;
const std::string kExample = testsupport::sourceDir() + "/examples/minimal_host.c";

std::string readText(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs a shell command in `dir`, its output going to dir/log.txt; answers the exit code.
int run(const fs::path& dir, const std::string& command) {
    const std::string line =
        "cd '" + dir.string() + "' && " + command + " >'" + (dir / "log.txt").string() + "' 2>&1";
    const int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(InstalledTree, HoldsTheComponentsAndExportsTheTenFunctions) {
    std::multiset<std::string> listed;
    for (const char* component : {"runtime", "dev", "tools"}) {
        std::ifstream manifest(VIZ_INSTALL_PREFIX "-manifests/" + std::string(component) + ".txt");
        for (std::string file; std::getline(manifest, file);) {
            listed.insert(file);
        }
    }
    std::multiset<std::string> present;
    for (const auto& entry : fs::recursive_directory_iterator(kPrefix)) {
        if (!entry.is_directory() || entry.is_symlink()) {
            present.insert(entry.path().string());
        }
    }
    EXPECT_EQ(present, listed) << "a file of no component, or of two";

    const testsupport::ScratchDirectory scratch("exports");
    const fs::path& dir = scratch.path();
    EXPECT_EQ(run(dir, testsupport::sourceDir() + "/tests/check_exports.sh " +
                           (kLibDir / "libvisualization.so." VIZ_SOVERSION).string()),
              0)
        << readText(dir / "log.txt");
}

TEST(InstalledTree, ExampleBuiltWithPkgConfigAloneDraws) {
    const testsupport::ScratchDirectory scratch("pkg-config-example");
    const fs::path& dir = scratch.path();
    ASSERT_EQ(
        run(dir, "export PKG_CONFIG_PATH=" + (kLibDir / "pkgconfig").string() +
                     " && " VIZ_C_COMPILER " -std=c99 -Wall -Wextra -pedantic -Werror " + kExample +
                     " -o minimal_host $(pkg-config --cflags --libs visualization)"),
        0)
        << readText(dir / "log.txt");
    // From the resource directory's parent, as the example's comment shows.
    ASSERT_EQ(run(dir, "cd " + (kPrefix / "share/visualization").string() +
                           " && LD_LIBRARY_PATH=" + kLibDir.string() + " VISUALIZATION_LOG=" +
                           (dir / "library.txt").string() + " " + (dir / "minimal_host").string() +
                           " res " + (dir / "frame.ppm").string()),
              0)
        << readText(dir / "log.txt");
    const std::string log = readText(dir / "library.txt");
    // Nothing the example sends may go before the instance exists.
    for (const char* missing : {"[fs]", "Default images path", "GL ERROR", "no instance"}) {
        EXPECT_EQ(log.find(missing), std::string::npos) << log;
    }

    // More than a cleared screen: many colours, and over 1% of the frame unlike the most common.
    std::ifstream in(dir / "frame.ppm", std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maximum = 0;
    in >> magic >> width >> height >> maximum;
    in.get();
    ASSERT_EQ(magic + " " + std::to_string(width) + "x" + std::to_string(height), "P6 1920x1080");
    std::vector<unsigned char> rgb(size_t(width) * height * 3);
    ASSERT_TRUE(in.read(reinterpret_cast<char*>(rgb.data()), long(rgb.size())));
    std::map<unsigned, size_t> colours;
    size_t mostCommon = 0;
    for (size_t i = 0; i < rgb.size(); i += 3) {
        mostCommon = std::max(mostCommon, ++colours[rgb[i] << 16 | rgb[i + 1] << 8 | rgb[i + 2]]);
    }
    EXPECT_GT(colours.size(), 50u);
    EXPECT_GT(rgb.size() / 3 - mostCommon, rgb.size() / 300);
}

TEST(InstalledTree, ExampleBuildsWithFindPackage) {
    const testsupport::ScratchDirectory scratch("find-package-example");
    const fs::path& dir = scratch.path();
    std::ofstream(dir / "CMakeLists.txt")
        << "cmake_minimum_required(VERSION 3.25)\nproject(minimal_host C)\n"
        << "find_package(visualization " VIZ_SOVERSION " REQUIRED)\n"
        << "add_executable(minimal_host " << kExample << ")\n"
        << "target_link_libraries(minimal_host PRIVATE visualization::visualization)\n";
    EXPECT_EQ(run(dir, VIZ_CMAKE_COMMAND " -S . -B build -DCMAKE_PREFIX_PATH=" + kPrefix.string() +
                           " && " VIZ_CMAKE_COMMAND " --build build"),
              0)
        << readText(dir / "log.txt");
}

TEST(InstalledTree, ToolsFindTheLibraryAndResourcesBesideThem) {
    const testsupport::ScratchDirectory scratch("installed-tools");
    const fs::path& dir = scratch.path();
    EXPECT_EQ(run(dir, (kPrefix / "bin/vizhost").string() +
                           " --frames frames --size 160x90 --duration 0.1 --analyzer && " +
                           (kPrefix / "bin/vizgallery").string() + " --help"),
              0)
        << readText(dir / "log.txt");
    EXPECT_TRUE(fs::exists(dir / "frames/frame_000001.png"));
}

}  // namespace
