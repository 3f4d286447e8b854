#include "visualization/util/color.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void expectColor(const colorf& c, float r, float g, float b, float a) {
    EXPECT_TRUE(std::abs(c.r - r) < 1e-6f && std::abs(c.g - g) < 1e-6f &&
                std::abs(c.b - b) < 1e-6f && std::abs(c.a - a) < 1e-6f)
        << c.r << " " << c.g << " " << c.b << " " << c.a;
}

TEST(Color, MixClampsTheFactorAndSampleSpreadsTheListOverZeroToOne) {
    const colorf a(0.2f, 0.4f, 0.6f, 0.0f);
    const colorf b(1.0f, 0.0f, 0.2f, 1.0f);
    expectColor(mix_color(a, b, -3), 0.2f, 0.4f, 0.6f, 0);
    expectColor(mix_color(a, b, 7), 1, 0, 0.2f, 1);
    expectColor(mix_color(a, b, 0.25f), 0.4f, 0.3f, 0.5f, 0.25f);
    const std::vector<colorf> mixed = mix_color({a, b}, {b, a}, 0.5f);
    ASSERT_EQ(mixed.size(), 2u);
    expectColor(mixed[1], 0.6f, 0.2f, 0.4f, 0.5f);

    const std::vector<colorf> list = {colorf(0, 0, 0, 1), colorf(0.5f, 0.25f, 1, 1),
                                      colorf(1, 1, 0, 0)};
    expectColor(sample_color(list, 0.5f), 0.5f, 0.25f, 1, 1);  // exactly the middle entry
    expectColor(sample_color(list, 0.75f), 0.75f, 0.625f, 0.5f, 0.5f);
    expectColor(sample_color(list, 2.0f), 1, 1, 0, 0);
    expectColor(sample_color(list, -1.0f), 0, 0, 0, 1);
    expectColor(sample_color(list.data(), 2, 1.0f), 0.5f, 0.25f, 1, 1);
    for (float t : {-5.0f, 0.3f, 9.0f}) {
        expectColor(sample_color({colorf(0.1f, 0.2f, 0.3f, 0.4f)}, t), 0.1f, 0.2f, 0.3f, 0.4f);
    }
}

}  // namespace
