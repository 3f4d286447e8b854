// The ring modes: each animator's update on its own at full HD, the renderer's geometry building
// (the CPU half of its draw), and the whole frame on the headless context at 1280 x 720 and
// 1920 x 1080. The synthetic bands swell and fall with a beat every half second in a beat-driven
// class, so triggers, turns and stamps run as on a real song.
#include <GLES3/gl3.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "alloc_counter.h"
#include "bench_gl.h"
#include "synthetic_music.h"
#include "visualization/content/2021/ring/animator_version_0.h"
#include "visualization/content/2021/ring/animator_version_1.h"
#include "visualization/content/2021/ring/animator_version_2.h"
#include "visualization/content/2021/ring/animator_version_3.h"
#include "visualization/content/2021/ring/animator_version_4.h"
#include "visualization/content/2021/ring/animator_version_5.h"
#include "visualization/content/2021/ring/content.h"
#include "visualization/content/2021/ring/renderer.h"

namespace {

namespace ring = content2021::ring;

constexpr float kDt = 1.0f / 60.0f;

using Music = bench::SyntheticMusic;

std::unique_ptr<ring::AbstractAnimator> makeWarmAnimator(int version, Music& music, uint32_t width,
                                                         uint32_t height) {
    std::unique_ptr<ring::AbstractAnimator> animator;
    switch (version) {
        case 0:
            animator = std::make_unique<ring::Animator_Version_0>(width, height);
            break;
        case 1:
            animator = std::make_unique<ring::Animator_Version_1>(width, height);
            break;
        case 2:
            animator = std::make_unique<ring::Animator_Version_2>(width, height);
            break;
        case 3:
            animator = std::make_unique<ring::Animator_Version_3>(width, height);
            break;
        case 4:
            animator = std::make_unique<ring::Animator_Version_4>(width, height);
            break;
        default:
            animator = std::make_unique<ring::Animator_Version_5>(width, height);
            break;
    }
    animator->setFade(1.0f);
    for (int i = 0; i < 300; ++i) {
        music.next();
        animator->update(kDt, music.sound, RotationTransition{});
    }
    return animator;
}

void BM_RingAnimatorUpdate(benchmark::State& state) {
    const auto version = static_cast<int>(state.range(0));
    state.SetLabel(ring::ContentModeNames.at(static_cast<ring::ContentMode>(version)));
    Music music(SoundClass::Dynamic);
    auto animator = makeWarmAnimator(version, music, bench::kWidth, bench::kHeight);
    const uint64_t before = bench::allocationCount();
    for (auto _ : state) {
        animator->update(kDt, music.sound, RotationTransition{});
        state.PauseTiming();
        music.next();
        state.ResumeTiming();
    }
    bench::reportAllocations(state, before);
}
BENCHMARK(BM_RingAnimatorUpdate)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

void BM_RingGeometry(benchmark::State& state) {
    if (!bench::ensureGl()) {
        state.SkipWithError("no headless GL context");
        return;
    }
    const auto version = static_cast<int>(state.range(0));
    state.SetLabel(ring::ContentModeNames.at(static_cast<ring::ContentMode>(version)));
    Music music(SoundClass::Dynamic);
    auto animator = makeWarmAnimator(version, music, bench::kWidth, bench::kHeight);
    ring::Renderer renderer;
    renderer.buildGeometry(animator->getScene());
    const uint64_t before = bench::allocationCount();
    for (auto _ : state) {
        renderer.buildGeometry(animator->getScene());
        benchmark::DoNotOptimize(renderer.getLineVertices().data());
    }
    bench::reportAllocations(state, before);
    state.counters["line vertices"] = static_cast<double>(renderer.getLineVertices().size());
}
BENCHMARK(BM_RingGeometry)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

void BM_RingFrame(benchmark::State& state) {
    const auto height = static_cast<uint32_t>(state.range(1));
    const uint32_t width = height * 16 / 9;
    if (!bench::ensureGl(width, height)) {
        state.SkipWithError("no headless GL context");
        return;
    }
    const auto version = static_cast<int>(state.range(0));
    state.SetLabel(ring::ContentModeNames.at(static_cast<ring::ContentMode>(version)));
    Music music(SoundClass::Dynamic);
    auto animator = makeWarmAnimator(version, music, width, height);
    ring::Renderer renderer;
    auto frame = [&] {
        music.next();
        animator->update(kDt, music.sound, RotationTransition{});
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        renderer.draw(animator->getScene());
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
BENCHMARK(BM_RingFrame)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5}, {720, 1080}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
