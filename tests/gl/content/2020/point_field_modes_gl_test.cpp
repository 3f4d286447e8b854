#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "gl/overlay_gl_test.h"
#include "support/sound_frames.h"
#include "visualization/content/2020/content.h"
#include "visualization/content/2020/renderer.h"

namespace {

using content2020::AbstractAnimator;
using Mode = content2020::ContentMode;
using content2020::Renderer;

constexpr uint32_t kWidth = 960;
constexpr uint32_t kHeight = 540;
constexpr float kDt = 1.0f / 60.0f;

// One new frame, newest first, as the sound input hands them over.
void push(testsupport::SoundHistories& music, float level) {
    std::fill(music.levels.begin(), music.levels.end(), level);
    for (std::vector<float>* history : {&music.min, &music.mid, &music.max}) {
        history->pop_back();
        history->insert(history->begin(), level);
    }
    music.min.front() = level * level;
}

class PointFieldModesGlTest : public overlaytest::OverlayGlTest,
                              public ::testing::WithParamInterface<Mode> {
protected:
    void SetUp() override {
        OverlayGlTest::SetUp();
        useTarget(kWidth, kHeight);
        mAnimator = content2020::createAnimator(GetParam(), kWidth, kHeight);
        mAnimator->setPaletteIndex(0, true);
        mRenderer = std::make_unique<Renderer>(kWidth, kHeight);
    }

    void play(float level, int frames) {
        for (int i = 0; i < frames; ++i) {
            push(mMusic, level);
            mAnimator->update(kDt, testsupport::kRest, mMusic.frame(SoundClass::Loud));
        }
        const colorf c = mAnimator->getBackgroundColor();
        glClearColor(c.r, c.g, c.b, c.a);
        glClear(GL_COLOR_BUFFER_BIT);
        mRenderer->draw(mAnimator->getRenderState());
        readBack();
    }

    // How far the frame is from a plain background: the summed channel difference.
    double energy() const {
        const testsupport::Rgba background = pixel(0, 0);
        double sum = 0.0;
        for (uint32_t y = 0; y < kHeight; y += 2) {
            for (uint32_t x = 0; x < kWidth; x += 2) {
                const testsupport::Rgba c = pixel(x, y);
                sum += std::abs(c.r - background.r) + std::abs(c.g - background.g) +
                       std::abs(c.b - background.b);
            }
        }
        return sum / ((kWidth / 2) * (kHeight / 2));
    }

    std::string name() const { return content2020::ContentModeNames.at(GetParam()); }

    std::unique_ptr<AbstractAnimator> mAnimator;
    std::unique_ptr<Renderer> mRenderer;
    testsupport::SoundHistories mMusic;
};

}  // namespace

// Silence leaves (nearly) the background, music lights the field, and a beat after a quiet
// stretch brightens it again: each mode must visibly follow the sound, not merely animate.
TEST_P(PointFieldModesGlTest, SilenceMusicAndABeatGiveDifferentPictures) {
    play(0.0f, 30);
    const double silent = energy();

    play(0.8f, 90);
    savePng("mode_" + name() + "_loud");
    const double loud = energy();
    EXPECT_GT(loud, silent + 4.0) << "silent " << silent << ", loud " << loud;

    play(0.1f, 180);
    const double quiet = energy();
    play(1.0f, 8);
    savePng("mode_" + name() + "_beat");
    const double beat = energy();
    EXPECT_GT(beat, quiet * 1.2 + 2.0) << "quiet " << quiet << ", beat " << beat;
}

INSTANTIATE_TEST_SUITE_P(Modes, PointFieldModesGlTest,
                         ::testing::Values(Mode::RANDOM_1, Mode::RANDOM_2, Mode::RANDOM_3,
                                           Mode::RANDOM_4, Mode::RANDOM_5, Mode::ZIG_ZAG_1,
                                           Mode::CIRCULAR_1, Mode::CIRCULAR_2, Mode::WAVES_1,
                                           Mode::WAVES_2, Mode::WAVES_3, Mode::VERTICAL_1,
                                           Mode::DIAMOND_1, Mode::DIAMOND_2),
                         [](const ::testing::TestParamInfo<Mode>& info) {
                             return content2020::ContentModeNames.at(info.param);
                         });
