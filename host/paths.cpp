#include "paths.h"

#include <filesystem>

namespace vizhost {

namespace fs = std::filesystem;

std::string programDirectory() {
    std::error_code failed;
    const fs::path self = fs::read_symlink("/proc/self/exe", failed);
    return failed ? fs::current_path(failed).string() : self.parent_path().string();
}

std::string relativeResourcePath(const std::string& directory) {
    std::error_code failed;
    const fs::path absolute = fs::absolute(directory, failed);
    if (failed) {
        return directory;
    }
    const fs::path relative = fs::relative(absolute, fs::current_path(failed), failed);
    if (failed || relative.empty()) {
        return directory;
    }
    return relative.string();
}

}  // namespace vizhost
