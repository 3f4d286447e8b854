#include "visualization/util/color.h"

#include <gtest/gtest.h>

namespace {

void expectColor(const colorf& c, float r, float g, float b, float a) {
    EXPECT_FLOAT_EQ(c.r, r);
    EXPECT_FLOAT_EQ(c.g, g);
    EXPECT_FLOAT_EQ(c.b, b);
    EXPECT_FLOAT_EQ(c.a, a);
}

}  // namespace

TEST(Color, ParsesSixAndEightDigitTextInEitherCase) {
    expectColor(colorf("ff0000"), 1, 0, 0, 1);
    expectColor(colorf("FF000080"), 1, 0, 0, 128 / 255.0f);
    expectColor(colorf("4285F4FF"), 0x42 / 255.0f, 0x85 / 255.0f, 0xF4 / 255.0f, 1);
    // The separate alpha is quantised like a byte channel, truncating: 0.5 becomes 127/255.
    expectColor(colorf("00FF00", 0.5f), 0, 1, 0, 127 / 255.0f);

    colorf c("123456");
    set_color(c, 255, 0, 51, 255);
    expectColor(c, 1, 0, 0.2f, 1);
}

TEST(Color, BytesTruncateSoHexTextRoundTrips) {
    EXPECT_EQ(color_to_hex(colorf(1, 0.5f, 0, 1)), "FF7F00");
    for (const char* text : {"01FE7F80", "ABCDEF00"}) {
        EXPECT_EQ(color_to_hex_rgba(colorf(text)), text);
    }
    EXPECT_EQ(color_to_hex(colorf("abcdef")), "ABCDEF");

    int r, g, b, a;
    color_to_bytes(colorf(0.999f, 1.2f, -0.5f, 0.0039f), r, g, b, a);
    // Truncated, not rounded, and not clamped.
    EXPECT_TRUE(r == 254 && g == 306 && b == -127 && a == 0) << r << " " << g << " " << b;
}

TEST(Color, MixClampsTheFactorAndMixesAlphaToo) {
    const colorf a(0.2f, 0.4f, 0.6f, 0.0f);
    const colorf b(1.0f, 0.0f, 0.2f, 1.0f);
    expectColor(mix_color(a, b, -3), 0.2f, 0.4f, 0.6f, 0);
    expectColor(mix_color(a, b, 7), 1, 0, 0.2f, 1);
    expectColor(mix_color(a, b, 0.25f), 0.4f, 0.3f, 0.5f, 0.25f);

    const std::vector<colorf> list0 = {a, b};
    const std::vector<colorf> list1 = {b, a};
    const std::vector<colorf> mixed = mix_color(list0, list1, 0.5f);
    ASSERT_EQ(mixed.size(), 2u);
    expectColor(mixed[1], 0.6f, 0.2f, 0.4f, 0.5f);
}

TEST(Color, SampleSpreadsTheListOverZeroToOne) {
    const std::vector<colorf> list = {colorf(0, 0, 0, 1), colorf(0.5f, 0.25f, 1, 1),
                                      colorf(1, 1, 0, 0)};
    expectColor(sample_color(list, 0.5f), 0.5f, 0.25f, 1, 1);  // exactly the middle entry
    expectColor(sample_color(list, 0.75f), 0.75f, 0.625f, 0.5f, 0.5f);
    expectColor(sample_color(list, 2.0f), 1, 1, 0, 0);
    expectColor(sample_color(list, -1.0f), 0, 0, 0, 1);

    const std::vector<colorf> single = {colorf(0.1f, 0.2f, 0.3f, 0.4f)};
    for (float t : {-5.0f, 0.3f, 9.0f}) {
        expectColor(sample_color(single, t), 0.1f, 0.2f, 0.3f, 0.4f);
    }
    expectColor(sample_color(list.data(), 2, 1.0f), 0.5f, 0.25f, 1, 1);
}

TEST(ColorDeathTest, BrokenTablesStopWithTheConditionNamed) {
    EXPECT_DEATH(colorf("FF00"),
                 "Assertion failed: length == 3 \\|\\| length == 4, file .*/util/color.cpp");
    EXPECT_DEATH(colorf("FFZZ00", 1.0f),
                 "Assertion failed: length == 3, .*set_color\\(colorf&, const char\\*, float\\)");
    EXPECT_DEATH(mix_color(std::vector<colorf>(2), std::vector<colorf>(3), 0.5f),
                 "Assertion failed: colors0.size\\(\\) == colors1.size\\(\\).*"
                 "std::vector<colorf> mix_color\\(const std::vector<colorf>&, const "
                 "std::vector<colorf>&, float\\)");
}
