#include "visualization/content/2020/content.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
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
    content.setModeIndex(kCircular1);
    std::vector<size_t> first{content.getModePaletteIndex()};
    testsupport::LogCapture log;
    // Each pass visits another mode, so only the rings' playlist goes round.
    for (uint32_t pass = 0; pass < 9; ++pass) {
        content.setModeIndex(pass < kCircular1 ? pass : pass + 1);
        content.setModeIndex(kCircular1);
        first.push_back(content.getModePaletteIndex());
    }
    EXPECT_TRUE(isPermutation(first));
    EXPECT_TRUE(log.matching("reshuffle").empty());

    // Leaving after the last entry reshuffles, logging the new order.
    content.setModeIndex(13);
    const std::vector<std::string> lines = log.matching("reshuffle");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "[content2020][Content][reshufflePaletteItem] Begin");
    EXPECT_EQ(lines[2], "[content2020][Content][reshufflePaletteItem] End");
    const std::string prefix = "[content2020][Content][reshufflePalettePlaylistItem] CIRCULAR_1: ";
    ASSERT_EQ(lines[1].rfind(prefix, 0), 0u) << lines[1];
    std::vector<size_t> again;
    std::istringstream order(lines[1].substr(prefix.size()));
    for (std::string entry; std::getline(order, entry, ',');) {
        again.push_back(std::stoul(entry));
    }
    ASSERT_EQ(again.size(), 10u);
    EXPECT_TRUE(isPermutation(again));
    EXPECT_NE(again[0], first[9]);
    EXPECT_NE(again[0], first[8]);

    // Jumping to a palette moves the cursor there; later advances continue from it.
    content.setModeIndex(kCircular1);
    EXPECT_EQ(content.getModePaletteIndex(), again[0]);
    content.setModePaletteIndex(kCircular1, again[4]);
    content.setModePaletteIndex(kCircular1, again[4]);
    EXPECT_EQ(content.getModePaletteIndex(), again[4]);
    content.setModeIndex(13);
    content.setModeIndex(kCircular1);
    EXPECT_EQ(content.getModePaletteIndex(), again[5]);
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
