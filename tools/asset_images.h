// The images of res/ that are drawn rather than photographed: the white point-sprite discs and
// the window-shape atlas of the always-on display. Everything here is a pure function of its
// arguments, so running the generator again reproduces the committed files byte for byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assets {

struct Image {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t channels = 0;
    std::vector<uint8_t> pixels;  // row-major, top row first

    uint8_t at(uint32_t x, uint32_t y, uint32_t channel) const {
        return pixels[(static_cast<size_t>(y) * width + x) * channels + channel];
    }
};

// Shapes of the atlas, in cell order (cell i sits at column i % 3, row i / 3). The choice
// follows the contents that ask for them: round layouts use the circle, the turned-square
// layouts the diamond, the wave and lattice layouts the elongated windows, the scattered
// particle layouts the soft disc.
enum class MaskShape : uint32_t {
    CIRCLE = 0,
    DIAMOND = 1,
    TALL_ROUNDED_RECTANGLE = 2,
    WIDE_ROUNDED_RECTANGLE = 3,
    SOFT_DISC = 4,
    ROUNDED_SQUARE = 5,
};

constexpr uint32_t kMaskColumns = 3;
constexpr uint32_t kMaskRows = 2;
constexpr uint32_t kMaskCellSize = 256;
// Black texels between every shape and its cell edge. The overlay insets its texture
// coordinates by one texel; linear filtering reaches one more. Eight leaves ample room.
constexpr uint32_t kMaskCellBorder = 8;

constexpr uint32_t kSmallDiscSize = 64;
constexpr uint32_t kLargeDiscSize = 256;

// A white RGBA disc filling the square up to a one-texel transparent rim. Alpha falls off
// smoothly over `softness` (a share of the radius) and is anti-aliased by supersampling.
Image makeDisc(uint32_t size, double softness);

// The 3 x 2 RGB atlas: white where content shows through, black where it is covered.
Image makeMaskAtlas();

// One cell on its own (kMaskCellSize square, one channel), for the atlas and for tests.
Image makeMaskCell(MaskShape shape);

// PNG bytes of an image (stb's encoder, fixed compression level).
std::vector<uint8_t> encodePng(const Image& image);

struct NamedImage {
    std::string fileName;
    Image image;
};

// Every generated file with its name below res/images.
std::vector<NamedImage> makeAllImages();

}  // namespace assets
