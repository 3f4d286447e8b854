#include <gtest/gtest.h>

#include "contact_sheet.h"
#include "gallery_options.h"

using namespace vizhost;

namespace {

struct Pixel {
    uint8_t r, g, b, a;
};

Pixel at(const ContactSheet& sheet, uint32_t x, uint32_t y) {
    const uint8_t* p = sheet.pixels().data() + (size_t(y) * sheet.width() + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

// Pixels of label text (light grey or white) in the rectangle from (x0, y0) to (x1, y1).
uint32_t litIn(const ContactSheet& sheet, uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1) {
    uint32_t lit = 0;
    for (uint32_t y = y0; y < y1; ++y) {
        for (uint32_t x = x0; x < x1; ++x) {
            lit += at(sheet, x, y).r > 200 && at(sheet, x, y).g > 200 ? 1 : 0;
        }
    }
    return lit;
}

TEST(ContactSheet, PlacesEachPictureInItsCellWithItsLabelUnderneath) {
    const uint32_t w = 64;
    const uint32_t h = 36;
    const uint32_t label = ContactSheet::kLabelHeight;
    ContactSheet sheet(w, h, 3, 5);  // two rows, the second half full
    std::vector<uint8_t> picture(w * h * 4);
    for (uint32_t i = 0; i < 5; ++i) {
        for (size_t p = 0; p < picture.size(); p += 4) {
            picture[p] = uint8_t(50 * i);
            picture[p + 1] = 200;
            picture[p + 2] = 7;
            picture[p + 3] = 0;  // transparent pixels come out opaque
        }
        sheet.place(i, picture.data(), i == 4 ? "RING" : "");
    }
    EXPECT_EQ(sheet.cellX(4), sheet.cellX(1));
    EXPECT_EQ(sheet.cellY(4), sheet.cellY(1) + h + label + ContactSheet::kGap);
    for (uint32_t i = 0; i < 5; ++i) {
        const Pixel first = at(sheet, sheet.cellX(i), sheet.cellY(i));
        const Pixel last = at(sheet, sheet.cellX(i) + w - 1, sheet.cellY(i) + h - 1);
        EXPECT_TRUE(first.r == 50 * i && first.g == 200 && first.a == 255 && last.r == 50 * i) << i;
        // Just outside the cell: background.
        EXPECT_NE(at(sheet, sheet.cellX(i) + w, sheet.cellY(i)).g, 200);
    }
    // The label is lit text inside the strip under its own cell, and nowhere else.
    const uint32_t strip = sheet.cellY(4) + h;
    EXPECT_GT(litIn(sheet, sheet.cellX(4), strip, sheet.cellX(4) + w, strip + label), 40u);
    EXPECT_EQ(litIn(sheet, sheet.cellX(3), strip, sheet.cellX(3) + w, strip + label), 0u);
    // The empty sixth cell stays background.
    EXPECT_EQ(at(sheet, sheet.cellX(5) + 10, sheet.cellY(5) + 10).g, at(sheet, 0, 0).g);

    // A long label shrinks to its cell: nothing spills into the neighbour's strip, and the end
    // of the name is still drawn in the last quarter of its own.
    ContactSheet wide(200, 40, 2, 2);
    wide.place(0, std::vector<uint8_t>(200 * 40 * 4, 0).data(),
               "CONTENT_2021_KALEIDOSCOPE_VERSION_0_REPEAT_3");
    const uint32_t wideStrip = wide.cellY(0) + 40;
    EXPECT_EQ(
        litIn(wide, wide.cellX(1) - ContactSheet::kGap, wideStrip, wide.width(), wideStrip + label),
        0u);
    EXPECT_GT(litIn(wide, wide.cellX(0) + 150, wideStrip, wide.cellX(0) + 200, wideStrip + label),
              10u);
}

// The gallery program's own test runs a good command line and refuses an unknown mode; names go
// in any case, once each.
TEST(GalleryOptions, ModesByNameInAnyCaseOnceAndBadValuesRefused) {
    GalleryOptions options;
    std::string error;
    ASSERT_TRUE(parseGalleryOptions({"content_2021_ring_version_3,CONTENT_2021_RING_VERSION_3"},
                                    options, error));
    EXPECT_EQ(options.modes, std::vector<ContentMode>{ContentMode::CONTENT_2021_RING_VERSION_3});
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"--cell", "10x10"},
                                               {"--seconds"},
                                               {"--display-mode", "dim"},
                                               {"--analyzer=full"},
                                               {"--width", "3"}}) {
        error.clear();
        EXPECT_FALSE(parseGalleryOptions(bad, options, error)) << bad.front();
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
