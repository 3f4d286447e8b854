// The reference host's per-frame music work: one windowed transform into bands and one step of
// the sound classifier, for the band counts a user may ask for. A warm frame allocates nothing.
#include <benchmark/benchmark.h>

#include "alloc_counter.h"
#include "band_analyzer.h"
#include "demo_song.h"
#include "sound_classifier.h"

namespace {

void BM_HostAnalysisFrame(benchmark::State& state) {
    static const vizhost::AudioClip music = vizhost::DemoSong::synthesizePart(2);
    vizhost::BandAnalyzer analyzer(uint32_t(state.range(0)), music.sampleRate);
    vizhost::SoundClassifier classifier;
    const int64_t hop = music.sampleRate / 60;
    int64_t end = hop;
    auto frame = [&] {
        analyzer.analyze(music.mono.data(), music.mono.size(), end);
        classifier.push(analyzer.bands(), analyzer.loudness(), analyzer.centroid());
        end = end + hop > int64_t(music.frameCount()) ? hop : end + hop;
    };
    // Past the first decision, so every frame measures the whole window.
    for (int i = 0; i < 300; ++i) {
        frame();
    }
    const uint64_t allocationsBefore = bench::allocationCount();
    for (auto _ : state) {
        frame();
        benchmark::DoNotOptimize(analyzer.bands().data());
    }
    state.counters["allocs_per_frame"] = benchmark::Counter(
        double(bench::allocationCount() - allocationsBefore), benchmark::Counter::kAvgIterations);
}

}  // namespace

BENCHMARK(BM_HostAnalysisFrame)->Arg(16)->Arg(64)->Arg(256);
