// Per-frame cost of the cameras: one rotation-aware update (two 4x4 inversions and eight corner
// transforms), and the culling test the point-field animators run for every point.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "alloc_counter.h"
#include "visualization/util/noise.h"
#include "visualization/util/orthographic_camera_2d.h"
#include "visualization/util/orthographic_camera_3d.h"
#include "visualization/util/perspective_camera.h"

namespace {

RotationTransition midRotation() {
    RotationTransition rotation{};
    rotation.current = RotateInfo::Landscape;
    rotation.from = RotateInfo::Landscape;
    rotation.to = RotateInfo::Portrait;
    rotation.fractionSmoothed = 0.4f;
    rotation.angleSmoothed = 0.4f * kHalfPi;
    rotation.fractionSnapped = 0.0f;
    rotation.angleSnapped = 0.0f;
    return rotation;
}

template <typename Camera>
void cameraUpdate(benchmark::State& state) {
    Camera camera;
    camera.aspect = 16.0f / 9.0f;
    const RotationTransition rotation = midRotation();
    camera.update(rotation);
    const uint64_t allocations = bench::allocationCount();
    for (auto _ : state) {
        camera.update(rotation);
        benchmark::DoNotOptimize(camera.viewProjectionMatrix);
    }
    state.counters["allocs/iter"] =
        benchmark::Counter(static_cast<double>(bench::allocationCount() - allocations) /
                           static_cast<double>(state.iterations()));
}
BENCHMARK_TEMPLATE(cameraUpdate, OrthographicCamera2d);
BENCHMARK_TEMPLATE(cameraUpdate, OrthographicCamera3d);
BENCHMARK_TEMPLATE(cameraUpdate, PerspectiveCamera);

void visibilityTests10000(benchmark::State& state) {
    OrthographicCamera2d camera;
    camera.aspect = 16.0f / 9.0f;
    camera.size = 540.0f;
    camera.update(midRotation());
    std::mt19937 random(1);
    std::uniform_real_distribution<float> coordinate(-1500.0f, 1500.0f);
    std::vector<float> points(3 * 10000);
    for (size_t i = 0; i < points.size(); i += 3) {
        points[i] = coordinate(random);
        points[i + 1] = coordinate(random);
        points[i + 2] = 1.0f + static_cast<float>(i % 40);
    }
    for (auto _ : state) {
        int outside = 0;
        for (size_t i = 0; i < points.size(); i += 3) {
            outside += camera.isOutside(points[i], points[i + 1], points[i + 2]) ? 1 : 0;
        }
        benchmark::DoNotOptimize(outside);
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(visibilityTests10000);

void noise3dPerCall(benchmark::State& state) {
    float t = 0.0f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(math::noise(t, t * 0.7f, 3.1f));
        t += 0.013f;
    }
}
BENCHMARK(noise3dPerCall);

}  // namespace
