#include "support/log_capture.h"

#include <algorithm>
#include <cstring>

#include "platform.h"

namespace testsupport {

LogCapture::LogCapture() {
    platform_log_set_sink(&LogCapture::sink, this);
}

LogCapture::~LogCapture() {
    platform_log_set_sink(nullptr, nullptr);
}

void LogCapture::sink(int priority, const char* tag, const char* message, void* user) {
    auto* self = static_cast<LogCapture*>(user);
    self->mLines.emplace_back(message);
    if (priority != 6 || std::strcmp(tag, "VISUALIZATION") != 0) {
        self->mAllTagged = false;
    }
}

std::vector<std::string> LogCapture::matching(const std::string& needle) const {
    std::vector<std::string> found;
    for (const auto& line : mLines) {
        if (line.find(needle) != std::string::npos) {
            found.push_back(line);
        }
    }
    return found;
}

bool LogCapture::contains(const std::string& line) const {
    return std::find(mLines.begin(), mLines.end(), line) != mLines.end();
}

}  // namespace testsupport
