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

    EXPECT_FALSE(assets::makeFontAtlas("/nonexistent.ttf").error.empty());
}
