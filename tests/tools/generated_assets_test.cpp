// The committed images and font atlas are what the generators write today: regenerate them after
// a change. Two runs write the same bytes, so the committed files never churn.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "asset_images.h"
#include "font_atlas.h"
#include "support/test_output.h"

namespace {

std::string png(const assets::Image& image) {
    const std::vector<uint8_t> bytes = assets::encodePng(image);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

TEST(GeneratedAssets, GeneratorsAreRepeatableAndMatchTheCommittedFiles) {
    const std::vector<assets::NamedImage> images = assets::makeAllImages();
    const std::vector<assets::NamedImage> again = assets::makeAllImages();
    ASSERT_EQ(images.size(), 3u);
    ASSERT_EQ(again.size(), images.size());
    const assets::FontAtlas atlas = assets::makeFontAtlas(VIZ_FONT_FILE);
    ASSERT_TRUE(atlas.error.empty()) << atlas.error;
    const assets::FontAtlas atlasAgain = assets::makeFontAtlas(VIZ_FONT_FILE);

    // The file under res/, what the generator writes, what it writes a second time.
    std::vector<std::tuple<std::string, std::string, std::string>> files = {
        {"fonts/replica/replica.png", png(atlas.image), png(atlasAgain.image)},
        {"fonts/replica/replica.json", atlas.json, atlasAgain.json}};
    for (size_t i = 0; i < images.size(); ++i) {
        files.emplace_back("images/" + images[i].fileName, png(images[i].image),
                           png(again[i].image));
    }
    for (const auto& [name, written, rewritten] : files) {
        EXPECT_FALSE(written.empty()) << name;
        EXPECT_TRUE(written == rewritten) << name << " differs between two runs";
        const std::string committed =
            testsupport::readFile(testsupport::sourceDir() + "/res/" + name);
        EXPECT_TRUE(committed == written) << name << " is stale";
    }
    EXPECT_FALSE(assets::makeFontAtlas("/nonexistent.ttf").error.empty());
}
