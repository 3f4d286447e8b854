#include "visualization/log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "platform.h"

namespace {

// Scope names are copied into fixed slots, so that opening and closing a scope never allocates:
// the destructors log their scopes, and deleting an instance must not fail half-way when memory
// has run out (a destructor that throws ends the process).
class NameStack {
public:
    void push(const char* name) {
        if (mDepth < kMaxDepth) {
            std::snprintf(mNames[mDepth], kMaxName, "%s", name);
        }
        ++mDepth;
    }
    void pop() { --mDepth; }
    // Scopes nested deeper than the slots (none are) end under the deepest name kept.
    const char* top() const {
        return mDepth == 0 ? "" : mNames[(mDepth < kMaxDepth ? mDepth : kMaxDepth) - 1];
    }
    size_t depth() const { return mDepth; }
    void clear() { mDepth = 0; }

private:
    static constexpr size_t kMaxDepth = 32;
    static constexpr size_t kMaxName = 160;
    char mNames[kMaxDepth][kMaxName] = {};
    size_t mDepth = 0;
};

NameStack gScopes;
NameStack gSubScopes;
std::vector<long long> gStopwatches;

float gSmoothedFrameTime = 0.0f;

bool isTagName(const char* name) {
    const size_t length = std::strlen(name);
    return length > 0 && name[length - 1] == ']';
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

void vlogPrefixed(const char* prefix, const char* format, va_list args) {
    char prefixed[512];
    const int length = std::snprintf(prefixed, sizeof(prefixed), "%s %s", prefix, format);
    if (length >= 0 && static_cast<size_t>(length) < sizeof(prefixed)) {
        vlog(prefixed, args);
        return;
    }
    std::string longer;
    longer.append(prefix).append(" ").append(format);
    vlog(longer.c_str(), args);
}

}  // namespace

void logMessage(const char* format, ...) {
    va_list args;
    va_start(args, format);
    vlog(format, args);
    va_end(args);
}

void beginScope(const char* name) {
    gScopes.push(name);
    log("%s %s", name, isTagName(name) ? "Begin" : ", begin");
}

void beginScope(const std::string& name) {
    beginScope(name.c_str());
}

void endScope() {
    const char* name = gScopes.top();
    log("%s %s", name, isTagName(name) ? "End" : ", end");
    gScopes.pop();
}

void beginSubScope(const char* name) {
    gSubScopes.push(name);
    log("%s %s%s", gScopes.top(), name, isTagName(name) ? "Begin" : ", begin");
}

void endSubScope() {
    const char* name = gSubScopes.top();
    log("%s %s%s", gScopes.top(), name, isTagName(name) ? "End" : ", end");
    gSubScopes.pop();
}

void logInScope(const char* format, ...) {
    va_list args;
    va_start(args, format);
    vlogPrefixed(gScopes.top(), format, args);
    va_end(args);
}

void logInSubScope(const char* format, ...) {
    va_list args;
    va_start(args, format);
    vlogPrefixed(gSubScopes.top(), format, args);
    va_end(args);
}

size_t scopeDepth() {
    return gScopes.depth();
}

void forgetOpenScopes() {
    gScopes.clear();
    gSubScopes.clear();
    gStopwatches.clear();
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
