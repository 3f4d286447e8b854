// The content player's whole frame at 1920 x 1080 on the headless context: clear, state
// machines, the current content and both overlays, past the intro and with the speaker rings
// finished, so it measures the steady state a viewer sees for hours.
#include <GLES3/gl3.h>
#include <benchmark/benchmark.h>

#include "alloc_counter.h"
#include "bench_gl.h"
#include "visualization/content_player.h"
#include "visualization/util/gl/shared_context.h"

namespace {

void BM_ContentPlayerFrame(benchmark::State& state) {
    if (!bench::ensureGl()) {
        state.SkipWithError("no headless GL context");
        return;
    }
    SoundInput sound;
    sound.populate(
        [](float* out, uint32_t band, uint32_t, uint32_t frame, uint32_t, float lo, float hi) {
            *out = lo + (hi - lo) * float((band * 3 + frame) % 11) / 11.0f;
        });
    ContentPlayerPreset preset;
    preset.skipIntro = true;
    ContentPlayer player(bench::kWidth, bench::kHeight, RotateInfo::Landscape, SpeakerInfo::TV_1,
                         DisplayMode::DEFAULT, preset);
    player.activateAnimationMode();
    for (int i = 0; i < 600; ++i) {
        player.update(1.0f / 60.0f, sound);
    }
    glFinish();
    const uint64_t before = bench::allocationCount();
    for (auto _ : state) {
        player.update(1.0f / 60.0f, sound);
        glFinish();
    }
    bench::reportAllocations(state, before);
}
BENCHMARK(BM_ContentPlayerFrame)->Unit(benchmark::kMicrosecond);

// What sharing the host's context adds to every OnUpdateGlApp: the records reset, the error
// drain and the save of the host's state on entry, the base render state, and giving the host's
// state back on exit.
void BM_SharedContextPerFrame(benchmark::State& state) {
    if (!bench::ensureGl()) {
        state.SkipWithError("no headless GL context");
        return;
    }
    for (auto _ : state) {
        const gl::HostCall call;
        gl::applyBaseRenderState();
        benchmark::DoNotOptimize(call.hostErrorCount());
    }
    glFinish();
}
BENCHMARK(BM_SharedContextPerFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
