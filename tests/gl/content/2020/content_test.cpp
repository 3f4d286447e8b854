#include "visualization/content/2020/content.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <vector>

#include "support/log_capture.h"
#include "support/resource_gl_test.h"

namespace {

using content2020::Content;

constexpr uint32_t kCircular1 = 6;

class Content2020Test : public testsupport::ResourceGlTest {
protected:
    void SetUp() override {
        ResourceGlTest::SetUp();
        useTarget(320, 180);
    }
};

bool isPermutation(std::vector<size_t> v) {
    std::sort(v.begin(), v.end());
    for (size_t i = 0; i < v.size(); ++i) {
        if (v[i] != i) {
            return false;
        }
    }
    return true;
}

}  // namespace

TEST_F(Content2020Test, PalettePlaylistsAdvanceOnLeavingAndReshuffleOnWrap) {
    Content content(320, 180, RotateInfo::Landscape);
    for (size_t m = 0; m < content2020::kModeCount; ++m) {
        const auto& playlist = content.getPalettePlaylist(m);
        ASSERT_EQ(playlist.indices.size(), 10u);
        EXPECT_TRUE(isPermutation(playlist.indices));
        EXPECT_EQ(content.getAnimator(m).getPaletteIndex(), playlist.indices[0]);
    }

    content.setModeIndex(kCircular1);
    const std::vector<size_t> first = content.getPalettePlaylist(kCircular1).indices;
    std::set<uint32_t> seen{content.getModePaletteIndex()};
    testsupport::LogCapture log;
    // Each pass visits another mode, so only the rings' playlist goes round.
    for (uint32_t pass = 0; pass < 9; ++pass) {
        content.setModeIndex(pass < kCircular1 ? pass : pass + 1);
        content.setModeIndex(kCircular1);
        seen.insert(content.getModePaletteIndex());
        EXPECT_EQ(content.getAnimator(kCircular1).getPaletteIndex(), content.getModePaletteIndex());
    }
    EXPECT_EQ(seen.size(), 10u);
    EXPECT_TRUE(log.matching("reshuffle").empty());

    content.setModeIndex(13);
    const auto& again = content.getPalettePlaylist(kCircular1);
    EXPECT_EQ(again.cursor, 0u);
    EXPECT_TRUE(isPermutation(again.indices));
    EXPECT_NE(again.indices[0], first[9]);
    EXPECT_NE(again.indices[0], first[8]);
    std::string line = "[content2020][Content][reshufflePalettePlaylistItem] CIRCULAR_1: ";
    for (size_t k = 0; k < again.indices.size(); ++k) {
        line += std::to_string(again.indices[k]) + (k + 1 < again.indices.size() ? ", " : " ");
    }
    EXPECT_EQ(log.matching("reshuffle"),
              (std::vector<std::string>{"[content2020][Content][reshufflePaletteItem] Begin", line,
                                        "[content2020][Content][reshufflePaletteItem] End"}));

    // Jumping to a palette moves the cursor there; later advances continue from it.
    content.setModeIndex(kCircular1);
    const size_t target = again.indices[4];
    content.setModePaletteIndex(kCircular1, target);
    EXPECT_EQ(again.cursor, 4u);
    EXPECT_EQ(content.getAnimator(kCircular1).getPaletteIndex(), target);
    content.setModePaletteIndex(kCircular1, target);
    EXPECT_EQ(again.cursor, 4u);
    content.setModeIndex(13);
    EXPECT_EQ(content.getAnimator(kCircular1).getPaletteIndex(), again.indices[5]);
    EXPECT_DEATH(content.setModePaletteIndex(14, 0), "indexMode < mAnimators.size\\(\\)");
}

TEST_F(Content2020Test, DrawsTheCurrentModeWithItsBackgroundAndReleasesInsideItsScope) {
    SoundInput sound;
    sound.populate([](float* out, uint32_t band, uint32_t, uint32_t frame, uint32_t, float low,
                      float high) { *out = (band + frame) % 3 == 0 ? high : low; });
    auto owned = std::make_unique<Content>(320, 180, RotateInfo::Landscape);
    Content& content = *owned;
    content.setModeIndex(kCircular1);
    content.setTransition(1.0f);
    content.setPaused(true);
    for (int i = 0; i < 4; ++i) {
        content.update(1.0f / 60.0f, sound, RotationTransition{});
    }
    EXPECT_EQ(content.getAnimator(kCircular1).getTime(), 0.0f);
    const colorf bg = content.getBackgroundColor();
    EXPECT_EQ(color_to_hex(bg), color_to_hex(content.getBackgroundColor(kCircular1)));
    EXPECT_EQ(content.getAODMask().index, 0u);
    EXPECT_EQ(content.getAODMask().scale.x, 1.0f);
    glClearColor(bg.r, bg.g, bg.b, bg.a);
    glClear(GL_COLOR_BUFFER_BIT);
    content.render();
    readBack();
    savePng("content2020_circular_1");
    int lit = 0;
    const testsupport::Rgba corner = pixel(0, 0);
    for (uint32_t y = 0; y < 180; ++y) {
        for (uint32_t x = 0; x < 320; ++x) {
            lit += near(pixel(x, y), corner, 3) ? 0 : 1;
        }
    }
    EXPECT_GT(lit, 100);

    testsupport::LogCapture log;
    owned.reset();
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"[content2020][Content][Destructor] Begin",
                                                     "[content2020][Renderer][Destructor] Begin",
                                                     "[content2020][Renderer][Destructor] End",
                                                     "[content2020][Content][Destructor] End"}));
}
