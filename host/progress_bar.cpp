#include "progress_bar.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>

namespace vizhost {

namespace {

std::string clock(double seconds) {
    const long total = std::lround(std::max(0.0, seconds));
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
    return text;
}

}  // namespace

ProgressBar::ProgressBar(size_t total, bool enabled, std::FILE* out)
    : mTotal(std::max<size_t>(total, 1)),
      mEnabled(enabled),
      mOut(out),
      mTerminal(isatty(fileno(out)) != 0),
      mStart(std::chrono::steady_clock::now()),
      mLastDraw(mStart) {}

std::string ProgressBar::format(size_t done, size_t total, double seconds) {
    total = std::max<size_t>(total, 1);
    done = std::min(done, total);
    constexpr int kWidth = 30;
    const int filled = int(kWidth * done / total);
    std::string bar(size_t(filled), '#');
    bar.append(size_t(kWidth - filled), '.');
    const double fps = seconds > 0.0 ? double(done) / seconds : 0.0;
    // Speed relative to the music: 60 frames make one second of it.
    const double speed = fps / 60.0;
    const std::string left = fps > 0.0 ? clock(double(total - done) / fps) : "?:??";
    char text[160];
    std::snprintf(text, sizeof text, "[%s] %zu/%zu frames  %.1f fps (%.2fx)  %s left", bar.c_str(),
                  done, total, fps, speed, left.c_str());
    return text;
}

void ProgressBar::update(size_t done) {
    if (!mEnabled) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(now - mStart).count();
    if (mTerminal) {
        if (now - mLastDraw < std::chrono::milliseconds(200) && done < mTotal) {
            return;
        }
        mLastDraw = now;
        std::fprintf(mOut, "\r%s", format(done, mTotal, seconds).c_str());
        std::fflush(mOut);
        return;
    }
    const size_t tenth = done * 10 / mTotal;
    if (tenth > mLastTenth) {
        mLastTenth = tenth;
        std::fprintf(mOut, "%s\n", format(done, mTotal, seconds).c_str());
    }
}

void ProgressBar::finish() {
    if (mEnabled && mTerminal) {
        std::fprintf(mOut, "\n");
    }
}

}  // namespace vizhost
