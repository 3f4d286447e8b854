// Counts heap allocations made through operator new, so a benchmark can report the allocations
// per iteration of a frame path once it is warm (which must be 0).
#pragma once

#include <cstdint>

namespace bench {

uint64_t allocationCount();

}  // namespace bench
