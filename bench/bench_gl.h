// Shared set-up of the GL benchmarks: one headless context with a full-HD target for the whole
// program, the committed res/ as the resource directory, and the allocation counter report.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

namespace bench {

constexpr uint32_t kWidth = 1920;
constexpr uint32_t kHeight = 1080;

// Makes the context current with a target of this size bound (replacing a target of another
// size). False when no context can be made; the benchmark should then skip.
bool ensureGl(uint32_t width = kWidth, uint32_t height = kHeight);

// Reports the allocations made since `before`, averaged per iteration.
void reportAllocations(benchmark::State& state, uint64_t before);

}  // namespace bench
