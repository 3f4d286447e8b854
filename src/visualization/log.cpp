#include "visualization/log.h"

#include <cstdarg>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "platform.h"

namespace {

std::vector<std::string> gScopes;
std::vector<std::string> gSubScopes;
std::vector<long long> gStopwatches;

float gSmoothedFrameTime = 0.0f;

bool isTagName(const std::string& name) {
    return !name.empty() && name.back() == ']';
}

void vlog(const char* format, va_list args) {
    dlog_vprint(kLogPriority, kLogTag, format, args);
}

void log(const char* format, ...) {
    va_list args;
    va_start(args, format);
    vlog(format, args);
    va_end(args);
}

void vlogPrefixed(const std::string& prefix, const char* format, va_list args) {
    std::string prefixed;
    prefixed.reserve(prefix.size() + 1 + std::char_traits<char>::length(format));
    prefixed.append(prefix).append(" ").append(format);
    vlog(prefixed.c_str(), args);
}

}  // namespace

void logMessage(const char* format, ...) {
    va_list args;
    va_start(args, format);
    vlog(format, args);
    va_end(args);
}

void beginScope(const std::string& name) {
    gScopes.push_back(name);
    log("%s %s", name.c_str(), isTagName(name) ? "Begin" : ", begin");
}

void endScope() {
    const std::string name = gScopes.back();
    gScopes.pop_back();
    log("%s %s", name.c_str(), isTagName(name) ? "End" : ", end");
}

void beginSubScope(const std::string& name) {
    gSubScopes.push_back(name);
    log("%s %s%s", gScopes.back().c_str(), name.c_str(), isTagName(name) ? "Begin" : ", begin");
}

void endSubScope() {
    const std::string& name = gSubScopes.back();
    log("%s %s%s", gScopes.back().c_str(), name.c_str(), isTagName(name) ? "End" : ", end");
    gSubScopes.pop_back();
}

void logInScope(const char* format, ...) {
    va_list args;
    va_start(args, format);
    vlogPrefixed(gScopes.back(), format, args);
    va_end(args);
}

void logInSubScope(const char* format, ...) {
    va_list args;
    va_start(args, format);
    vlogPrefixed(gSubScopes.back(), format, args);
    va_end(args);
}

size_t scopeDepth() {
    return gScopes.size();
}

void startStopwatch() {
    gStopwatches.push_back(platform_clock_now_ns());
}

int64_t stopStopwatch() {
    const long long start = gStopwatches.back();
    gStopwatches.pop_back();
    return static_cast<int64_t>((platform_clock_now_ns() - start) / 1000000);
}

void updateFrameTime() {
    static long long previous = platform_clock_now_ns();
    const long long now = platform_clock_now_ns();
    const float measured = static_cast<float>(static_cast<double>(now - previous) * 1e-9);
    gSmoothedFrameTime = gSmoothedFrameTime + (measured - gSmoothedFrameTime) * 0.1f;
    previous = now;
}

void printFPS() {
    log("[printFPS]: %.2f fps, %.2f ms", static_cast<double>(1.0f / gSmoothedFrameTime),
        static_cast<double>(gSmoothedFrameTime * 1000.0f));
}

void printFPSEvery(uint64_t frameCount, uint32_t interval) {
    updateFrameTime();
    const bool multiple = interval == 0 ? frameCount == 0 : frameCount % interval == 0;
    if (multiple) {
        printFPS();
    }
}

float smoothedFrameTime() {
    return gSmoothedFrameTime;
}

std::string format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length + 1 < 1) {
        va_end(args);
        throw std::runtime_error("Format error.");
    }
    std::string text(static_cast<size_t>(length), '\0');
    std::vsnprintf(text.data(), static_cast<size_t>(length) + 1, format, args);
    va_end(args);
    return text;
}
