#include "asset_images.h"
#include "support/test_output.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

}  // namespace

TEST(AssetImages, GeneratorIsRepeatableAndMatchesTheCommittedFiles) {
    const std::vector<assets::NamedImage> first = assets::makeAllImages();
    const std::vector<assets::NamedImage> second = assets::makeAllImages();
    ASSERT_EQ(first.size(), 3u);
    ASSERT_EQ(second.size(), first.size());
    for (size_t i = 0; i < first.size(); ++i) {
        SCOPED_TRACE(first[i].fileName);
        const std::vector<uint8_t> png = assets::encodePng(first[i].image);
        ASSERT_FALSE(png.empty());
        EXPECT_EQ(png, assets::encodePng(second[i].image));

        // The committed file is what the generator writes today: regenerate after a change.
        const std::string committed = testsupport::sourceDir() + "/res/images/" + first[i].fileName;
        EXPECT_EQ(readFile(committed), png) << committed << " is stale";
    }
    EXPECT_EQ(first[2].fileName, "aod_masks.png");
    EXPECT_EQ(first[2].image.channels, 3u);
}
