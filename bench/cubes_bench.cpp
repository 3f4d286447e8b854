// The cubes modes: each animator's CPU work per frame on its own at full HD, then the whole frame
// (update and the instanced draw) on the headless context at 1280 x 720 and 1920 x 1080. The music
// beats every half second and switches between a driving and a quiet class every four seconds, so
// turns, re-rolls, palette blends and the drift of the quiet classes all take their turn.
#include <GLES3/gl3.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "alloc_counter.h"
#include "bench_gl.h"
#include "visualization/content/2021/cubes/animator_version_0.h"
#include "visualization/content/2021/cubes/animator_version_1.h"
#include "visualization/content/2021/cubes/animator_version_2.h"
#include "visualization/content/2021/cubes/content.h"

namespace {

namespace cubes = content2021::cubes;

constexpr float kDt = 1.0f / 60.0f;

std::unique_ptr<cubes::AbstractAnimator> createAnimator(int mode, uint32_t width, uint32_t height) {
    switch (mode) {
        case 0:
            return std::make_unique<cubes::Animator_Version_0>(width, height);
        case 1:
            return std::make_unique<cubes::Animator_Version_1>(width, height);
        default:
            return std::make_unique<cubes::Animator_Version_2>(width, height);
    }
}

// Frames of the sound input recorded ahead, so that the timed loop holds the animator alone.
std::vector<SoundInput> recordMusic() {
    SoundInput sound;
    std::vector<float> bands(16);
    std::vector<SoundInput> frames;
    for (int frame = 0; frame < 600 + 960; ++frame) {
        const float beat = (frame % 30) < 3 ? 1.0f : 0.0f;
        for (size_t b = 0; b < bands.size(); ++b) {
            bands[b] = -90.0f + 30.0f * std::sin(frame * 0.07f + b) + 50.0f * beat;
        }
        if (frame % 240 == 0) {
            sound.setSoundClass((frame / 240) % 2 ? SoundClass::Dynamic : SoundClass::Calm, false);
        }
        sound.setBandsInfo(bands.data(), static_cast<uint32_t>(bands.size()));
        sound.update(kDt);
        if (frame >= 600) {
            frames.push_back(sound);
        }
    }
    return frames;
}

class Player {
public:
    Player(int mode, uint32_t width, uint32_t height)
        : mMusic(recordMusic()), mAnimator(createAnimator(mode, width, height)) {
        mAnimator->setFade(1.0f);
        for (size_t i = 0; i < mMusic.size(); ++i) {
            update();
        }
    }
    void update() {
        mAnimator->update(kDt, mMusic[mFrame], RotationTransition{});
        mFrame = mFrame + 1 == mMusic.size() ? 0 : mFrame + 1;
    }
    const cubes::AbstractAnimator& animator() const { return *mAnimator; }

private:
    std::vector<SoundInput> mMusic;
    std::unique_ptr<cubes::AbstractAnimator> mAnimator;
    size_t mFrame = 0;
};

void BM_CubesAnimatorUpdate(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    state.SetLabel(cubes::ContentModeNames.at(static_cast<cubes::ContentMode>(mode)));
    Player player(mode, bench::kWidth, bench::kHeight);
    const uint64_t before = bench::allocationCount();
    for (auto _ : state) {
        player.update();
    }
    bench::reportAllocations(state, before);
    state.counters["cubes"] = static_cast<double>(player.animator().getScene().cubes.size());
}
BENCHMARK(BM_CubesAnimatorUpdate)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

void BM_CubesFrame(benchmark::State& state) {
    const auto height = static_cast<uint32_t>(state.range(1));
    const uint32_t width = height * 16 / 9;
    if (!bench::ensureGl(width, height)) {
        state.SkipWithError("no headless GL context");
        return;
    }
    const int mode = static_cast<int>(state.range(0));
    state.SetLabel(cubes::ContentModeNames.at(static_cast<cubes::ContentMode>(mode)));
    Player player(mode, width, height);
    cubes::Renderer renderer;
    auto frame = [&] {
        player.update();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        renderer.draw(player.animator().getScene());
        glFinish();
    };
    for (int i = 0; i < 120; ++i) {
        frame();
    }
    const uint64_t before = bench::allocationCount();
    for (auto _ : state) {
        frame();
    }
    bench::reportAllocations(state, before);
}
BENCHMARK(BM_CubesFrame)->ArgsProduct({{0, 1, 2}, {720, 1080}})->Unit(benchmark::kMicrosecond);

}  // namespace
