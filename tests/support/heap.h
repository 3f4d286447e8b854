// What the process's heap holds, for tests that a piece of work leaves nothing on it.
#pragma once

#include <malloc.h>

#include <cstddef>
#include <cstdlib>

namespace testsupport {

inline size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Under AddressSanitizer the heap is its own, which mallinfo2 does not see.
inline bool heapVisible() {
    const size_t before = heapInUse();
    void* volatile block = std::malloc(1u << 20);
    const bool visible = heapInUse() - before >= (1u << 20);
    std::free(block);
    return visible;
}

}  // namespace testsupport
