// Makes one chosen allocation of the library fail, as a device out of memory would. The program
// replaces the global operator new and new[], which the shared object it loads resolves to as
// well (under AddressSanitizer too). Only what the library's own code asks for is counted, itself
// or through the C++ runtime: the driver, the platform log and the test are not the code under
// test and would not survive an exception.
#pragma once

#include <cstdint>

namespace failing_new {

enum class Threads {
    Caller,  // the thread that armed: the host's render thread
    Others,  // every other thread: the library's workers
};

// Counts the library's allocations on `threads` from now on; the n-th one throws std::bad_alloc
// and counting stops. n = 0 only counts. The library must be loaded.
void arm(uint64_t n, Threads threads = Threads::Caller);
// Stops counting and answers how many allocations were counted since arm, the failing one
// included.
uint64_t disarm();
// Whether the armed allocation failed.
bool fired();

}  // namespace failing_new
