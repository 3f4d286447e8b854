// The diagnostics' cost per frame: the band recorder writing a changed frame of 16 or 128 bands
// to a file, and (with the analyzer) the analyzer view's draw at 1920 x 1080.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "alloc_counter.h"
#include "visualization/diagnostics/bands_info_recorder.h"
#include "visualization/spectrum.h"

namespace {

constexpr size_t kFrameVariants = 97;

void BM_BandsInfoRecorderUpdate(benchmark::State& state) {
    const size_t bands = static_cast<size_t>(state.range(0));
    std::vector<std::vector<float>> frames(kFrameVariants, std::vector<float>(bands));
    for (size_t f = 0; f < kFrameVariants; ++f) {
        for (size_t b = 0; b < bands; ++b) {
            frames[f][b] = -65.0f + 50.0f * std::sin(0.37f * float(f) + 1.3f * float(b));
        }
    }
    const std::string path = "/tmp/viz_bench_bands_" + std::to_string(bands) + ".txt";
    Spectrum spectrum;
    BandsInfoRecorder recorder;
    recorder.setPath(path);
    float time = 0.0f;
    size_t frame = 0;
    const auto step = [&] {
        spectrum.setBandsInfo(frames[frame].data(), static_cast<uint32_t>(bands));
        recorder.update(spectrum, time);
        time += 1.0f / 60.0f;
        frame = frame + 1 == kFrameVariants ? 0 : frame + 1;
    };
    for (size_t i = 0; i < 2 * kFrameVariants; ++i) {
        step();
    }
    const uint64_t before = bench::allocationCount();
    for (auto _ : state) {
        step();
    }
    state.counters["allocs_per_update"] = benchmark::Counter(
        static_cast<double>(bench::allocationCount() - before), benchmark::Counter::kAvgIterations);
    recorder.close();
    std::remove(path.c_str());
}
BENCHMARK(BM_BandsInfoRecorderUpdate)->Arg(16)->Arg(128)->Unit(benchmark::kMicrosecond);

}  // namespace
