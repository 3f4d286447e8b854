#include "paths.h"

#include <filesystem>

namespace vizhost {

namespace fs = std::filesystem;

std::string programDirectory() {
    std::error_code failed;
    const fs::path self = fs::read_symlink("/proc/self/exe", failed);
    return failed ? fs::current_path(failed).string() : self.parent_path().string();
}

std::string defaultResourceDirectory() {
    const fs::path installed = fs::path(programDirectory()) / VIZHOST_INSTALLED_RESOURCES;
    std::error_code failed;
    if (fs::is_directory(installed, failed)) {
        return installed.lexically_normal().string();
    }
    return (fs::path(VIZHOST_SOURCE_DIR) / "res").string();
}

std::string defaultLibraryPath(const std::string& name) {
    const fs::path program = programDirectory();
    const fs::path installed =
        program / VIZHOST_INSTALLED_LIBRARY_DIR / (name + "." VIZHOST_LIBRARY_SOVERSION);
    std::error_code failed;
    if (fs::exists(installed, failed)) {
        return installed.lexically_normal().string();
    }
    return (program.parent_path() / name).string();
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
