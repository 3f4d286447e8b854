#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "band_analyzer.h"

using vizhost::BandAnalyzer;

namespace {

std::vector<float> sine(float frequency, float amplitude, uint32_t rate, size_t length) {
    std::vector<float> s(length);
    for (size_t i = 0; i < length; ++i) {
        s[i] = amplitude * std::sin(2.0f * 3.14159265f * frequency * float(i) / float(rate));
    }
    return s;
}

}  // namespace

// Sixteen bands spaced logarithmically from 40 Hz to 16 kHz: 250 Hz lies in band 4, 1 kHz in
// band 8, 3 kHz in band 11 and 4 kHz in band 12.
TEST(BandAnalyzer, SineLandsInItsBandAtItsLevel) {
    const uint32_t rate = 48000;
    // Frequencies in the middle of wide enough bands that the window's main lobe stays inside.
    BandAnalyzer analyzer(16, rate);
    for (const auto& [frequency, band] : {std::pair{250.0f, 4u}, {4000.0f, 12u}}) {
        for (float amplitude : {0.1f, 0.01f}) {
            const std::vector<float> signal = sine(frequency, amplitude, rate, rate);
            analyzer.analyze(signal.data(), signal.size(), rate / 2);
            const float expected = 20.0f * std::log10(amplitude);
            EXPECT_NEAR(analyzer.bands()[band], expected, 0.5f)
                << frequency << " Hz, amplitude " << amplitude;
            for (uint32_t i = 0; i < analyzer.bandCount(); ++i) {
                if (i + 1 < band || i > band + 1) {
                    EXPECT_LT(analyzer.bands()[i], expected - 40.0f)
                        << "band " << i << " for " << frequency << " Hz";
                }
            }
            // A sine's RMS is its amplitude over the square root of two.
            EXPECT_NEAR(analyzer.loudness(), expected - 3.01f, 0.2f);
            EXPECT_NEAR(analyzer.centroid(), frequency, frequency * 0.1f);
        }
    }
}

TEST(BandAnalyzer, SilenceAndClippingStayInsideTheLibrarysRange) {
    const uint32_t rate = 44100;
    BandAnalyzer analyzer(16, rate);
    const std::vector<float> silence(rate, 0.0f);
    analyzer.analyze(silence.data(), silence.size(), rate / 2);
    EXPECT_EQ(analyzer.bands(), std::vector<float>(16, -120.0f));
    EXPECT_EQ(analyzer.loudness(), -120.0f);
    EXPECT_EQ(analyzer.centroid(), 0.0f);

    // A block before the music starts reads silence, not memory before the buffer.
    const std::vector<float> loud = sine(1000.0f, 1.0f, rate, rate);
    analyzer.analyze(loud.data(), loud.size(), 0);
    EXPECT_EQ(analyzer.bands(), std::vector<float>(16, -120.0f));

    // A hard-clipped full-scale square: everything loud is limited to -10 dB.
    std::vector<float> square(rate);
    for (size_t i = 0; i < square.size(); ++i) {
        square[i] = loud[i] >= 0.0f ? 1.0f : -1.0f;
    }
    analyzer.analyze(square.data(), square.size(), rate / 2);
    EXPECT_EQ(*std::max_element(analyzer.bands().begin(), analyzer.bands().end()), -10.0f);
    EXPECT_EQ(analyzer.bands()[8], -10.0f);   // 1 kHz
    EXPECT_EQ(analyzer.bands()[11], -10.0f);  // the third harmonic
    EXPECT_NEAR(analyzer.loudness(), 0.0f, 0.01f);
}

TEST(BandAnalyzer, AtEveryBandCountAndRateEveryBandHearsNoise) {
    for (uint32_t rate : {8000u, 96000u}) {
        for (uint32_t bands : {1u, 256u}) {
            BandAnalyzer analyzer(bands, rate);
            ASSERT_EQ(analyzer.bandCount(), bands);
            // Every band covers a bin, even one narrower than a bin: it follows the signal
            // rather than staying silent.
            std::vector<float> noise(rate);
            uint32_t state = 1;
            for (float& v : noise) {
                state = state * 1664525u + 1013904223u;
                v = float(state >> 8) / float(1u << 24) - 0.5f;
            }
            analyzer.analyze(noise.data(), noise.size(), rate / 2);
            for (float b : analyzer.bands()) {
                EXPECT_GT(b, -80.0f) << rate << " Hz, " << bands << " bands";
            }
        }
    }
    // At a low rate the bands end below the Nyquist frequency: a tone near it is the top band's.
    BandAnalyzer low(16, 8000);
    const std::vector<float> tone = sine(3500.0f, 0.1f, 8000, 8000);
    low.analyze(tone.data(), tone.size(), 4000);
    EXPECT_EQ(std::max_element(low.bands().begin(), low.bands().end()) - low.bands().begin(), 15);
}
