// The point-field modes: each animator's CPU work per frame on its own at full HD, then the
// whole frame (update and the instanced draw) on the headless context at 1280 x 720 and
// 1920 x 1080. The synthetic levels move like music with a beat every half second, so culling,
// triggers, spawning and the emitted instance count vary as they would on a real song.
#include <GLES3/gl3.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "alloc_counter.h"
#include "bench_gl.h"
#include "visualization/content/2020/content.h"

namespace {

using content2020::ContentMode;

class SyntheticMusic {
public:
    SyntheticMusic() {
        mSound.soundClassCurrent = mSound.soundClassNext = SoundClass::Dynamic;
        mSound.levels = &mLevels;
        mSound.historyMin = &mMin;
        mSound.historyMid = &mMid;
        mSound.historyMax = &mMax;
        for (int i = 0; i < 240; ++i) {
            next();
        }
    }

    // Shifts the histories by one frame without allocating.
    void next() {
        ++mFrame;
        const float beat = (mFrame % 30) < 3 ? 1.0f : 0.0f;
        const float w = 0.5f + 0.35f * std::sin(mFrame * 0.05f);
        for (size_t i = 0; i < mLevels.size(); ++i) {
            mLevels[i] = 0.5f + 0.5f * std::sin(mFrame * 0.1f + i);
        }
        for (std::vector<float>* h : {&mMin, &mMid, &mMax}) {
            for (size_t i = h->size() - 1; i > 0; --i) {
                (*h)[i] = (*h)[i - 1];
            }
        }
        mMin[0] = w * w * 0.5f;
        mMid[0] = w * 0.7f + beat * 0.3f;
        mMax[0] = std::min(1.0f, w * 0.6f + beat * 0.4f);
    }

    const content2020::SoundFrame& frame() const { return mSound; }

private:
    std::vector<float> mLevels = std::vector<float>(8);
    std::vector<float> mMin = std::vector<float>(240);
    std::vector<float> mMid = std::vector<float>(240);
    std::vector<float> mMax = std::vector<float>(240);
    content2020::SoundFrame mSound;
    int mFrame = 0;
};

std::unique_ptr<content2020::AbstractAnimator> warmAnimator(ContentMode mode, SyntheticMusic& music,
                                                            uint32_t width = bench::kWidth,
                                                            uint32_t height = bench::kHeight) {
    std::unique_ptr<content2020::AbstractAnimator> animator =
        content2020::createAnimator(mode, width, height);
    animator->setPaletteIndex(0, true);
    // Long enough for particle modes to reach their steady population.
    for (int i = 0; i < 900; ++i) {
        music.next();
        animator->update(1.0f / 60.0f, RotationTransition{}, music.frame());
    }
    return animator;
}

void BM_AnimatorUpdate(benchmark::State& state) {
    const auto mode = static_cast<ContentMode>(state.range(0));
    state.SetLabel(content2020::ContentModeNames.at(mode));
    SyntheticMusic music;
    auto animator = warmAnimator(mode, music);
    size_t instances = 0;
    double area = 0.0;
    const uint64_t before = bench::allocationCount();
    for (auto _ : state) {
        animator->update(1.0f / 60.0f, RotationTransition{}, music.frame());
        const auto& drawn = animator->getRenderState().instances;
        instances += drawn.size();
        state.PauseTiming();
        for (const auto& instance : drawn) {
            area += 4.0 * static_cast<double>(instance.scale) * instance.scale;
        }
        music.next();
        state.ResumeTiming();
    }
    bench::reportAllocations(state, before);
    const auto frames = static_cast<double>(state.iterations());
    state.counters["instances"] = static_cast<double>(instances) / frames;
    // Sprite area over screen area: the fill a software rasteriser pays for, overlaps included.
    state.counters["coverage"] = area / frames / (double{bench::kWidth} * bench::kHeight);
}
BENCHMARK(BM_AnimatorUpdate)
    ->DenseRange(0, content2020::kModeCount - 1)
    ->Unit(benchmark::kMicrosecond);

void BM_AnimatorFrame(benchmark::State& state) {
    const auto height = static_cast<uint32_t>(state.range(1));
    const uint32_t width = height * 16 / 9;
    if (!bench::ensureGl(width, height)) {
        state.SkipWithError("no headless GL context");
        return;
    }
    const auto mode = static_cast<ContentMode>(state.range(0));
    state.SetLabel(content2020::ContentModeNames.at(mode));
    SyntheticMusic music;
    auto animator = warmAnimator(mode, music, width, height);
    content2020::Renderer renderer(width, height);
    auto frame = [&] {
        music.next();
        animator->update(1.0f / 60.0f, RotationTransition{}, music.frame());
        glClear(GL_COLOR_BUFFER_BIT);
        renderer.draw(animator->getRenderState());
        glFinish();
    };
    // The renderer's buffers grow to the largest instance count seen; let them settle first.
    for (int i = 0; i < 300; ++i) {
        frame();
    }
    const uint64_t before = bench::allocationCount();
    for (auto _ : state) {
        frame();
    }
    bench::reportAllocations(state, before);
}
// A frame's fill cost follows the music's swell (a period of about 126 frames): a run of a few
// dozen frames would report whichever part of it the run happened to land on. Two whole periods
// make every run measure the same frames.
BENCHMARK(BM_AnimatorFrame)
    ->ArgsProduct({benchmark::CreateDenseRange(0, content2020::kModeCount - 1, 1), {720, 1080}})
    ->Iterations(252)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
