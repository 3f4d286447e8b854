// The per-frame cost of the sound input with the band counts a host may send, and proof that a
// warm update allocates nothing.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "alloc_counter.h"
#include "visualization/sound_input.h"

namespace {

// Enough distinct frames that the frozen check never takes its all-equal path and the range
// search sees moving data, as with real music.
constexpr size_t kFrameVariants = 97;

void BM_SoundInputUpdate(benchmark::State& state) {
    const size_t bands = static_cast<size_t>(state.range(0));
    std::vector<std::vector<float>> frames(kFrameVariants, std::vector<float>(bands));
    for (size_t f = 0; f < kFrameVariants; ++f) {
        for (size_t b = 0; b < bands; ++b) {
            frames[f][b] = -65.0f + 50.0f * std::sin(0.37f * f + 1.3f * b);
        }
    }

    SoundInput input;
    input.setSoundClass(SoundClass::Loud, false);
    // Warm up: size the analyser and fill the whole history once.
    for (size_t i = 0; i < 300; ++i) {
        input.setBandsInfo(frames[i % kFrameVariants].data(), static_cast<uint32_t>(bands));
        input.update(1.0f / 60.0f);
    }

    size_t frame = 0;
    const uint64_t allocationsBefore = bench::allocationCount();
    for (auto _ : state) {
        input.setBandsInfo(frames[frame].data(), static_cast<uint32_t>(bands));
        input.update(1.0f / 60.0f);
        frame = frame + 1 == kFrameVariants ? 0 : frame + 1;
        benchmark::DoNotOptimize(input.getSpectrum().levelsSmoothed().data());
    }
    const uint64_t allocations = bench::allocationCount() - allocationsBefore;
    state.counters["allocs_per_update"] =
        benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
    state.counters["bands"] = static_cast<double>(bands);
}

}  // namespace

BENCHMARK(BM_SoundInputUpdate)->Arg(8)->Arg(32)->Arg(128);
