// Where tests put what they write: below the build's test output, whatever the working directory
// they were started in, so that nothing a test writes can land in the source tree.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace testsupport {

// A fresh, empty folder of one test's own, removed with everything in it when this goes. The
// process id keeps tests that run in parallel processes apart.
class ScratchDirectory {
public:
    explicit ScratchDirectory(const std::string& name)
        : mPath(std::filesystem::path(VIZ_TEST_OUTPUT_DIR) / "scratch" /
                (name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(mPath);
        std::filesystem::create_directories(mPath);
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(mPath, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& path() const { return mPath; }
    std::string operator/(const std::string& name) const { return (mPath / name).string(); }
    // From the working directory: the resource path is kept relative (a leading slash is lost).
    std::string relative() const { return std::filesystem::relative(mPath).string(); }

private:
    std::filesystem::path mPath;
};

// Makes the build's test output the working directory, with `res` there standing for the source
// tree's resources: a host that passes "res" finds them, and what it writes by a relative name
// (a log file, a recording) stays in the build.
inline bool enterTestOutput() {
    namespace fs = std::filesystem;
    const fs::path output(VIZ_TEST_OUTPUT_DIR);
    const fs::path resources = fs::path(VIZ_SOURCE_DIR) / "res";
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
