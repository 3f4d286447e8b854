#include "visualization/content/2021/cubes/content.h"

#include <GLES3/gl3.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/gl_test.h"
#include "support/log_capture.h"
#include "visualization/content/2021/cubes/animator_version_0.h"
#include "visualization/content/2021/cubes/animator_version_1.h"
#include "visualization/content/2021/cubes/animator_version_2.h"
#include "visualization/util/random.h"

namespace cubes = content2021::cubes;
using Mode = cubes::ContentMode;

namespace {

using content2021::cubes::AbstractAnimator;
using content2021::cubes::Animator_Version_0;
using content2021::cubes::Animator_Version_1;
using content2021::cubes::Animator_Version_2;
using content2021::cubes::Content;
using content2021::cubes::Cube;
using content2021::cubes::Renderer;

constexpr uint32_t kWidth = 480;
constexpr uint32_t kHeight = 270;
constexpr float kDt = 1.0f / 60.0f;

class CubesContentTest : public testsupport::GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        useTarget(kWidth, kHeight);
    }
};

std::unique_ptr<AbstractAnimator> createAnimator(Mode mode) {
    switch (mode) {
        case Mode::VERSION_0:
            return std::make_unique<Animator_Version_0>(kWidth, kHeight);
        case Mode::VERSION_1:
            return std::make_unique<Animator_Version_1>(kWidth, kHeight);
        case Mode::VERSION_2:
            return std::make_unique<Animator_Version_2>(kWidth, kHeight);
    }
    return nullptr;
}

// One mode, played by its animator through the renderer, in the driving class Dynamic.
class CubesModeTest : public CubesContentTest, public ::testing::WithParamInterface<Mode> {
protected:
    void SetUp() override {
        CubesContentTest::SetUp();
        util::setRandomSeed(11);
        mAnimator = createAnimator(GetParam());
        mAnimator->setFade(1.0f);
        mRenderer = std::make_unique<Renderer>();
        mSound.setSoundClass(SoundClass::Dynamic, true);
    }

    // Eight bands; `wave` moves them apart like music, 0 keeps them equal.
    void play(float db, int frames, float wave = 0.0f) {
        std::vector<float> bands(8);
        for (int i = 0; i < frames; ++i, ++mFrame) {
            for (size_t b = 0; b < bands.size(); ++b) {
                bands[b] = db + wave * std::sin(0.23f * mFrame + 1.7f * b);
            }
            mSound.setBandsInfo(bands.data(), 8);
            mSound.update(kDt);
            mAnimator->update(kDt, mSound, RotationTransition{});
        }
        const colorf c = mAnimator->getBackgroundColor();
        glClearColor(c.r, c.g, c.b, c.a);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        mRenderer->draw(mAnimator->getScene());
        readBack();
    }

    // Unit x and y axes of every cube that has a size; zero for the others.
    std::vector<vec3f> directions() const {
        std::vector<vec3f> axes;
        for (const Cube& cube : mAnimator->getScene().cubes) {
            for (int column = 0; column < 2; ++column) {
                const float* m = cube.transform.m + 4 * column;
                const vec3f axis{m[0], m[1], m[2]};
                const float length = std::sqrt(math::dot(axis, axis));
                axes.push_back(length > 1e-4f ? axis * (1.0f / length) : vec3f{});
            }
        }
        return axes;
    }

    std::string name() const { return cubes::ContentModeNames.at(GetParam()); }

    std::unique_ptr<AbstractAnimator> mAnimator;
    std::unique_ptr<Renderer> mRenderer;
    SoundInput mSound;
    int mFrame = 0;
};

}  // namespace

// Every mode draws without a GL error (checked after each test), turns something on a beat after a
// quiet stretch, and looks different in silence and in loud music.
TEST_P(CubesModeTest, ABeatTurnsSomethingAndLoudMusicChangesThePicture) {
    play(-100.0f, 150);
    const std::vector<uint8_t> silent = pixels();
    savePng("cubes_" + name() + "_silent");
    const std::vector<vec3f> before = directions();

    play(-20.0f, 1);
    play(-100.0f, 20);
    const std::vector<vec3f> after = directions();
    ASSERT_EQ(before.size(), after.size());
    float leastAlike = 1.0f;
    for (size_t i = 0; i < before.size(); ++i) {
        if (math::dot(before[i], before[i]) > 0.0f && math::dot(after[i], after[i]) > 0.0f) {
            leastAlike = std::min(leastAlike, math::dot(before[i], after[i]));
        }
    }
    EXPECT_LT(leastAlike, 0.9f) << "no cube turned";

    play(-40.0f, 120, 25.0f);
    savePng("cubes_" + name() + "_loud");
    size_t changed = 0;
    for (size_t i = 0; i < silent.size(); i += 4) {
        changed += silent[i] != pixels()[i] || silent[i + 1] != pixels()[i + 1] ||
                   silent[i + 2] != pixels()[i + 2];
    }
    EXPECT_GT(changed, silent.size() / 4 / 50) << "pixels changed";
}

INSTANTIATE_TEST_SUITE_P(Modes, CubesModeTest,
                         ::testing::Values(Mode::VERSION_0, Mode::VERSION_1, Mode::VERSION_2),
                         [](const ::testing::TestParamInfo<Mode>& info) {
                             return cubes::ContentModeNames.at(info.param);
                         });

TEST_F(CubesContentTest, ScopesTablesAndPalettesOfTheThreeModes) {
    testsupport::LogCapture log;
    auto content = std::make_unique<Content>(kWidth, kHeight, RotateInfo::Landscape);
    const std::string c = "[content2021][cubes]";
    std::vector<std::string> expected = {c + "[Content][Constructor] Begin"};
    for (const char* version : {"0", "1", "2"}) {
        expected.push_back(c + "[Animator_Version_" + version + "][Constructor] Begin");
        expected.push_back(c + "[Animator_Version_" + version + "][Constructor] End");
    }
    expected.insert(expected.end(),
                    {c + "[Renderer][Constructor] Begin", c + "[Renderer][Constructor] End",
                     c + "[Content][Constructor] End"});
    EXPECT_EQ(log.lines(), expected);

    for (const auto& [mode, text] : cubes::ContentModeNames) {
        EXPECT_EQ(cubes::ContentModeValues.at(text), mode);
    }
    EXPECT_THROW(content->setModePaletteIndex(3, 0), std::out_of_range);
    EXPECT_THROW(content->getBackgroundColor(3), std::out_of_range);

    // A chosen palette shows when its mode comes up; leaving a mode moves its playlist on.
    content->setModePaletteIndex(1, 3);
    content->setModeIndex(1);
    EXPECT_EQ(content->getModePaletteIndex(), 3u);
    log.clear();
    content->setModeIndex(2);
    const std::vector<std::string> advanced = log.matching("Palette index: ");
    ASSERT_EQ(advanced.size(), 1u);
    content->setModeIndex(1);
    EXPECT_EQ(advanced[0], "[AbstractColorAnimator][advancePalettePlaylist] Palette index: " +
                               std::to_string(content->getModePaletteIndex()));

    // The always-on look keeps the cubes' colours on black; a content faded out draws nothing.
    SoundInput sound;
    content->setTransition(0.0f);
    content->setDisplayModeBlend(1.0f);
    content->update(kDt, sound, RotationTransition{});
    const colorf background = content->getBackgroundColor();
    EXPECT_EQ(background.r + background.g + background.b, 0.0f);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    content->render();
    readBack();
    for (size_t i = 0; i < pixels().size(); i += 4) {
        ASSERT_EQ(pixels()[i] + pixels()[i + 1] + pixels()[i + 2], 0) << "pixel " << i / 4;
    }

    log.clear();
    content.reset();
    expected = {c + "[Content][Destructor] Begin"};
    for (const char* version : {"0", "1", "2"}) {
        expected.push_back(c + "[Animator_Version_" + version + "][Destructor] Begin");
        expected.push_back(c + "[Animator_Version_" + version + "][Destructor] End");
    }
    expected.insert(expected.end(),
                    {c + "[Renderer][Destructor] Begin", c + "[Renderer][Destructor] End",
                     c + "[Content][Destructor] End"});
    EXPECT_EQ(log.lines(), expected);
}
