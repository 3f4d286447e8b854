// The small utilities: simplex noise, colour mixing, reshuffling, the uniform draw.
#include <gtest/gtest.h>

#include <cmath>

#include "visualization/types.h"
#include "visualization/util/color.h"
#include "visualization/util/noise.h"
#include "visualization/util/random.h"
#include "visualization/util/shuffle.h"

namespace {

// Against sample values of a reference evaluation done in double precision from the published
// algorithm (simplex found by ranking the cell coordinates, corners visited in a loop), spread
// over cells with negative and large coordinates.
TEST(Noise, AgreesWithTheReferenceEvaluation) {
    const float samples[][4] = {
        // x, y, z (NAN for the 2D noise), expected
        {-0.5f, 0.0f, NAN, -0.872617f},      {12.345f, -6.789f, NAN, 0.918184f},
        {250.25f, -199.5f, NAN, -0.449797f}, {-17.8f, -3.3f, NAN, -0.757834f},
        {-0.5f, 0.25f, -1.75f, 0.009389f},   {0.3f, 0.7f, 0.1f, 0.159371f},
        {-123.4f, 56.7f, 88.1f, -0.274658f}, {250.25f, -199.5f, -42.0f, -0.116463f},
    };
    for (const auto& [x, y, z, expected] : samples) {
        EXPECT_NEAR(std::isnan(z) ? math::noise(x, y) : math::noise(x, y, z), expected, 2e-4)
            << x << " " << y << " " << z;
    }
}

void expectColor(const colorf& c, float r, float g, float b, float a) {
    EXPECT_TRUE(std::abs(c.r - r) < 1e-6f && std::abs(c.g - g) < 1e-6f &&
                std::abs(c.b - b) < 1e-6f && std::abs(c.a - a) < 1e-6f)
        << c.r << " " << c.g << " " << c.b << " " << c.a;
}

// Parsing is pinned by the pictures, whose palettes are all written in hex.
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

// Long lists are the playlist test's.
TEST(Reshuffle, ThreeModesMustStartWithTheOnlyFreeValue) {
    std::mt19937 engine(42);
    const util::UniformInt distribution(0, 2);
    const auto mode = [](int i) { return static_cast<ContentMode>(i); };
    bool sawOrder012 = false;
    bool sawOrder021 = false;
    for (int round = 0; round < 200; ++round) {
        ContentMode data[3] = {mode(0), mode(1), mode(2)};
        util::reshuffle(data, 3, distribution, engine);
        ASSERT_EQ(data[0], mode(0));
        sawOrder012 |= data[1] == mode(1);
        sawOrder021 |= data[1] == mode(2);
    }
    EXPECT_TRUE(sawOrder012 && sawOrder021) << "the tail is random, not a fixed order";
}

// The playlists and palettes of the reference pictures were drawn by GCC's library; any other
// build (the web one's library draws otherwise) must draw the same from the same seed.
TEST(UniformInt, DrawsWhatGccsLibraryDraws) {
    for (const auto& [min, max] :
         {std::pair{0, 0}, {1, 31}, {0, 9}, {-5, 5}, {0, 1 << 30}, {INT32_MIN, INT32_MAX}}) {
        std::mt19937 ours(7000000000LL & 0xffffffff);
        std::mt19937 theirs(7000000000LL & 0xffffffff);
        const util::UniformInt own(min, max);
        std::uniform_int_distribution<int> standard(min, max);
        for (int i = 0; i < 2000; ++i) {
            ASSERT_EQ(own(ours), standard(theirs)) << "[" << min << ", " << max << "] draw " << i;
        }
    }
}

}  // namespace
