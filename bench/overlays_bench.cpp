// The per-frame cost of the two overlays at 1920 x 1080: the speaker rings' dot emission alone
// (CPU), the rings drawn, and the always-on cover with a turning mask; each with the
// allocations of a warm frame, which must be zero.
#include <GLES3/gl3.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "alloc_counter.h"
#include "bench_gl.h"
#include "headless_gl.h"
#include "visualization/aod_overlay.h"
#include "visualization/speaker_overlay.h"
#include "visualization/util/math/quaternion.h"

namespace {

using bench::ensureGl;
using bench::kHeight;
using bench::kWidth;
using bench::reportAllocations;

// Emission at 3 s, when both waves of every source are on screen: the busiest frames.
void BM_SpeakerOverlayEmit(benchmark::State& state) {
    SpeakerOverlay overlay(kWidth, kHeight, static_cast<SpeakerInfo>(state.range(0)), false);
    overlay.draw(3.0f);
    overlay.draw(0.0f);
    const uint64_t before = bench::allocationCount();
    for (auto _ : state) {
        overlay.draw(0.0f);
        benchmark::DoNotOptimize(overlay.getRenderEntities().data());
    }
    reportAllocations(state, before);
    state.counters["dots"] = static_cast<double>(overlay.getRenderEntities().size());
}

void BM_SpeakerOverlayDraw(benchmark::State& state) {
    if (!ensureGl()) {
        state.SkipWithError("no headless GL context");
        return;
    }
    SpeakerOverlay overlay(kWidth, kHeight, SpeakerInfo::TV_3);
    overlay.draw(3.0f);
    overlay.draw(0.0f);
    const uint64_t before = bench::allocationCount();
    for (auto _ : state) {
        overlay.draw(0.0f);
        glFinish();
    }
    reportAllocations(state, before);
}

void BM_AODOverlayFrame(benchmark::State& state) {
    if (!ensureGl()) {
        state.SkipWithError("no headless GL context");
        return;
    }
    AODOverlay overlay(kWidth, kHeight);
    AODMask mask(4, vec2f{1.1f, 1.7f}, vec2f{});
    overlay.setDisplayModeBlend(1.0f);
    float angle = 0.0f;
    // Warm up: the driver compiles its shader variants in the first frames.
    for (int i = 0; i < 10; ++i) {
        overlay.update(mask);
        overlay.begin();
        overlay.draw();
        glFinish();
    }
    const uint64_t before = bench::allocationCount();
    for (auto _ : state) {
        // The 2020 contents hand over their camera's rotation every frame.
        angle += 0.01f;
        mask.rotation = math::fromAxisAngle(vec3f{0.0f, 0.0f, 1.0f}, angle);
        overlay.update(mask);
        overlay.begin();
        overlay.draw();
        glFinish();
    }
    reportAllocations(state, before);
}

}  // namespace

BENCHMARK(BM_SpeakerOverlayEmit)
    ->Arg(static_cast<int>(SpeakerInfo::TV_1))
    ->Arg(static_cast<int>(SpeakerInfo::TV_3))
    ->Arg(static_cast<int>(SpeakerInfo::SoundBar_1));
BENCHMARK(BM_SpeakerOverlayDraw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AODOverlayFrame)->Unit(benchmark::kMillisecond);
