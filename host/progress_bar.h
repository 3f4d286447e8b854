// The progress line of a long render on standard error: frames done, render speed and the time
// left. On a terminal it redraws one line; into a file or pipe it writes a line every tenth.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <string>

namespace vizhost {

class ProgressBar {
public:
    ProgressBar(size_t total, bool enabled, std::FILE* out = stderr);

    void update(size_t done);
    void finish();

    // The line for `done` of `total` frames after `seconds` of work.
    static std::string format(size_t done, size_t total, double seconds);

private:
    size_t mTotal;
    bool mEnabled;
    std::FILE* mOut;
    bool mTerminal;
    std::chrono::steady_clock::time_point mStart;
    std::chrono::steady_clock::time_point mLastDraw;
    size_t mLastTenth = 0;
};

}  // namespace vizhost
