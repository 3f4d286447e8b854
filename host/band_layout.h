// The bands a host sends, from a spectrum: logarithmically spaced from 40 Hz to 16 kHz (or 0.95 of
// the Nyquist frequency), each the sum of the powers of the bins it covers (the bin nearest its
// centre when it is narrower than a bin), in dB where a full-scale sine reads 0, within the
// library's -120..-10. vizhost's own analysis and the web page's, which starts from the browser's
// spectrum, both go through here, so that the library hears the same music alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vizhost {

class BandLayout {
public:
    static constexpr float kLevelMin = -120.0f;
    static constexpr float kLevelMax = -10.0f;
    static constexpr float kLowestFrequency = 40.0f;
    static constexpr float kHighestFrequency = 16000.0f;

    // For a transform of blockSize samples: blockSize / 2 + 1 bins.
    BandLayout(uint32_t bandCount, uint32_t sampleRate, uint32_t blockSize);

    uint32_t bandCount() const { return uint32_t(mFirstBin.size()); }

    // Band levels from the bins' powers, each times powerScale to make a full-scale sine's
    // powers sum to 1.
    void levels(const float* binPower, double powerScale, float* bands) const;
    // Magnitude-weighted mean frequency in Hz; 0 for silence.
    float centroid(const float* binPower, double powerScale) const;

    // RMS of samples in dB relative to full scale (a full-scale square wave is 0 dB), floored at
    // -120.
    static float loudness(const float* samples, size_t count);

private:
    uint32_t mBins;
    float mBinWidth;
    std::vector<float> mEdges;
    std::vector<uint32_t> mFirstBin;  // per band, bins [first, last)
    std::vector<uint32_t> mLastBin;
};

}  // namespace vizhost
