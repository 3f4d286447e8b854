#include "asset_images.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <fstream>
#include <iterator>
#include <set>
#include "support/test_output.h"

using assets::Image;
using assets::MaskShape;

namespace {

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

// Value of the cell at a point given in cell units (-1..1, y down as in the file).
uint8_t cellAt(const Image& cell, double x, double y) {
    const double half = cell.width * 0.5;
    return cell.at(static_cast<uint32_t>(half + x * half), static_cast<uint32_t>(half + y * half),
                   0);
}

bool isPowerOfTwo(uint32_t v) {
    return v != 0 && (v & (v - 1)) == 0;
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

        // The file decodes to the same pixels with the channel count the loaders rely on.
        int w = 0, h = 0, channels = 0;
        stbi_uc* decoded =
            stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &w, &h, &channels, 0);
        ASSERT_NE(decoded, nullptr);
        EXPECT_EQ(static_cast<uint32_t>(channels), first[i].image.channels);
        EXPECT_TRUE(
            std::equal(first[i].image.pixels.begin(), first[i].image.pixels.end(), decoded));
        stbi_image_free(decoded);
    }
    EXPECT_EQ(first[2].fileName, "aod_masks.png");
    EXPECT_EQ(first[2].image.channels, 3u);
}

TEST(AssetImages, DiscsAreWhiteRoundAndSoftEdged) {
    for (const auto& [size, softness] : {std::pair<uint32_t, double>{assets::kSmallDiscSize, 0.3},
                                         {assets::kLargeDiscSize, 0.06}}) {
        SCOPED_TRACE(size);
        const Image disc = assets::makeDisc(size, softness);
        ASSERT_TRUE(isPowerOfTwo(disc.width) && disc.width == disc.height);

        bool allWhite = true;
        bool symmetric = true;
        for (uint32_t y = 0; y < size; ++y) {
            for (uint32_t x = 0; x < size; ++x) {
                allWhite = allWhite && disc.at(x, y, 0) == 255 && disc.at(x, y, 1) == 255 &&
                           disc.at(x, y, 2) == 255;
                const uint8_t a = disc.at(x, y, 3);
                symmetric = symmetric && a == disc.at(size - 1 - x, y, 3) &&
                            a == disc.at(x, size - 1 - y, 3) && a == disc.at(y, x, 3);
            }
        }
        EXPECT_TRUE(allWhite) << "colour must not darken filtered edges";
        EXPECT_TRUE(symmetric);

        // Opaque in the middle, transparent on the outer rim so clamping never smears.
        const uint32_t c = size / 2;
        EXPECT_EQ(disc.at(c, c, 3), 255);
        for (uint32_t i = 0; i < size; ++i) {
            ASSERT_TRUE(disc.at(i, 0, 3) == 0 && disc.at(0, i, 3) == 0) << i;
        }

        // From the centre outwards alpha only falls, through several intermediate levels.
        std::set<uint8_t> levels;
        for (uint32_t x = c; x < size; ++x) {
            EXPECT_LE(disc.at(x, c, 3), disc.at(x - 1, c, 3)) << "x " << x;
            if (disc.at(x, c, 3) != 0 && disc.at(x, c, 3) != 255) {
                levels.insert(disc.at(x, c, 3));
            }
        }
        EXPECT_GE(levels.size(), 3u);
    }
    // The small disc's rim is the softer one: at 80 % of its radius it is already fading.
    const Image small = assets::makeDisc(assets::kSmallDiscSize, 0.3);
    const uint8_t fading = small.at(32 + 25, 32, 3);
    EXPECT_GT(fading, 0);
    EXPECT_LT(fading, 255);
}

TEST(AssetImages, MaskAtlasHoldsSixBorderedShapes) {
    const Image atlas = assets::makeMaskAtlas();
    ASSERT_TRUE(atlas.width == 3 * assets::kMaskCellSize &&
                atlas.height == 2 * assets::kMaskCellSize);

    const uint32_t n = assets::kMaskCellSize;
    for (uint32_t index = 0; index < 6; ++index) {
        SCOPED_TRACE(index);
        const uint32_t x0 = (index % 3) * n;
        const uint32_t y0 = (index / 3) * n;
        const Image cell = assets::makeMaskCell(static_cast<MaskShape>(index));
        bool matches = true;
        bool grey = true;
        bool symmetric = true;
        bool borderBlack = true;
        for (uint32_t y = 0; y < n; ++y) {
            for (uint32_t x = 0; x < n; ++x) {
                const uint8_t r = atlas.at(x0 + x, y0 + y, 0);
                matches = matches && r == cell.at(x, y, 0);
                grey = grey && r == atlas.at(x0 + x, y0 + y, 1) && r == atlas.at(x0 + x, y0 + y, 2);
                symmetric = symmetric && r == atlas.at(x0 + n - 1 - x, y0 + y, 0) &&
                            r == atlas.at(x0 + x, y0 + n - 1 - y, 0);
                const bool border = x < 4 || y < 4 || x >= n - 4 || y >= n - 4;
                borderBlack = borderBlack && (!border || r == 0);
            }
        }
        EXPECT_TRUE(matches) << "cell placed at column " << index % 3 << ", row " << index / 3;
        EXPECT_TRUE(grey);
        EXPECT_TRUE(symmetric) << "the overlay may sample the cell upside down";
        EXPECT_TRUE(borderBlack) << "a neighbour's light would bleed through the inset";
        EXPECT_EQ(cellAt(cell, 0.0, 0.0), 255) << "the centre always shows content";
    }

    // The shapes differ where a reader would expect. (The circle, the diamond and the soft
    // disc are also seen through the cover's pixels.)
    const auto at = [](MaskShape shape, double x, double y) {
        return cellAt(assets::makeMaskCell(shape), x, y);
    };
    EXPECT_EQ(at(MaskShape::TALL_ROUNDED_RECTANGLE, 0.0, 0.85), 255);
    EXPECT_EQ(at(MaskShape::TALL_ROUNDED_RECTANGLE, 0.85, 0.0), 0);
    EXPECT_EQ(at(MaskShape::WIDE_ROUNDED_RECTANGLE, 0.0, 0.85), 0);
    EXPECT_EQ(at(MaskShape::ROUNDED_SQUARE, 0.8, 0.8), 255);
    EXPECT_EQ(at(MaskShape::CIRCLE, 0.8, 0.8), 0);
}
