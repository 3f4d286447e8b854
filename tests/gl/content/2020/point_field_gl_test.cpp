#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "gl/overlay_gl_test.h"
#include "support/sound_frames.h"
#include "visualization/content/2020/animator_circular_1.h"
#include "visualization/content/2020/renderer.h"

namespace {

using content2020::AbstractAnimator;
using content2020::AnimatorCircular_1;
using content2020::Renderer;
using content2020::RenderState;
using content2020::SoundFrame;
using testsupport::SoundHistories;

constexpr uint32_t kWidth = 480;
constexpr uint32_t kHeight = 270;

class PointFieldGlTest : public overlaytest::OverlayGlTest {
protected:
    void SetUp() override {
        OverlayGlTest::SetUp();
        useTarget(kWidth, kHeight);
    }

    void clear(const colorf& c) {
        glClearColor(c.r, c.g, c.b, c.a);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    // Pixels that differ from the clear colour by more than a rounding step.
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
        clear(animator.getBackgroundColor());
        renderer.draw(animator.getRenderState());
        readBack();
    }
};

// Music at a loudness, in band levels and histories that wave over their 240 frames.
SoundHistories music(float loudness) {
    SoundHistories sound;
    for (size_t i = 0; i < sound.levels.size(); ++i) {
        sound.levels[i] = loudness * (0.6f + 0.4f * std::sin(i * 1.3f));
    }
    for (size_t i = 0; i < 240; ++i) {
        const float wave = 0.5f + 0.5f * std::sin(i * 0.21f);
        sound.min[i] = loudness * wave * wave;
        sound.mid[i] = loudness * wave;
        sound.max[i] = loudness * std::min(1.0f, wave + 0.3f);
    }
    return sound;
}

}  // namespace

TEST_F(PointFieldGlTest, SpriteShrinksAndFadesWithTheBlend) {
    Renderer renderer(kWidth, kHeight);
    RenderState state;
    state.camera.aspect = static_cast<float>(kWidth) / kHeight;
    state.camera.size = kHeight * 0.5f;
    state.camera.rotationMode = 3;
    state.camera.update(RotationTransition{});
    state.instances.push_back({0.0f, 0.0f, 40.0f, colorf(1.0f, 1.0f, 1.0f, 1.0f)});

    clear(colorf(0.0f, 1.0f));
    renderer.draw(state);
    readBack();
    const int full = lit({0, 0, 0, 255});
    const testsupport::Rgba centre = pixel(kWidth / 2, kHeight / 2);
    EXPECT_GT(centre.r, 200);
    EXPECT_EQ(renderer.getIndices().size(), 6u);

    renderer.setBlend(0.5f);
    clear(colorf(0.0f, 1.0f));
    renderer.draw(state);
    readBack();
    // Half the side, so about a quarter of the area, at half the alpha.
    EXPECT_NEAR(lit({0, 0, 0, 255}) * 4.0, full, full * 0.15);
    EXPECT_NEAR(pixel(kWidth / 2, kHeight / 2).r, centre.r / 2.0, 3.0);

    // Nothing to draw still leaves the GL state as it found it.
    state.instances.clear();
    renderer.draw(state);
    EXPECT_TRUE(renderer.getIndices().empty());
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
}

TEST_F(PointFieldGlTest, Circular1ReactsToLevelAndBeat) {
    AnimatorCircular_1 animator(kWidth, kHeight);
    Renderer renderer(kWidth, kHeight);
    animator.setPaletteIndex(0, true);

    const SoundHistories silent = music(0.0f);
    frame(animator, renderer, silent.frame(SoundClass::Dynamic));
    const testsupport::Rgba background = pixel(0, 0);
    EXPECT_EQ(lit(background), 0);
    savePng("circular_1_silent");

    // Steady loud music without a fresh beat: the flash weight stays down.
    const SoundHistories loud = music(1.0f);
    frame(animator, renderer, loud.frame(SoundClass::Loud));
    const testsupport::Rgba calm = pixel(0, 0);
    const int lightLoud = lit(calm);
    EXPECT_GT(lightLoud, static_cast<int>(kWidth * kHeight / 20));
    savePng("circular_1_loud");

    // A beat under Dynamic music flashes the background towards the palette's beat colour.
    for (int i = 0; i < 3; ++i) {
        frame(animator, renderer, silent.frame(SoundClass::Dynamic));
    }
    const testsupport::Rgba before = pixel(0, 0);
    for (int i = 0; i < 6; ++i) {
        frame(animator, renderer, loud.frame(SoundClass::Dynamic));
    }
    const testsupport::Rgba flash = pixel(0, 0);
    savePng("circular_1_beat");
    EXPECT_GT(flash.b, before.b + 20) << before << " " << flash;
}
