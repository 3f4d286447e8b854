// The clock seam. A board links the library against its own log library, and this file then goes
// into the library itself: the steady clock, with the manual one unused.
#include <atomic>
#include <chrono>

#include "platform.h"

namespace {

// The kaleidoscope's photograph worker reads the clock while the host's thread moves it.
std::atomic<bool> gManualClock{false};
std::atomic<long long> gManualNow{0};

}  // namespace

extern "C" long long platform_clock_now_ns(void) {
    if (gManualClock.load(std::memory_order_acquire)) {
        return gManualNow.load(std::memory_order_relaxed);
    }
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

extern "C" void platform_clock_set_manual(long long start_ns) {
    gManualNow.store(start_ns, std::memory_order_relaxed);
    gManualClock.store(true, std::memory_order_release);
}

extern "C" void platform_clock_advance(long long ns) {
    gManualNow.fetch_add(ns, std::memory_order_relaxed);
}

extern "C" void platform_clock_set_real(void) {
    gManualClock.store(false, std::memory_order_release);
}
