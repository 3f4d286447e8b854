// Makes one chosen allocation of the library fail, as a device out of memory would.
//
// The test program replaces the global operator new and new[]; the shared object it loads
// resolves both through the global scope, where the program comes first, so its allocations pass
// through here too (under AddressSanitizer as well: the program still precedes the sanitizer's
// runtime, to which the replacement forwards). Only allocations that the library's own code
// asks for are counted, directly or through the C++ runtime on its behalf: the GL driver's
// compiler, the platform log and the test itself allocate uncounted, since they are not the code
// under test and would not survive an exception.
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
