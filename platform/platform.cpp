#include "platform.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

platform_log_sink gSink = nullptr;
void* gSinkUser = nullptr;

// The file named by VISUALIZATION_LOG stays open for the life of the process; the name is
// remembered so that a changed variable opens the new file.
std::FILE* gLogFile = nullptr;
std::string gLogFileName;

std::FILE* defaultStream() {
    const char* target = std::getenv("VISUALIZATION_LOG");
    if (target == nullptr || *target == '\0') {
        return stderr;
    }
    if (std::strcmp(target, "off") == 0) {
        return nullptr;
    }
    if (gLogFile == nullptr || gLogFileName != target) {
        if (gLogFile != nullptr) {
            std::fclose(gLogFile);
        }
        gLogFile = std::fopen(target, "a");
        gLogFileName = target;
        if (gLogFile == nullptr) {
            return stderr;
        }
    }
    return gLogFile;
}

}  // namespace

extern "C" int dlog_vprint(int priority, const char* tag, const char* format, va_list args) {
    if (format == nullptr) {
        return -1;
    }
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length < 0) {
        return length;
    }
    std::vector<char> text(static_cast<size_t>(length) + 1);
    std::vsnprintf(text.data(), text.size(), format, args);
    const char* safeTag = tag != nullptr ? tag : "";

    if (gSink != nullptr) {
        gSink(priority, safeTag, text.data(), gSinkUser);
        return length;
    }
    std::FILE* stream = defaultStream();
    if (stream == nullptr) {
        return length;
    }
    // Some messages carry their own trailing newline; the line gets exactly one.
    int shown = length;
    if (shown > 0 && text[static_cast<size_t>(shown) - 1] == '\n') {
        --shown;
    }
    std::fprintf(stream, "%s: %.*s\n", safeTag, shown, text.data());
    std::fflush(stream);
    return length;
}

extern "C" void platform_log_set_sink(platform_log_sink sink, void* user) {
    gSink = sink;
    gSinkUser = sink != nullptr ? user : nullptr;
}
