// One picture of many: cells of equal size in a grid, each with a label strip under it, for
// looking at every mode side by side. Labels are drawn with a small built-in bitmap font.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vizhost {

class ContactSheet {
public:
    static constexpr uint32_t kLabelHeight = 24;
    static constexpr uint32_t kGap = 4;

    ContactSheet(uint32_t cellWidth, uint32_t cellHeight, uint32_t columns, uint32_t cells);

    // Copies a cellWidth x cellHeight RGBA picture (top row first) into cell `index` and writes
    // `label` under it. Alpha is made opaque.
    void place(uint32_t index, const uint8_t* rgba, const std::string& label);

    uint32_t width() const { return mWidth; }
    uint32_t height() const { return mHeight; }
    const std::vector<uint8_t>& pixels() const { return mPixels; }
    // Top-left corner of cell `index`.
    uint32_t cellX(uint32_t index) const;
    uint32_t cellY(uint32_t index) const;

    bool write(const std::string& path) const;

private:
    void drawText(uint32_t x, uint32_t y, uint32_t maxWidth, const std::string& text);

    uint32_t mCellWidth;
    uint32_t mCellHeight;
    uint32_t mColumns;
    uint32_t mWidth;
    uint32_t mHeight;
    std::vector<uint8_t> mPixels;
};

}  // namespace vizhost
