#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "alloc_counter.h"
#include "visualization/content/2020/animator_circular_1.h"

namespace {

// The rings' CPU work per frame at full HD, with moving synthetic levels so the culling, the
// smoothsteps and the emitted instance count vary like music.
void BM_Circular1Update(benchmark::State& state) {
    content2020::AnimatorCircular_1 animator(1920, 1080);
    std::vector<float> levels(8), min(240), mid(240), max(240);
    content2020::SoundFrame sound;
    sound.soundClassCurrent = sound.soundClassNext = SoundClass::Dynamic;
    sound.levels = &levels;
    sound.historyMin = &min;
    sound.historyMid = &mid;
    sound.historyMax = &max;
    const RotationTransition rotation{};
    int frame = 0;
    auto fill = [&] {
        for (size_t i = 0; i < levels.size(); ++i) {
            levels[i] = 0.5f + 0.5f * std::sin(frame * 0.1f + i);
        }
        for (size_t i = 0; i < max.size(); ++i) {
            const float w = 0.5f + 0.5f * std::sin((frame + i) * 0.2f);
            min[i] = w * w;
            mid[i] = w;
            max[i] = std::min(1.0f, w + 0.3f);
        }
    };
    fill();
    animator.update(1.0f / 60.0f, rotation, sound);
    size_t instances = 0;
    const uint64_t allocations = bench::allocationCount();
    for (auto _ : state) {
        animator.update(1.0f / 60.0f, rotation, sound);
        instances += animator.getRenderState().instances.size();
        state.PauseTiming();
        ++frame;
        fill();
        state.ResumeTiming();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["instances"] = static_cast<double>(instances) / n;
    state.counters["allocs"] = static_cast<double>(bench::allocationCount() - allocations) / n;
}
BENCHMARK(BM_Circular1Update)->Unit(benchmark::kMicrosecond);

}  // namespace
