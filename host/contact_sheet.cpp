#include "contact_sheet.h"

#include <stb_easy_font.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vizhost {

namespace {

constexpr uint8_t kBackground = 24;
constexpr float kTextScale = 2.0f;

struct FontVertex {
    float x, y, z;
    uint8_t color[4];
};

}  // namespace

ContactSheet::ContactSheet(uint32_t cellWidth, uint32_t cellHeight, uint32_t columns,
                           uint32_t cells)
    : mCellWidth(cellWidth), mCellHeight(cellHeight), mColumns(std::max<uint32_t>(columns, 1)) {
    const uint32_t rows = (std::max<uint32_t>(cells, 1) + mColumns - 1) / mColumns;
    const uint32_t used = std::min(mColumns, std::max<uint32_t>(cells, 1));
    mWidth = kGap + used * (mCellWidth + kGap);
    mHeight = kGap + rows * (mCellHeight + kLabelHeight + kGap);
    mPixels.assign(size_t(mWidth) * mHeight * 4, kBackground);
    for (size_t i = 3; i < mPixels.size(); i += 4) {
        mPixels[i] = 255;
    }
}

uint32_t ContactSheet::cellX(uint32_t index) const {
    return kGap + (index % mColumns) * (mCellWidth + kGap);
}

uint32_t ContactSheet::cellY(uint32_t index) const {
    return kGap + (index / mColumns) * (mCellHeight + kLabelHeight + kGap);
}

void ContactSheet::place(uint32_t index, const uint8_t* rgba, const std::string& label) {
    const uint32_t x0 = cellX(index);
    const uint32_t y0 = cellY(index);
    if (y0 + mCellHeight + kLabelHeight > mHeight) {
        return;
    }
    for (uint32_t y = 0; y < mCellHeight; ++y) {
        uint8_t* row = mPixels.data() + (size_t(y0 + y) * mWidth + x0) * 4;
        std::memcpy(row, rgba + size_t(y) * mCellWidth * 4, size_t(mCellWidth) * 4);
        for (uint32_t x = 0; x < mCellWidth; ++x) {
            row[x * 4 + 3] = 255;
        }
    }
    drawText(x0 + 2, y0 + mCellHeight + 4, mCellWidth - 4, label);
}

void ContactSheet::drawText(uint32_t x0, uint32_t y0, uint32_t maxWidth, const std::string& text) {
    // The font builds each glyph from axis-aligned quads; they are filled straight into the
    // picture, scaled down where a long mode name would not fit, and clipped to the strip.
    std::string copy = text;
    std::vector<FontVertex> vertices(copy.size() * 4 * 40 + 64);
    const int quads = stb_easy_font_print(0.0f, 0.0f, copy.data(), nullptr, vertices.data(),
                                          int(vertices.size() * sizeof(FontVertex)));
    const int width = std::max(stb_easy_font_width(copy.data()), 1);
    const float scale = std::clamp(float(maxWidth) / float(width), 1.0f, kTextScale);
    const uint32_t right = x0 + maxWidth;
    const uint32_t bottom = y0 + kLabelHeight - 4;
    auto at = [scale](float v, uint32_t origin) {
        return origin + uint32_t(std::lround(v * scale));
    };
    for (int q = 0; q < quads; ++q) {
        const FontVertex* v = vertices.data() + q * 4;
        const uint32_t left = at(std::min({v[0].x, v[1].x, v[2].x, v[3].x}), x0);
        const uint32_t top = at(std::min({v[0].y, v[1].y, v[2].y, v[3].y}), y0);
        const uint32_t end = std::min(right, at(std::max({v[0].x, v[1].x, v[2].x, v[3].x}), x0));
        const uint32_t foot = std::min(bottom, at(std::max({v[0].y, v[1].y, v[2].y, v[3].y}), y0));
        for (uint32_t y = top; y < foot; ++y) {
            for (uint32_t x = left; x < end; ++x) {
                uint8_t* p = mPixels.data() + (size_t(y) * mWidth + x) * 4;
                p[0] = p[1] = p[2] = 235;
            }
        }
    }
}

bool ContactSheet::write(const std::string& path) const {
    return stbi_write_png(path.c_str(), int(mWidth), int(mHeight), 4, mPixels.data(),
                          int(mWidth) * 4) != 0;
}

}  // namespace vizhost
