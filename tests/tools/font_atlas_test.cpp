#include "font_atlas.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include "support/test_output.h"

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(FontAtlas, GeneratorIsRepeatableAndMatchesTheCommittedFiles) {
    const assets::FontAtlas first = assets::makeFontAtlas(VIZ_FONT_FILE);
    ASSERT_TRUE(first.error.empty()) << first.error;
    const assets::FontAtlas second = assets::makeFontAtlas(VIZ_FONT_FILE);
    const std::vector<uint8_t> png = assets::encodePng(first.image);
    EXPECT_EQ(png, assets::encodePng(second.image));
    EXPECT_EQ(first.json, second.json);

    // The committed files are what the generator writes today: regenerate after a change.
    const std::string directory = testsupport::sourceDir() + "/res/fonts/replica/";
    const std::string committedPng = readFile(directory + "replica.png");
    EXPECT_TRUE(committedPng == std::string(png.begin(), png.end())) << "replica.png is stale";
    EXPECT_TRUE(readFile(directory + "replica.json") == first.json) << "replica.json is stale";

    // A white atlas, the distance in alpha: outside every glyph far from the outline (0), inside
    // the stems beyond it (above one half).
    const assets::Image& image = first.image;
    ASSERT_EQ(image.channels, 4u);
    bool white = true;
    int inside = 0;
    for (uint32_t y = 0; y < image.height; ++y) {
        for (uint32_t x = 0; x < image.width; ++x) {
            white = white && image.at(x, y, 0) == 255 && image.at(x, y, 2) == 255;
            inside += image.at(x, y, 3) > 128 ? 1 : 0;
        }
    }
    EXPECT_TRUE(white);
    EXPECT_EQ(image.at(0, 0, 3), 0);
    EXPECT_GT(inside, 10000);

    EXPECT_FALSE(assets::makeFontAtlas("/nonexistent.ttf").error.empty());
}
