// The lines modes: the animator's update on its own at full HD, the same with the renderer's mesh
// building (the CPU half of its draw), and the whole frame through the content on the headless
// context at 1280 x 720 and 1920 x 1080. The synthetic bands swell and fall with a beat every half
// second in the Powerful class, so both triggers, the retargeting and the radius toggle run as on
// a real song. The three modes share one animator class, so one instance stands for all of them.
#include <GLES3/gl3.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

#include "alloc_counter.h"
#include "bench_gl.h"
#include "synthetic_music.h"
#include "visualization/content/2021/lines/animator_version_0.h"
#include "visualization/content/2021/lines/content.h"
#include "visualization/content/2021/lines/renderer.h"

namespace {

namespace lines = content2021::lines;

constexpr float kDt = 1.0f / 60.0f;

using Music = bench::SyntheticMusic;

void warm(lines::AbstractAnimator& animator, Music& music) {
    animator.setFade(1.0f);
    for (int i = 0; i < 300; ++i) {
        music.next();
        animator.update(kDt, music.sound, RotationTransition{});
    }
}

void BM_LinesAnimatorUpdate(benchmark::State& state) {
    Music music(SoundClass::Powerful);
    lines::Animator_Version_0 animator(bench::kWidth, bench::kHeight);
    warm(animator, music);
    const uint64_t before = bench::allocationCount();
    for (auto _ : state) {
        animator.update(kDt, music.sound, RotationTransition{});
        state.PauseTiming();
        music.next();
        state.ResumeTiming();
    }
    bench::reportAllocations(state, before);
}
BENCHMARK(BM_LinesAnimatorUpdate)->Unit(benchmark::kMicrosecond);

void BM_LinesAnimatorAndMeshes(benchmark::State& state) {
    if (!bench::ensureGl()) {
        state.SkipWithError("no headless GL context");
        return;
    }
    Music music(SoundClass::Powerful);
    lines::Animator_Version_0 animator(bench::kWidth, bench::kHeight);
    warm(animator, music);
    lines::Renderer renderer;
    renderer.buildMeshes(animator.getScene());
    const uint64_t before = bench::allocationCount();
    for (auto _ : state) {
        animator.update(kDt, music.sound, RotationTransition{});
        renderer.buildMeshes(animator.getScene());
        benchmark::DoNotOptimize(renderer.getTubeVertices().data());
        state.PauseTiming();
        music.next();
        state.ResumeTiming();
    }
    bench::reportAllocations(state, before);
    state.counters["vertices"] =
        static_cast<double>(renderer.getTubeVertices().size() + renderer.getCapVertices().size());
}
BENCHMARK(BM_LinesAnimatorAndMeshes)->Unit(benchmark::kMicrosecond);

void BM_LinesFrame(benchmark::State& state) {
    const auto height = static_cast<uint32_t>(state.range(1));
    const uint32_t width = height * 16 / 9;
    if (!bench::ensureGl(width, height)) {
        state.SkipWithError("no headless GL context");
        return;
    }
    const auto mode = static_cast<uint32_t>(state.range(0));
    state.SetLabel(lines::ContentModeNames.at(static_cast<lines::ContentMode>(mode)));
    Music music(SoundClass::Powerful);
    lines::Content content(width, height, RotateInfo::Landscape);
    content.setModeIndex(mode);
    content.setTransition(1.0f);
    auto frame = [&] {
        music.next();
        content.update(kDt, music.sound, RotationTransition{});
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        content.render();
        glFinish();
    };
    for (int i = 0; i < 60; ++i) {
        frame();
    }
    const uint64_t before = bench::allocationCount();
    for (auto _ : state) {
        frame();
    }
    bench::reportAllocations(state, before);
}
BENCHMARK(BM_LinesFrame)->ArgsProduct({{0, 1, 2}, {720, 1080}})->Unit(benchmark::kMillisecond);

}  // namespace
