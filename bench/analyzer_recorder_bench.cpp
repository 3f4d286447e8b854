// The diagnostics' cost per frame: the band recorder writing a changed frame of 16 or 128 bands
// to a file, and the analyzer view with the frame-rate graph drawn at 1920 x 1080.
#include <GLES3/gl3.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "alloc_counter.h"
#include "bench_gl.h"
#include "visualization/diagnostics/analyzer_debug_view.h"
#include "visualization/diagnostics/bands_info_recorder.h"
#include "visualization/diagnostics/fps_graph.h"
#include "visualization/sound_input.h"
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

// The analyzer view and the frame-rate graph over a sound input that has heard a minute of
// changing music in 16 bands and a few sound classes, laid out for 1920 x 1080. Only the calls are
// timed; the rasteriser's queue is finished outside the timing, but the software rasteriser also
// fills pixels inside the calls (whenever a buffer is re-specified), work a TV's GPU does
// asynchronously. With no_fill the same layout goes to a 16 x 16 target, which leaves the CPU
// cost of the view and the driver's calls. compact: the layout without the band panel.
void BM_AnalyzerViewDraw(benchmark::State& state) {
    const bool noFill = state.range(1) == 1;
    if (!(noFill ? bench::ensureGl(16, 16) : bench::ensureGl())) {
        state.SkipWithError("no headless GL context");
        return;
    }
    SoundInput sound;
    std::vector<float> bands(16);
    const SoundClass classes[] = {SoundClass::Loud, SoundClass::Dynamic, SoundClass::Calm};
    for (int frame = 0; frame < 3600; ++frame) {
        for (size_t b = 0; b < bands.size(); ++b) {
            bands[b] = -65.0f + 50.0f * std::sin(0.37f * float(frame) + 1.3f * float(b));
        }
        if (frame % 900 == 0) {
            sound.setSoundClass(classes[(frame / 900) % 3], false);
        }
        sound.setBandsInfo(bands.data(), uint32_t(bands.size()));
        sound.update(1.0f / 60.0f);
    }
    OrvantoAnalyzerDebugView view(bench::kWidth, bench::kHeight, 0);
    view.setCompact(state.range(0) == 1);
    FpsGraph graph;
    for (int i = 0; i < 10; ++i) {
        graph.update();
        view.draw(sound);
        graph.draw(bench::kWidth, bench::kHeight, 1);
    }
    glFinish();
    const uint64_t before = bench::allocationCount();
    for (auto _ : state) {
        graph.update();
        view.draw(sound);
        graph.draw(bench::kWidth, bench::kHeight, 1);
        state.PauseTiming();
        glFinish();
        state.ResumeTiming();
    }
    bench::reportAllocations(state, before);
}
BENCHMARK(BM_AnalyzerViewDraw)
    ->ArgNames({"compact", "no_fill"})
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
