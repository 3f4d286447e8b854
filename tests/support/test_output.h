// Where tests put what they write: below the build's test output, whatever the working directory
// they were started in, so that nothing a test writes can land in the source tree.
#pragma once

#include <filesystem>
#include <string>

namespace testsupport {

// The source tree and the build's test output, absolute. They are compiled into one file of the
// support library alone, so that the compiler cache serves every other test file to a checkout
// at another path.
const std::string& sourceDir();
const std::string& testOutputDir();

// A file's bytes; empty when it cannot be read.
std::string readFile(const std::string& path);

// A fresh, empty folder of one test's own, removed with everything in it when this goes. The
// process id keeps tests that run in parallel processes apart.
class ScratchDirectory {
public:
    explicit ScratchDirectory(const std::string& name);
    ~ScratchDirectory();
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
bool enterTestOutput();

}  // namespace testsupport
