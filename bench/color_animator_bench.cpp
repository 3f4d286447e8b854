// The per-frame cost of the palette animator base that the cubes, ring and lines animators share:
// beat trigger, sound-class blend, palette mix and beat background, with the family's own work
// left out. Palettes are shaped like the cubes' (five palettes, eight colours per group). The
// music beats every half second and changes sound class every four seconds, so the impulse and the
// palette blend never settle.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "alloc_counter.h"
#include "visualization/content/abstract_color_animator.h"

namespace {

constexpr float kDt = 1.0f / 60.0f;

AbstractColorAnimator::Preset makePreset() {
    AbstractColorAnimator::Preset preset;
    for (DisplayMode mode : {DisplayMode::DEFAULT, DisplayMode::AOD}) {
        for (int p = 0; p < 5; ++p) {
            AbstractColorAnimator::GroupPalettes palette;
            for (size_t g = 0; g < palette.size(); ++g) {
                for (int i = 0; i < 8; ++i) {
                    palette[g].colors.emplace_back(0.1f * p + 0.05f * i, 0.2f * g, 0.5f, 1.0f);
                }
                palette[g].background = {colorf(0.0f, 1.0f), colorf(0.2f * g, 1.0f)};
            }
            preset.palettes[mode].push_back(palette);
        }
    }
    return preset;
}

class BaseAnimator : public AbstractColorAnimator {
public:
    BaseAnimator() : AbstractColorAnimator(1920, 1080), mPreset(makePreset()) {
        createPalettePlaylist(mPreset);
    }

protected:
    void animate(float, const SoundInput&, const RotationTransition&) override {
        benchmark::DoNotOptimize(updatePalette(mPreset).colors.data());
    }

private:
    Preset mPreset;
};

// Frames of the sound input recorded ahead, so that the timed loop holds the animator alone.
// 480 frames cover two sound-class changes from the report to the end of the switch.
std::vector<SoundInput> recordMusic() {
    SoundInput sound;
    std::vector<float> bands(8);
    std::vector<SoundInput> frames;
    for (int frame = 0; frame < 600 + 480; ++frame) {
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

void BM_ColorAnimatorUpdate(benchmark::State& state) {
    const float displayModeBlend = state.range(0) == 0 ? 0.0f : 0.5f;
    state.SetLabel(displayModeBlend == 0.0f ? "DEFAULT" : "DEFAULT and AOD mixed");
    const std::vector<SoundInput> music = recordMusic();
    BaseAnimator animator;
    const RotationTransition rest{};
    size_t frame = 0;
    auto update = [&] {
        animator.setPaused(false);
        animator.setFade(1.0f);
        animator.setDisplayModeBlend(displayModeBlend);
        animator.update(kDt, music[frame], rest);
        frame = frame + 1 == music.size() ? 0 : frame + 1;
    };
    for (size_t i = 0; i < music.size(); ++i) {
        update();
    }
    const uint64_t before = bench::allocationCount();
    for (auto _ : state) {
        update();
    }
    state.counters["allocs_per_frame"] = benchmark::Counter(
        static_cast<double>(bench::allocationCount() - before), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ColorAnimatorUpdate)->Arg(0)->Arg(1);

}  // namespace
