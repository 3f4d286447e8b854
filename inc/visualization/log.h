// The library's one output channel besides the frames: every line goes to the platform log with
// priority 6 and the tag "VISUALIZATION". Scopes bracket an operation with a begin and an end
// line and prefix the messages inside it with the operation's name.
//
// All state here (the scope stacks, the stopwatch stack, the frame-time meter) is process-wide
// and unsynchronised: the host calls the library from its render thread only.
#pragma once

#include <cstdint>
#include <string>

#define VIZ_PRINTF(formatIndex, firstArg) __attribute__((format(printf, formatIndex, firstArg)))

constexpr int kLogPriority = 6;
constexpr const char* kLogTag = "VISUALIZATION";

// Hands the formatted message to the sink unchanged.
void logMessage(const char* format, ...) VIZ_PRINTF(1, 2);

// Opening and closing a scope allocates nothing (names are kept up to 159 characters), so that
// destructors may log theirs even when memory has run out.
void beginScope(const char* name);
void beginScope(const std::string& name);
void endScope();
void beginSubScope(const char* name);
void endSubScope();

// Formats "<current scope> <format>" (or the current sub-scope) with the arguments.
void logInScope(const char* format, ...) VIZ_PRINTF(1, 2);
void logInSubScope(const char* format, ...) VIZ_PRINTF(1, 2);

// Depth of the scope stack: every begin is matched by an end, so it is 0 between host calls.
size_t scopeDepth();
// Closes every scope, sub-scope and stopwatch without a line: for the boundary, after an
// exception has unwound past their ends.
void forgetOpenScopes();

void startStopwatch();
// Whole milliseconds since the matching startStopwatch, truncated.
int64_t stopStopwatch();

void updateFrameTime();
void printFPS();
void printFPSEvery(uint64_t frameCount, uint32_t interval);
float smoothedFrameTime();

// printf into a std::string. The one place where the library throws: a failed format raises
// std::runtime_error("Format error.").
std::string format(const char* format, ...) VIZ_PRINTF(1, 2);
