#include "asset_images.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cmath>

namespace assets {

namespace {

// Subsamples per texel along each axis: 16 samples give 17 coverage levels, smooth enough for
// edges that are magnified at most a few times on screen.
constexpr int kSupersampling = 4;

double smoothstep01(double t) {
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

uint8_t toByte(double value) {
    return static_cast<uint8_t>(std::floor(std::clamp(value, 0.0, 1.0) * 255.0 + 0.5));
}

// Averages `sample(px, py)` over the subsample grid of texel (x, y); coordinates in texels.
template <typename Sample>
double supersample(uint32_t x, uint32_t y, const Sample& sample) {
    double sum = 0.0;
    for (int j = 0; j < kSupersampling; ++j) {
        for (int i = 0; i < kSupersampling; ++i) {
            const double px = x + (i + 0.5) / kSupersampling;
            const double py = y + (j + 0.5) / kSupersampling;
            sum += sample(px, py);
        }
    }
    return sum / (kSupersampling * kSupersampling);
}

double length(double x, double y) {
    return std::sqrt(x * x + y * y);
}

// Signed distance to a rectangle of half extents (bx, by) with corners rounded by r.
double roundedRectangleDistance(double x, double y, double bx, double by, double r) {
    const double qx = std::fabs(x) - (bx - r);
    const double qy = std::fabs(y) - (by - r);
    const double outside = length(std::max(qx, 0.0), std::max(qy, 0.0));
    const double inside = std::min(std::max(qx, qy), 0.0);
    return outside + inside - r;
}

// Half extent of every shape in cell units (the cell spans -1..1). With a 256 texel cell it
// keeps about ten black texels between the shape and the cell edge.
constexpr double kShapeExtent = 0.92;

// How much of texel-sized sample point (x, y) of the cell (-1..1 on both axes) shows content.
double shapeValue(MaskShape shape, double x, double y) {
    const double e = kShapeExtent;
    switch (shape) {
        case MaskShape::CIRCLE:
            return length(x, y) < e ? 1.0 : 0.0;
        case MaskShape::DIAMOND:
            return std::fabs(x) + std::fabs(y) < e ? 1.0 : 0.0;
        case MaskShape::TALL_ROUNDED_RECTANGLE:
            return roundedRectangleDistance(x, y, 0.55, e, 0.4) < 0.0 ? 1.0 : 0.0;
        case MaskShape::WIDE_ROUNDED_RECTANGLE:
            return roundedRectangleDistance(x, y, e, 0.55, 0.4) < 0.0 ? 1.0 : 0.0;
        case MaskShape::SOFT_DISC:
            // Fully open in the inner 45 %, then a long fade to the rim.
            return smoothstep01((e - length(x, y)) / (e * 0.55));
        case MaskShape::ROUNDED_SQUARE:
            return roundedRectangleDistance(x, y, e, e, 0.3) < 0.0 ? 1.0 : 0.0;
    }
    return 0.0;
}

}  // namespace

Image makeDisc(uint32_t size, double softness) {
    Image image;
    image.width = size;
    image.height = size;
    image.channels = 4;
    image.pixels.assign(static_cast<size_t>(size) * size * 4, 255);
    const double centre = size * 0.5;
    const double radius = centre - 1.0;  // transparent rim: clamping and mipmaps stay clean
    const double inner = radius * (1.0 - std::clamp(softness, 0.0, 1.0));
    const double ramp = std::max(radius - inner, 1e-9);
    for (uint32_t y = 0; y < size; ++y) {
        for (uint32_t x = 0; x < size; ++x) {
            const double alpha = supersample(x, y, [&](double px, double py) {
                const double r = length(px - centre, py - centre);
                if (r >= radius) {
                    return 0.0;
                }
                return smoothstep01((radius - r) / ramp);
            });
            image.pixels[(static_cast<size_t>(y) * size + x) * 4 + 3] = toByte(alpha);
        }
    }
    return image;
}

Image makeMaskCell(MaskShape shape) {
    Image image;
    image.width = kMaskCellSize;
    image.height = kMaskCellSize;
    image.channels = 1;
    image.pixels.resize(static_cast<size_t>(kMaskCellSize) * kMaskCellSize);
    const double half = kMaskCellSize * 0.5;
    for (uint32_t y = 0; y < kMaskCellSize; ++y) {
        for (uint32_t x = 0; x < kMaskCellSize; ++x) {
            const double value = supersample(x, y, [&](double px, double py) {
                return shapeValue(shape, (px - half) / half, (py - half) / half);
            });
            image.pixels[static_cast<size_t>(y) * kMaskCellSize + x] = toByte(value);
        }
    }
    // The shape functions stay inside the extent; this makes the border a hard guarantee.
    for (uint32_t y = 0; y < kMaskCellSize; ++y) {
        for (uint32_t x = 0; x < kMaskCellSize; ++x) {
            const bool border = x < kMaskCellBorder || y < kMaskCellBorder ||
                                x >= kMaskCellSize - kMaskCellBorder ||
                                y >= kMaskCellSize - kMaskCellBorder;
            if (border) {
                image.pixels[static_cast<size_t>(y) * kMaskCellSize + x] = 0;
            }
        }
    }
    return image;
}

Image makeMaskAtlas() {
    Image atlas;
    atlas.width = kMaskColumns * kMaskCellSize;
    atlas.height = kMaskRows * kMaskCellSize;
    atlas.channels = 3;
    atlas.pixels.assign(static_cast<size_t>(atlas.width) * atlas.height * 3, 0);
    for (uint32_t index = 0; index < kMaskColumns * kMaskRows; ++index) {
        const Image cell = makeMaskCell(static_cast<MaskShape>(index));
        const uint32_t x0 = (index % kMaskColumns) * kMaskCellSize;
        const uint32_t y0 = (index / kMaskColumns) * kMaskCellSize;
        for (uint32_t y = 0; y < kMaskCellSize; ++y) {
            for (uint32_t x = 0; x < kMaskCellSize; ++x) {
                const uint8_t v = cell.at(x, y, 0);
                uint8_t* texel =
                    &atlas.pixels[((static_cast<size_t>(y0) + y) * atlas.width + x0 + x) * 3];
                texel[0] = texel[1] = texel[2] = v;
            }
        }
    }
    return atlas;
}

std::vector<uint8_t> encodePng(const Image& image) {
    std::vector<uint8_t> bytes;
    auto append = [](void* context, void* data, int size) {
        auto* out = static_cast<std::vector<uint8_t>*>(context);
        const auto* begin = static_cast<const uint8_t*>(data);
        out->insert(out->end(), begin, begin + size);
    };
    const int ok =
        stbi_write_png_to_func(append, &bytes, static_cast<int>(image.width),
                               static_cast<int>(image.height), static_cast<int>(image.channels),
                               image.pixels.data(), static_cast<int>(image.width * image.channels));
    if (ok == 0) {
        bytes.clear();
    }
    return bytes;
}

std::vector<NamedImage> makeAllImages() {
    std::vector<NamedImage> images;
    // The small disc is mostly drawn at a few to a few tens of pixels, where a wide soft rim
    // reads as a glow; the large one is drawn up to about a hundred pixels and keeps a
    // narrower edge so that it still looks round and solid.
    images.push_back({"circle_white_small.png", makeDisc(kSmallDiscSize, 0.3)});
    images.push_back({"circle_white_large.png", makeDisc(kLargeDiscSize, 0.06)});
    images.push_back({"aod_masks.png", makeMaskAtlas()});
    return images;
}

}  // namespace assets
