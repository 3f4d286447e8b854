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

std::vector<std::string> LogCapture::matching(const std::string& needle, size_t from) const {
    std::vector<std::string> found;
    for (size_t i = from; i < mLines.size(); ++i) {
        if (mLines[i].find(needle) != std::string::npos) {
            found.push_back(mLines[i]);
        }
    }
    return found;
}

std::string LogCapture::lastMode(size_t from) const {
    const std::string prefix = "[ContentPlayer][setContentMode] Mode next: ";
    const std::vector<std::string> lines = matching(prefix, from);
    return lines.empty() ? "" : lines.back().substr(lines.back().find(prefix) + prefix.size());
}

bool LogCapture::contains(const std::string& line) const {
    return std::find(mLines.begin(), mLines.end(), line) != mLines.end();
}

}  // namespace testsupport
