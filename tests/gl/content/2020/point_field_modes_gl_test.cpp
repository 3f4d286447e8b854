#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gl/overlay_gl_test.h"
#include "visualization/content/2020/animator_circular_2.h"
#include "visualization/content/2020/animator_waves_2.h"
#include "visualization/content/2020/renderer.h"

namespace {

using content2020::AbstractAnimator;
using content2020::Renderer;
using content2020::SoundFrame;

constexpr uint32_t kWidth = 960;
constexpr uint32_t kHeight = 540;

struct Mode {
    std::string name;
    std::function<AbstractAnimator*()> make;
};

void PrintTo(const Mode& mode, std::ostream* os) {
    *os << mode.name;
}

class PointFieldModesGlTest : public overlaytest::OverlayGlTest,
                              public ::testing::WithParamInterface<Mode> {
protected:
    void SetUp() override {
        OverlayGlTest::SetUp();
        useTarget(kWidth, kHeight);
    }

    int lit(const testsupport::Rgba& background) const {
        int count = 0;
        for (uint32_t y = 0; y < kHeight; ++y) {
            for (uint32_t x = 0; x < kWidth; ++x) {
                count += near(pixel(x, y), background, 3) ? 0 : 1;
            }
        }
        return count;
    }

    void frame(AbstractAnimator& animator, Renderer& renderer, const SoundFrame& sound) {
        animator.update(1.0f / 60.0f, RotationTransition{}, sound);
        const colorf c = animator.getBackgroundColor();
        glClearColor(c.r, c.g, c.b, c.a);
        glClear(GL_COLOR_BUFFER_BIT);
        renderer.draw(animator.getRenderState());
        readBack();
    }
};

// A swelling level history with a beat at the front.
struct Music {
    std::vector<float> levels, min, mid, max;
    explicit Music(float loudness) {
        levels.assign(8, loudness * 0.8f);
        for (int i = 0; i < 240; ++i) {
            const float wave = 0.5f + 0.5f * std::cos(i * 0.15f);
            min.push_back(loudness * wave * wave);
            mid.push_back(loudness * wave);
            max.push_back(loudness * std::min(1.0f, wave + 0.3f));
        }
    }
    SoundFrame frame(SoundClass soundClass) const {
        SoundFrame f;
        f.soundClassCurrent = f.soundClassNext = soundClass;
        f.levels = &levels;
        f.historyMin = &min;
        f.historyMid = &mid;
        f.historyMax = &max;
        return f;
    }
};

}  // namespace

TEST_P(PointFieldModesGlTest, SilenceShowsTheBackgroundAndMusicLightsTheField) {
    std::unique_ptr<AbstractAnimator> animator(GetParam().make());
    Renderer renderer(kWidth, kHeight);
    animator->setPaletteIndex(0, true);

    const Music silent(0.0f);
    frame(*animator, renderer, silent.frame(SoundClass::Loud));
    const testsupport::Rgba background = pixel(0, 0);
    const int quiet = lit(background);
    EXPECT_LT(quiet, static_cast<int>(kWidth * kHeight / 100));

    const Music loud(1.0f);
    for (int i = 0; i < 30; ++i) {
        frame(*animator, renderer, loud.frame(SoundClass::Loud));
    }
    savePng(GetParam().name);
    EXPECT_GT(lit(pixel(0, 0)), quiet + static_cast<int>(kWidth * kHeight / 20));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, PointFieldModesGlTest,
    ::testing::Values(
        Mode{"circular_2", [] { return new content2020::AnimatorCircular_2(kWidth, kHeight); }},
        Mode{"waves_2", [] { return new content2020::AnimatorWaves_2(kWidth, kHeight); }}),
    [](const ::testing::TestParamInfo<Mode>& info) { return info.param.name; });
