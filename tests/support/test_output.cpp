#include "support/test_output.h"

#include <unistd.h>

#include <fstream>
#include <iterator>
#include <system_error>

namespace testsupport {

namespace fs = std::filesystem;

const std::string& sourceDir() {
    static const std::string dir = VIZ_SOURCE_DIR;
    return dir;
}

const std::string& testOutputDir() {
    static const std::string dir = VIZ_TEST_OUTPUT_DIR;
    return dir;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

ScratchDirectory::ScratchDirectory(const std::string& name)
    : mPath(fs::path(testOutputDir()) / "scratch" / (name + "-" + std::to_string(::getpid()))) {
    fs::remove_all(mPath);
    fs::create_directories(mPath);
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    fs::remove_all(mPath, ignored);
}

bool enterTestOutput() {
    const fs::path output(testOutputDir());
    const fs::path resources = fs::path(sourceDir()) / "res";
    std::error_code error;
    fs::create_directories(output, error);
    const fs::path link = output / "res";
    if (!fs::equivalent(link, resources, error)) {
        // Made under a name of this process's own and renamed over a missing or stale one in a
        // single step, so tests in parallel processes never see it half made.
        const fs::path fresh = output / ("res-" + std::to_string(::getpid()));
        fs::remove(fresh, error);
        fs::create_directory_symlink(resources, fresh, error);
        fs::rename(fresh, link, error);
    }
    return fs::equivalent(link, resources, error) && ::chdir(output.c_str()) == 0;
}

}  // namespace testsupport
